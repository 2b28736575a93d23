// Catches X errors for the calls made inside its scope instead of ending the process.
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI {

class X11ErrorTrap
{
public:
	/** Starts trapping the errors of display's requests. UI thread. */
	explicit X11ErrorTrap (Display* display);
	/** Stops trapping (the previous handler is back). */
	~X11ErrorTrap ();
	/** True when a request made since the start failed (waits for the server's answers). */
	bool failed ();

	X11ErrorTrap (const X11ErrorTrap&) = delete;
	X11ErrorTrap& operator= (const X11ErrorTrap&) = delete;

private:
	Display* display;
	int (*previous) (Display*, XErrorEvent*);
};

} // namespace VSTGUI
