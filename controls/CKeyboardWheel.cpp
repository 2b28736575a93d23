#include "controls/CKeyboardWheel.h"

#include "controls/IWheelPictureSource.h"
#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

CKeyboardWheel::CKeyboardWheel(const CRect& size, IControlListener* listener, int32_t tag,
    IWheelPictureSource* p, bool spring)
    : CKnob(size, listener, tag, nullptr, nullptr, CPoint(0, 0), kLegacyHandleLineDrawing), pictures(p),
      springBack(spring)
{
}

int32_t CKeyboardWheel::frameIndex() const
{
    // 90 = kFrames - 1 steps over 0..1; the strip runs from the top value down.
    return (kFrames - 1) - static_cast<int32_t>(getValue() * 90.0f);
}

void CKeyboardWheel::draw(CDrawContext* context)
{
    CBitmap* strip = pictures ? pictures->getWheelBitmap() : nullptr;
    if (strip)
    {
        const int32_t frameHeight = static_cast<int32_t>(strip->getHeight() / static_cast<double>(kFrames));
        context->drawBitmap(strip, getViewSize(), CPoint(0, frameIndex() * frameHeight), 1.0f);
    }
    setDirty(false);
}

CMouseEventResult CKeyboardWheel::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    const CMouseEventResult result = CKnobBase::onMouseUp(where, buttons);
    if (springBack)
        CControl::setValue(0.5f);
    if (listener)
        listener->valueChanged(this);
    return result;
}

bool CKeyboardWheel::onWheel(const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
    return true;
}

} // namespace VSTGUI
