// CVerticalSwitch (n positions picked by the height) and CRockerSwitch (springs back to 0).
// UI thread.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

//------------------------------------------------------------------------
class CVerticalSwitch : public CControl
{
public:
	/** subPixmaps pictures of heightOfOneImage stacked in background; iMaxPositions positions. */
	CVerticalSwitch (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
	                 CCoord heightOfOneImage, int32_t iMaxPositions, CBitmap* background,
	                 const CPoint& offset = CPoint (0, 0));
	CVerticalSwitch (const CVerticalSwitch& s);

	/** Draws the picture of the current position. */
	void draw (CDrawContext* context) override;
	/** Left button: starts the edit and takes the position under the pointer. */
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	/** Position int((y - top) / (height / n)), value = position / (n - 1) of the range. */
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	/** Ends the edit. */
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	/** The drag was taken away: back to the value at the press, edit ended. */
	CMouseEventResult onMouseCancel () override;

	/** Pictures in the strip, the height of one (pixels) and the number of positions. */
	int32_t getNumSubPixmaps () const { return subPixmaps; }
	CCoord getHeightOfOneImage () const { return heightOfOneImage; }
	int32_t getMaxPositions () const { return maxPositions; }
	/** The position the value stands for (0 .. n - 1). */
	int32_t getPosition () const;

	CLASS_METHODS (CVerticalSwitch, CControl)

protected:
	CPoint offset;
	int32_t subPixmaps;
	CCoord heightOfOneImage;
	int32_t maxPositions;
	float entryValue {0.f};
};

//------------------------------------------------------------------------
/** A two-way switch at rest in the middle (0) that gives -1 or +1 while pressed. UI thread. */
class CRockerSwitch : public CControl
{
public:
	enum Style
	{
		kHorizontal = 1 << 0,
		kVertical = 1 << 1
	};

	/** Range -1..1 at rest 0; pictures -1, 0, +1 stacked top to bottom. */
	CRockerSwitch (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
	               const CPoint& offset = CPoint (0, 0), const int32_t style = kHorizontal);
	CRockerSwitch (const CRect& size, IControlListener* listener, int32_t tag, CCoord heightOfOneImage,
	               CBitmap* background, const CPoint& offset = CPoint (0, 0), const int32_t style = kHorizontal);
	CRockerSwitch (const CRockerSwitch& s);
	~CRockerSwitch () noexcept override;

	/** Draws the picture of -1, 0 or +1. */
	void draw (CDrawContext* context) override;
	/** Left button: the first half gives -1, the second +1; notifies. */
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	/** -1 over the first half, +1 over the second, the value at the press outside; notifies changes. */
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	/** Back to 0 (notifying when it changes); ends the edit. */
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	/** As a mouse-up: back to 0 and the edit ended. */
	CMouseEventResult onMouseCancel () override;
	/** -1 for a distance above 0, else +1, notifying; a 200 ms timer returns it to 0. */
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;
	/** The reset timer: back to 0, notified, edit ended. */
	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override;

	/** kHorizontal or kVertical, and the height of one picture (pixels). */
	int32_t getStyle () const { return style; }
	CCoord getHeightOfOneImage () const { return heightOfOneImage; }

	CLASS_METHODS (CRockerSwitch, CControl)

protected:
	void setAndNotify (float v);

	CPoint offset;
	CCoord heightOfOneImage;
	int32_t style;
	float entryValue {0.f};
	SharedPointer<CVSTGUITimer> resetValueTimer;
};

} // namespace VSTGUI
