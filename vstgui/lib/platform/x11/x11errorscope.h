// Keeps the X errors of the library's own connections away from the process's error
// handler: Xlib's default one ends the process, and a host's own one expects only its
// own errors.
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI {

class X11ErrorScope
{
public:
	/** While it lives, an error of display (or of a display of a scope it is within) is
	    counted and goes no further; an error of any other connection, the host's, goes to
	    the handler that was installed before. Makes no request of the server, so it costs
	    nothing measurable: every call of the library on its own connections is made inside
	    one, since an error is handled at whichever later call reads it. UI thread. */
	explicit X11ErrorScope (Display* display);
	/** The handler installed before the outermost scope is back. UI thread. */
	~X11ErrorScope ();

	/** How many errors of the library's own connections were dropped so far. Any thread. */
	static unsigned errorCount ();

	X11ErrorScope (const X11ErrorScope&) = delete;
	X11ErrorScope& operator= (const X11ErrorScope&) = delete;

private:
	int slot {-1};
};

} // namespace VSTGUI
