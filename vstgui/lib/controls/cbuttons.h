// COnOffButton: a two-state button whose picture stacks off (upper half) and on (lower half).
// UI thread.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class COnOffButton : public CControl
{
public:
	enum Style
	{
		kPreListenerUpdate = 0,
		kPostListenerUpdate = 1
	};

	COnOffButton (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	              CBitmap* background = nullptr, int32_t style = kPreListenerUpdate);
	COnOffButton (const COnOffButton& b);

	/** Draws the upper half of the picture when off, the lower half when on (value = max). */
	void draw (CDrawContext* context) override;
	/** The left button starts the edit (Handled); other buttons answer NotHandled. */
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	/** Inside the button: toggles between min and max and notifies; ends the edit. */
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;

	int32_t getStyle () const { return style; }
	void setStyle (int32_t val) { style = val; }

	CLASS_METHODS (COnOffButton, CControl)

protected:
	int32_t style;
};

} // namespace VSTGUI
