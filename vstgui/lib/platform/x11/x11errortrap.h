// Tells whether the requests made inside its scope failed, instead of ending the process.
#pragma once

#include "x11errorscope.h"

namespace VSTGUI {

class X11ErrorTrap
{
public:
	/** Starts watching the errors of display's requests (waits for the server's answers
	    to the requests before). UI thread. */
	explicit X11ErrorTrap (Display* display);
	/** Waits for the answers to the requests made inside, then stops watching. */
	~X11ErrorTrap ();
	/** True when a request made since the start failed (waits for the server's answers). */
	bool failed ();

	X11ErrorTrap (const X11ErrorTrap&) = delete;
	X11ErrorTrap& operator= (const X11ErrorTrap&) = delete;

private:
	X11ErrorScope scope; // first: it outlives the last wait
	Display* display;
	unsigned errorsBefore {0};
};

} // namespace VSTGUI
