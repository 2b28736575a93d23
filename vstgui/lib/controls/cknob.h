// CKnobBase, CKnob and CAnimKnob: controls turned by dragging the mouse or the wheel.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

//------------------------------------------------------------------------
/** Mouse and wheel handling shared by the knobs. UI thread. */
class CKnobBase : public CControl
{
public:
	/** A knob over size telling listener (may be null) under tag, drawn from background. */
	CKnobBase (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background);
	CKnobBase (const CKnobBase& knob);

	/** Left button alone starts a drag (Handled); Control alone or a double click resets
	    to the default (3); anything else answers NotHandled. */
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	/** Ends the drag. */
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	/** Moves the value while dragging (linear: 200 pixels for the whole range). */
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	/** The drag was taken away: back to the value it started from, gesture ended. */
	CMouseEventResult onMouseCancel () override;
	/** Adds wheelInc x distance (a tenth of it with Shift) and notifies. */
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;

	/** Pixels of linear drag for the whole range (200). */
	void setZoomFactor (float f) { zoomFactor = f; }
	float getZoomFactor () const { return zoomFactor; }
	/** Angles of the circular mode, radians; 0 points right, positive angles go up. */
	virtual void setStartAngle (float val) { startAngle = val; }
	float getStartAngle () const { return startAngle; }
	/** The sweep from the start angle to the maximum, radians (negative: clockwise). */
	virtual void setRangeAngle (float val) { rangeAngle = val; }
	float getRangeAngle () const { return rangeAngle; }

	/** Value for a point in circular mode (angle around the centre); the current value when the
	    start angle or the point is not finite. UI thread. */
	float valueFromPoint (const CPoint& point) const;

protected:
	struct MouseState
	{
		CPoint firstPoint;
		CPoint lastPoint;
		float entryValue {0.f};
		float startValue {0.f};
		float range {0.f};
		float coef {0.f};
		int32_t oldButton {0};
		int32_t mode {kLinearMode};
		bool active {false};
	};

	/** Notes where and how a drag starts: mode (the frame's knob mode, Alt swaps it), value
	    and value step per pixel. */
	void startDrag (const CPoint& where, const CButtonState& buttons);
	/** Sets the value and tells the listener when it changed. */
	void applyValue (float v);

	float zoomFactor {200.f}; // pixels of linear drag for the whole range
	// Circular mode: the minimum sits at 225 degrees (lower left) and the range sweeps
	// 270 degrees clockwise to the lower right.
	float startAngle {static_cast<float> (5. * 3.14159265358979 / 4.)};
	float rangeAngle {static_cast<float> (-3. * 3.14159265358979 / 2.)};
	MouseState mouseState;
};

//------------------------------------------------------------------------
/** A knob drawn from a background and an optional handle picture. */
class CKnob : public CKnobBase
{
public:
	enum DrawStyle
	{
		kLegacyHandleLineDrawing = 0,
		kHandleCircleDrawing = 1 << 0,
		kCoronaDrawing = 1 << 1
	};

	/** A knob drawn from background with the handle picture (may be null) placed by the value. */
	CKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
	       const CPoint& offset = CPoint (0, 0), int32_t drawStyle = kLegacyHandleLineDrawing);
	CKnob (const CKnob& knob);

	/** Draws the background and the handle picture; without pictures nothing. */
	void draw (CDrawContext* context) override;

	/** The handle picture and the drawing style flags (DrawStyle). UI thread. */
	CBitmap* getHandleBitmap () const { return handleBitmap; }
	void setHandleBitmap (CBitmap* bitmap) { handleBitmap = bitmap; }
	int32_t getDrawStyle () const { return drawStyle; }
	void setDrawStyle (int32_t style) { drawStyle = style; }

	CLASS_METHODS (CKnob, CControl)

protected:
	CPoint offset;
	SharedPointer<CBitmap> handleBitmap;
	int32_t drawStyle;
};

//------------------------------------------------------------------------
/** A knob drawn as one of the pictures of a vertical strip. */
class CAnimKnob : public CKnobBase
{
public:
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
	           CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint (0, 0));
	/** The number of pictures follows from the strip's height and the view's height. */
	CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	           const CPoint& offset = CPoint (0, 0));
	CAnimKnob (const CAnimKnob& knob);

	/** Draws picture floor(normalised value x (n - 1)) of the strip. */
	void draw (CDrawContext* context) override;

	/** Number of pictures in the strip and the height of one, in pixels. UI thread. */
	int32_t getNumSubPixmaps () const { return subPixmaps; }
	void setNumSubPixmaps (int32_t n) { subPixmaps = n; }
	CCoord getHeightOfOneImage () const { return heightOfOneImage; }
	void setHeightOfOneImage (CCoord h) { heightOfOneImage = h; }
	/** Draws the strip from the last picture to the first. UI thread. */
	void setInverseBitmap (bool state) { inverseBitmap = state; }

	CLASS_METHODS (CAnimKnob, CControl)

protected:
	CPoint offset;
	int32_t subPixmaps;
	CCoord heightOfOneImage;
	bool inverseBitmap {false};
};

} // namespace VSTGUI
