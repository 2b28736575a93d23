// The window side of a frame: a back end shows the frame's picture and feeds it events.
#pragma once

#include "../cbuttonstate.h"
#include "../crect.h"
#include "../vstguifwd.h"
#include "../vstkeycode.h"

namespace VSTGUI {

/** What a back end calls on its frame (the frame implements it). UI thread. */
class IPlatformFrameCallback
{
public:
	virtual ~IPlatformFrameCallback () noexcept = default;

	virtual CMouseEventResult platformOnMouseDown (CPoint& where, const CButtonState& buttons) = 0;
	virtual CMouseEventResult platformOnMouseMoved (CPoint& where, const CButtonState& buttons) = 0;
	virtual CMouseEventResult platformOnMouseUp (CPoint& where, const CButtonState& buttons) = 0;
	virtual CMouseEventResult platformOnMouseExited (CPoint& where, const CButtonState& buttons) = 0;
	virtual bool platformOnMouseWheel (const CPoint& where, const CMouseWheelAxis& axis,
	                                   const float& distance, const CButtonState& buttons) = 0;
	virtual bool platformOnKeyDown (VstKeyCode& keyCode) = 0;
	virtual bool platformOnKeyUp (VstKeyCode& keyCode) = 0;
	/** The window needs rect shown again (for example after an expose). */
	virtual void platformInvalidRect (const CRect& rect) = 0;
	/** The picture of the whole frame (what the back end shows), never null while open. */
	virtual CBitmap* platformGetBackBuffer () const = 0;
};

/** A back end of a frame (headless image, X11 child window ...). UI thread. */
class IPlatformFrame : public ReferenceCounted
{
public:
	/** The window takes the new size. */
	virtual bool setSize (const CRect& newSize) = 0;
	/** Pointer position in frame coordinates; false when the back end cannot tell. */
	virtual bool getCurrentMousePosition (CPoint& mousePosition) const = 0;
	/** Buttons and modifiers held now; false when the back end cannot tell. */
	virtual bool getCurrentMouseButtons (CButtonState& buttons) const = 0;
	/** The back buffer's rect was repainted and may be shown. */
	virtual void present (const CRect& rect) = 0;
	/** Handles every pending window event (calling the frame's platformOn... entries). */
	virtual void pumpEvents () = 0;
	/** The native handle (an X11 window id), null when headless. */
	virtual void* getPlatformRepresentation () const = 0;
	virtual PlatformType getPlatformType () const = 0;
	/** The frame lets go of its back end: no more calls to it; the window goes. */
	virtual void detach () {}
};

/** Makes the back end for a frame: the one place where a back end is chosen.
    Headless for PlatformType::kHeadless or a null parent; null when none can open. */
SharedPointer<IPlatformFrame> createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size,
                                                   void* parent, PlatformType platformType,
                                                   IPlatformFrameConfig* config);

} // namespace VSTGUI
