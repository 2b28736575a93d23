// Menus of headless frames: no window; the choice comes from a script that tests set. UI thread.
#pragma once

#include "../iplatformoptionmenu.h"
#include <functional>

namespace VSTGUI {

class HeadlessOptionMenu : public IPlatformOptionMenu
{
public:
	/** Answers the popped-up (root) menu with a choice; {nullptr, -1} cancels. */
	using Script = std::function<PlatformOptionMenuResult (COptionMenu* root)>;

	/** Sets the script of every later headless popup (null: every popup is cancelled). */
	static void setScript (Script script);

	PlatformOptionMenuResult popup (COptionMenu* optionMenu) override;
};

} // namespace VSTGUI
