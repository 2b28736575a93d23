#include "controls/CMyOptionMenu.h"

#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

void CMyOptionMenu::draw(CDrawContext* context)
{
    if (CBitmap* picture = getBackground())
    {
        const CRect& r = getViewSize();
        const double w = picture->getWidth();
        const double h = picture->getHeight();
        const CPoint offset(0, isInPopup() ? h * 0.5 : 0);
        context->drawBitmap(picture, CRect(r.left, r.top, r.left + w, r.top + h * 0.5), offset, 1.0f);
    }
    setDirty(false);
}

CMouseEventResult CMyOptionMenu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    lastButton = buttons;
    const int32_t pressed = buttons & kButtonMask;
    if (pressed == kLButton || pressed == kRButton)
    {
        CBaseObjectGuard guard(this);
        invalid();
        popup(nullptr);
        invalid();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace VSTGUI
