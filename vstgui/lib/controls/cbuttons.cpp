#include "cbuttons.h"
#include "../cdrawcontext.h"

namespace VSTGUI {

COnOffButton::COnOffButton (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                            int32_t s)
: CControl (size, listener, tag, background), style (s)
{
}

COnOffButton::COnOffButton (const COnOffButton& b) : CControl (b), style (b.style)
{
}

void COnOffButton::draw (CDrawContext* context)
{
	if (background)
	{
		CCoord off = (value == getMax ()) ? background->getHeight () / 2. : 0.;
		background->draw (context, size, CPoint (0, off));
	}
	setDirty (false);
}

CMouseEventResult COnOffButton::onMouseDown (CPoint&, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	beginEdit ();
	return kMouseEventHandled;
}

CMouseEventResult COnOffButton::onMouseUp (CPoint& where, const CButtonState&)
{
	if (!isEditing ())
		return kMouseEventHandled;
	if (size.pointInside (where))
	{
		value = (value == getMax ()) ? getMin () : getMax ();
		invalid ();
		valueChanged ();
	}
	endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult COnOffButton::onMouseCancel ()
{
	if (isEditing ())
		endEdit ();
	return kMouseEventHandled;
}

} // namespace VSTGUI
