// The platform side of a popped-up option menu.
#pragma once

#include "../vstguifwd.h"

namespace VSTGUI {

class COptionMenu;

/** The (sub)menu chosen from and the entry's index in it; menu null when cancelled. */
struct PlatformOptionMenuResult
{
	COptionMenu* menu {nullptr};
	int32_t index {-1};
};

class IPlatformOptionMenu : public ReferenceCounted
{
public:
	/** Shows the menu (with its submenus) and returns when it closes. UI thread. */
	virtual PlatformOptionMenuResult popup (COptionMenu* optionMenu) = 0;
};

/** The menu back end for a frame: the one place where it is chosen. */
SharedPointer<IPlatformOptionMenu> createPlatformOptionMenu (CFrame* frame);

} // namespace VSTGUI
