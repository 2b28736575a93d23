#include "controls/CDisplayAnimKnob.h"

#include "controls/IValueTextFormatter.h"
#include "controls/ZelCParamDisplay.h"

namespace VSTGUI {

CDisplayAnimKnob::CDisplayAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
    CCoord heightOfOneImage, CBitmap* background, const CPoint& offset, IValueTextFormatter* f, ZelCParamDisplay* r)
    : CAnimKnob(size, listener, tag, subPixmaps, heightOfOneImage, background, offset), formatter(f), readOut(r)
{
}

CMouseEventResult CDisplayAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    const CMouseEventResult result = CAnimKnob::onMouseDown(where, buttons);
    if (formatter && readOut && !(buttons & kControl))
    {
        const int32_t pressed = buttons & kButtonMask;
        if (pressed == kRButton)
            return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
        if (pressed == kLButton && !buttons.isDoubleClick())
        {
            formatter->formatValue(getTag(), getValue(), readOut->text);
            readOut->show(getViewSize(), false, result == kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        }
    }
    return result;
}

CMouseEventResult CDisplayAnimKnob::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    const CMouseEventResult result = CKnobBase::onMouseUp(where, buttons);
    if (readOut)
        readOut->hide();
    return result;
}

CMouseEventResult CDisplayAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (readOut && formatter && readOut->isAttached())
    {
        formatter->formatValue(getTag(), getValue(), readOut->text);
        readOut->moveBy(CPoint(0, 0));
    }
    return CKnobBase::onMouseMoved(where, buttons);
}

CMouseEventResult CDisplayAnimKnob::onMouseCancel()
{
    const CMouseEventResult result = CKnobBase::onMouseCancel();
    if (readOut)
        readOut->hide();
    return result;
}

} // namespace VSTGUI
