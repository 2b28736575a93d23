#include "controls/CDiagramSelector.h"

#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

namespace {
constexpr float kUpperLimit = 2.01f;  // above: wrap to state 0
constexpr float kLowerLimit = -0.01f; // below: wrap to state 2
} // namespace

CDiagramSelector::CDiagramSelector(const CRect& size, IControlListener* l, int32_t t, CBitmap* bg)
    : CControl(size, l, t, bg)
{
    setMin(0.0f);
    setMax(2.0f);
    if (bg)
    {
        frameHeight = static_cast<int32_t>(bg->getHeight() / 3.0);
        frameWidth = static_cast<int32_t>(bg->getWidth());
    }
}

CMessageResult CDiagramSelector::notify(CBaseObject*, IdStringPtr)
{
    return kMessageUnknown;
}

void CDiagramSelector::draw(CDrawContext* context)
{
    if (CBitmap* picture = getBackground())
    {
        const int32_t state = static_cast<int32_t>(getValue());
        const int32_t k = state >= 0 && state < kStates ? state : 0;
        context->drawBitmap(picture, getViewSize(), CPoint(0, k * frameHeight), 1.0f);
    }
    setDirty(false);
}

void CDiagramSelector::stepTo(float next)
{
    beginEdit();
    setValue(next);
    if (listener)
        listener->valueChanged(this);
    endEdit();
}

CMouseEventResult CDiagramSelector::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) != kLButton)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    const float v = getValue();
    stepTo(v + 1 > kUpperLimit ? 0.0f : v + 1);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool CDiagramSelector::onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&)
{
    if (!listener)
        return false;
    if (wheelLocked)
        return true;
    const float v = getValue();
    if (distance < 0)
        stepTo(v + 1 > kUpperLimit ? 0.0f : v + 1);
    else
        stepTo(v - 1 < kLowerLimit ? 2.0f : v - 1);
    return true;
}

} // namespace VSTGUI
