// Option menus of X11 frames: pop-up windows drawn by the library, with their own event
// loop (on a connection of their own) that runs until a choice or a cancel.
#pragma once

#include "../iplatformoptionmenu.h"

namespace VSTGUI {

class X11Frame;

class X11OptionMenu : public IPlatformOptionMenu
{
public:
	explicit X11OptionMenu (X11Frame* frame) : frame (frame) {}

	/** Shows the menu below the control (submenus open beside their entry when pointed
	    at); a click on an entry chooses it, a click elsewhere or Escape cancels. The
	    editor's idle does not run meanwhile. UI thread. */
	PlatformOptionMenuResult popup (COptionMenu* optionMenu) override;

private:
	X11Frame* frame;
};

} // namespace VSTGUI
