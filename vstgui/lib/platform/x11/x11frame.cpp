#include "x11frame.h"
#include "../../cairo/cairobitmap.h"
#include "../../cairo/fontresolver.h"
#include "../../cbitmap.h"
#include "x11errortrap.h"
#include "x11putimage.h"
#include "x11windowsystem.h"
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <cstdlib>
#include <vector>

namespace VSTGUI {

SharedPointer<X11Frame> X11Frame::create (IPlatformFrameCallback* frame, const CRect& size, Window parent)
{
	if (!frame || parent == 0)
		return nullptr;
	Display* display = XOpenDisplay (nullptr);
	if (!display)
		return nullptr;
	X11ErrorScope scope (display);
	Window window = 0;
	bool failed = false;
	{
		X11ErrorTrap trap (display);
		XWindowAttributes parentAttributes;
		if (!XGetWindowAttributes (display, parent, &parentAttributes) || trap.failed ())
			failed = true;
		else
		{
			XSetWindowAttributes attributes {};
			attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
			                        EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
			                        StructureNotifyMask;
			attributes.background_pixel = BlackPixel (display, DefaultScreen (display));
			window = XCreateWindow (display, parent, 0, 0,
			                        static_cast<unsigned> (std::max (1., size.getWidth ())),
			                        static_cast<unsigned> (std::max (1., size.getHeight ())), 0, CopyFromParent,
			                        InputOutput, CopyFromParent, CWEventMask | CWBackPixel, &attributes);
			failed = trap.failed () || window == 0;
		}
	}
	if (failed)
	{
		XCloseDisplay (display);
		return nullptr;
	}
	XMapWindow (display, window);
	XFlush (display);
	installX11WindowSystem ();
	return owned (new X11Frame (frame, display, window, size));
}

X11Frame::X11Frame (IPlatformFrameCallback* f, Display* d, Window w, const CRect& size)
: frame (f),
  display (d),
  window (w),
  width (static_cast<int> (size.getWidth ())),
  height (static_cast<int> (size.getHeight ()))
{
	// Made only by create, inside its error scope.
	XWindowAttributes attributes;
	XGetWindowAttributes (display, window, &attributes);
	visual = attributes.visual;
	depth = attributes.depth;
	gc = XCreateGC (display, window, 0, nullptr);
}

X11Frame::~X11Frame () noexcept
{
	detach ();
}

void X11Frame::detach ()
{
	frame = nullptr;
	if (display)
	{
		X11ErrorScope scope (display); // the host's window, and this one with it, may be gone
		XFreeGC (display, gc);
		XDestroyWindow (display, window);
		XCloseDisplay (display);
		display = nullptr;
		window = 0;
	}
}

void* X11Frame::getPlatformRepresentation () const
{
	return reinterpret_cast<void*> (window);
}

bool X11Frame::setSize (const CRect& newSize)
{
	if (!display)
		return false;
	width = static_cast<int> (newSize.getWidth ());
	height = static_cast<int> (newSize.getHeight ());
	X11ErrorScope scope (display);
	XResizeWindow (display, window, static_cast<unsigned> (std::max (1, width)),
	               static_cast<unsigned> (std::max (1, height)));
	XFlush (display);
	return true;
}

bool X11Frame::queryPointer (CPoint& where, unsigned int& state) const
{
	if (!display)
		return false;
	X11ErrorScope scope (display);
	Window root, child;
	int rootX, rootY, x, y;
	if (!XQueryPointer (display, window, &root, &child, &rootX, &rootY, &x, &y, &state))
		return false;
	where = CPoint (x, y);
	return true;
}

bool X11Frame::getCurrentMousePosition (CPoint& where) const
{
	unsigned int state;
	return queryPointer (where, state);
}

bool X11Frame::getCurrentMouseButtons (CButtonState& buttons) const
{
	CPoint where;
	unsigned int state;
	if (!queryPointer (where, state))
		return false;
	buttons = buttonsFromState (state);
	return true;
}

void X11Frame::present (const CRect& rect)
{
	if (!display || !frame)
		return;
	X11ErrorScope scope (display);
	CBitmap* backBuffer = frame->platformGetBackBuffer ();
	cairo_surface_t* picture = getCairoSurface (backBuffer);
	if (!picture)
		return;
	x11PutImage (display, window, gc, visual, depth, picture, rect);
	XFlush (display);
}

CButtonState X11Frame::buttonsFromState (unsigned int state)
{
	int32_t b = 0;
	if (state & Button1Mask)
		b |= kLButton;
	if (state & Button2Mask)
		b |= kMButton;
	if (state & Button3Mask)
		b |= kRButton;
	if (state & ShiftMask)
		b |= kShift;
	if (state & ControlMask)
		b |= kControl;
	if (state & Mod1Mask)
		b |= kAlt;
	return CButtonState (b);
}

namespace {

int32_t buttonBit (unsigned int button)
{
	switch (button)
	{
		case Button1: return kLButton;
		case Button2: return kMButton;
		case Button3: return kRButton;
		case 8: return kButton4;
		case 9: return kButton5;
		default: return 0;
	}
}

unsigned char virtualKey (KeySym sym)
{
	switch (sym)
	{
		case XK_BackSpace: return VKEY_BACK;
		case XK_Tab: return VKEY_TAB;
		case XK_Return: return VKEY_RETURN;
		case XK_KP_Enter: return VKEY_ENTER;
		case XK_Escape: return VKEY_ESCAPE;
		case XK_space: return VKEY_SPACE;
		case XK_End: return VKEY_END;
		case XK_Home: return VKEY_HOME;
		case XK_Left: return VKEY_LEFT;
		case XK_Up: return VKEY_UP;
		case XK_Right: return VKEY_RIGHT;
		case XK_Down: return VKEY_DOWN;
		case XK_Page_Up: return VKEY_PAGEUP;
		case XK_Page_Down: return VKEY_PAGEDOWN;
		case XK_Insert: return VKEY_INSERT;
		case XK_Delete: return VKEY_DELETE;
		default: return 0;
	}
}

} // namespace

void X11Frame::pumpEvents ()
{
	// The frame may let go of this back end from inside a handler: keep it alive and stop.
	SharedPointer<X11Frame> guard (this);
	if (!display)
		return;
	X11ErrorScope scope (display);
	while (display && frame && XPending (display))
	{
		XEvent event;
		XNextEvent (display, &event);
		handleEvent (event);
	}
}

void X11Frame::handleEvent (XEvent& event)
{
	switch (event.type)
	{
		case Expose:
		{
			const XExposeEvent& e = event.xexpose;
			present (CRect (e.x, e.y, e.x + e.width, e.y + e.height));
			break;
		}
		case ButtonPress:
		{
			const XButtonEvent& e = event.xbutton;
			CPoint where (e.x, e.y);
			CButtonState modifiers (buttonsFromState (e.state).getModifierState ());
			if (e.button >= 4 && e.button <= 7)
			{
				// Buttons 4 and 5 are the wheel (up, down), 6 and 7 the sideways wheel.
				CMouseWheelAxis axis = e.button <= 5 ? kMouseWheelAxisY : kMouseWheelAxisX;
				float distance = (e.button == 4 || e.button == 6) ? 1.f : -1.f;
				frame->platformOnMouseWheel (where, axis, distance, modifiers);
				break;
			}
			int32_t bit = buttonBit (e.button);
			if (!bit)
				break;
			CButtonState buttons (bit | modifiers ());
			bool again = e.button == lastPressButton && e.time - lastPressTime <= kDoubleClickTime &&
			             std::abs (e.x - lastPressX) <= 4 && std::abs (e.y - lastPressY) <= 4;
			if (again)
			{
				buttons |= kDoubleClick;
				lastPressButton = 0; // a third click starts afresh
			}
			else
			{
				lastPressButton = e.button;
				lastPressTime = e.time;
				lastPressX = e.x;
				lastPressY = e.y;
			}
			frame->platformOnMouseDown (where, buttons);
			break;
		}
		case ButtonRelease:
		{
			const XButtonEvent& e = event.xbutton;
			int32_t bit = buttonBit (e.button);
			if (!bit)
				break;
			CPoint where (e.x, e.y);
			CButtonState buttons (bit | buttonsFromState (e.state).getModifierState ());
			frame->platformOnMouseUp (where, buttons);
			break;
		}
		case MotionNotify:
		{
			// Only the newest of several moves queued one after another matters.
			XEvent next;
			while (XPending (display) && (XPeekEvent (display, &next), next.type == MotionNotify) &&
			       next.xmotion.window == window)
				XNextEvent (display, &event);
			const XMotionEvent& e = event.xmotion;
			CPoint where (e.x, e.y);
			frame->platformOnMouseMoved (where, buttonsFromState (e.state));
			break;
		}
		case EnterNotify:
		{
			const XCrossingEvent& e = event.xcrossing;
			CPoint where (e.x, e.y);
			frame->platformOnMouseMoved (where, buttonsFromState (e.state));
			break;
		}
		case LeaveNotify:
		{
			const XCrossingEvent& e = event.xcrossing;
			CPoint where (e.x, e.y);
			frame->platformOnMouseExited (where, buttonsFromState (e.state));
			break;
		}
		case KeyPress:
		case KeyRelease:
		{
			char text[8] = {};
			KeySym sym = 0;
			XLookupString (&event.xkey, text, sizeof (text) - 1, &sym, nullptr);
			VstKeyCode key {};
			key.virt = virtualKey (sym);
			// A key that types a printable character gives it beside its virtual key (the
			// space bar: VKEY_SPACE and ' '), so that a text field can take it.
			if (text[0] >= 32 && static_cast<unsigned char> (text[0]) < 127)
				key.character = text[0];
			if (event.xkey.state & ShiftMask)
				key.modifier |= MODIFIER_SHIFT;
			if (event.xkey.state & ControlMask)
				key.modifier |= MODIFIER_CONTROL;
			if (event.xkey.state & Mod1Mask)
				key.modifier |= MODIFIER_ALTERNATE;
			if (event.type == KeyPress)
				frame->platformOnKeyDown (key);
			else
				frame->platformOnKeyUp (key);
			break;
		}
		default: break;
	}
}

} // namespace VSTGUI
