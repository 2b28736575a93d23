// The X11 back end of a frame: a child window of the host's parent window showing the
// frame's picture; its events are handled from the frame's idle (no thread of its own).
#pragma once

#include "../iplatformframe.h"
#include <X11/Xlib.h>

namespace VSTGUI {

class X11Frame : public IPlatformFrame
{
public:
	/** A window inside parent (an X11 window id); null without a display or with a
	    parent that does not exist. UI thread. */
	static SharedPointer<X11Frame> create (IPlatformFrameCallback* frame, const CRect& size, Window parent);
	~X11Frame () noexcept override;

	bool setSize (const CRect& newSize) override;
	bool getCurrentMousePosition (CPoint& mousePosition) const override;
	bool getCurrentMouseButtons (CButtonState& buttons) const override;
	void present (const CRect& rect) override;
	void pumpEvents () override;
	void* getPlatformRepresentation () const override;
	PlatformType getPlatformType () const override { return PlatformType::kX11EmbedWindowID; }
	void detach () override;

	Display* getDisplay () const { return display; }
	Window getWindow () const { return window; }

	/** Buttons and modifiers of an X event state. */
	static CButtonState buttonsFromState (unsigned int state);

private:
	X11Frame (IPlatformFrameCallback* frame, Display* display, Window window, const CRect& size);
	void handleEvent (XEvent& event);
	/** The pointer in window coordinates and the X button/modifier state; false without
	    a display or when the pointer is on another screen. UI thread. */
	bool queryPointer (CPoint& where, unsigned int& state) const;

	IPlatformFrameCallback* frame;
	Display* display;
	Window window;
	Visual* visual {nullptr};
	int depth {0};
	GC gc {nullptr};
	int width;
	int height;
	// Double clicks: the same button again within kDoubleClickTime ms and 4 pixels.
	static constexpr Time kDoubleClickTime = 400;
	Time lastPressTime {0};
	unsigned int lastPressButton {0};
	int lastPressX {-100};
	int lastPressY {-100};
};

} // namespace VSTGUI
