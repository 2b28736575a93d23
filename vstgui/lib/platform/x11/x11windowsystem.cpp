#include "x11windowsystem.h"
#include "platform/WindowSystem.h"
#include "x11errortrap.h"
#include <X11/Xlib.h>

namespace VSTGUI {

namespace {

/** Works on X window ids through a connection of its own, opened on first use. */
class X11WindowSystem : public WindowSystem
{
public:
	~X11WindowSystem () override
	{
		if (display)
		{
			X11ErrorScope scope (display);
			XCloseDisplay (display);
		}
	}

	BOOL getWindowRect (HWND hwnd, RECT* rect) override
	{
		if (!rect || !hwnd || !open ())
			return FALSE;
		auto window = static_cast<Window> (reinterpret_cast<uintptr_t> (hwnd));
		X11ErrorTrap trap (display);
		XWindowAttributes attributes;
		Window child;
		int x = 0, y = 0;
		if (!XGetWindowAttributes (display, window, &attributes) ||
		    !XTranslateCoordinates (display, window, attributes.root, 0, 0, &x, &y, &child) || trap.failed ())
			return FALSE;
		rect->left = x;
		rect->top = y;
		rect->right = x + attributes.width;
		rect->bottom = y + attributes.height;
		return TRUE;
	}

	BOOL setWindowPos (HWND hwnd, HWND, int x, int y, int width, int height, UINT flags) override
	{
		if (!hwnd || !open ())
			return FALSE;
		auto window = static_cast<Window> (reinterpret_cast<uintptr_t> (hwnd));
		X11ErrorTrap trap (display);
		if (!(flags & SWP_NOSIZE) && width > 0 && height > 0)
			XResizeWindow (display, window, static_cast<unsigned> (width), static_cast<unsigned> (height));
		if (!(flags & SWP_NOMOVE))
			XMoveWindow (display, window, x, y);
		if (!(flags & SWP_NOZORDER))
			XRaiseWindow (display, window);
		return trap.failed () ? FALSE : TRUE;
	}

private:
	bool open ()
	{
		if (!display)
			display = XOpenDisplay (nullptr);
		return display != nullptr;
	}

	Display* display {nullptr};
};

} // namespace

void installX11WindowSystem ()
{
	static X11WindowSystem instance;
	if (!windowSystem ())
		setWindowSystem (&instance);
}

} // namespace VSTGUI
