#include "controls/CMyButton.h"

#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

void CMyButton::draw(CDrawContext* context)
{
    if (CBitmap* picture = getBackground())
    {
        const CRect& r = getViewSize();
        const double w = picture->getWidth();
        const double h = picture->getHeight();
        const CPoint offset(0, getValue() == 0.0f ? 0 : h * 0.5);
        context->drawBitmap(picture, CRect(r.left, r.top, r.left + w, r.top + h * 0.5), offset, 1.0f);
    }
    setDirty(false);
}

CMouseEventResult CMyButton::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) == kRButton)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    return COnOffButton::onMouseDown(where, buttons);
}

} // namespace VSTGUI
