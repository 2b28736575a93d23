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
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;

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

	void draw (CDrawContext* context) override;
	/** Left button: the first half gives -1, the second +1; notifies. */
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	/** Back to 0 (notifying when it changes); ends the edit. */
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	/** -1 for a distance above 0, else +1, notifying; a 200 ms timer returns it to 0. */
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;
	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override;

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
