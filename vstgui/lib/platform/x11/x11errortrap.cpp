#include "x11errortrap.h"

namespace VSTGUI {

X11ErrorTrap::X11ErrorTrap (Display* d) : scope (d), display (d)
{
	XSync (display, False);
	errorsBefore = X11ErrorScope::errorCount ();
}

X11ErrorTrap::~X11ErrorTrap ()
{
	XSync (display, False);
}

bool X11ErrorTrap::failed ()
{
	XSync (display, False);
	return X11ErrorScope::errorCount () != errorsBefore;
}

} // namespace VSTGUI
