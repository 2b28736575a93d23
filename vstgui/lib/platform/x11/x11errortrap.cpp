#include "x11errortrap.h"

namespace VSTGUI {

namespace {

// Errors arrive through a process-wide handler; the trap's scope is on the one UI thread.
int errorCount = 0;

int countError (Display*, XErrorEvent*)
{
	++errorCount;
	return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap (Display* d) : display (d)
{
	XSync (display, False);
	errorCount = 0;
	previous = XSetErrorHandler (countError);
}

X11ErrorTrap::~X11ErrorTrap ()
{
	XSync (display, False);
	XSetErrorHandler (previous);
}

bool X11ErrorTrap::failed ()
{
	XSync (display, False);
	return errorCount != 0;
}

} // namespace VSTGUI
