#include "controls/ZelCMultiLedSwitch.h"

#include <algorithm>

#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

ZelCMultiLedSwitch::ZelCMultiLedSwitch(const CRect& rect, IControlListener* l, int32_t t, CBitmap* p, int32_t n,
    int32_t o)
    : CControl(rect, l, t, nullptr), orientation(o), count(n), picture(p)
{
    value = 0.0f;
    if (!picture)
        return;
    ledWidth = static_cast<int32_t>(picture->getWidth());
    ledHeight = static_cast<int32_t>(picture->getHeight() * 0.5);
    CRect r(rect);
    if (isRow())
    {
        r.right = r.left + count * ledWidth;
        if (r.getHeight() < ledHeight)
            r.bottom = r.top + ledHeight;
    }
    else
    {
        r.bottom = r.top + count * ledHeight;
        if (r.getWidth() < ledWidth)
            r.right = r.left + ledWidth;
    }
    setViewSize(r, false);
    setMouseableArea(r);
}

int32_t ZelCMultiLedSwitch::getPosition() const
{
    const float v = std::clamp(value, 0.0f, kMaxValue);
    return count - 1 - static_cast<int32_t>(v * count);
}

float ZelCMultiLedSwitch::valueForLed(int32_t index) const
{
    if (count <= 0)
        return 0.0f;
    // The middle of the LED's share of 0..1, so that truncation lands on it.
    return std::clamp((count - 1 - index + 0.5f) / count, 0.0f, kMaxValue);
}

void ZelCMultiLedSwitch::setPosition(int32_t index)
{
    if (count <= 0)
        return;
    value = valueForLed(std::clamp(index, 0, count - 1));
}

void ZelCMultiLedSwitch::draw(CDrawContext* context)
{
    value = std::clamp(value, 0.0f, kMaxValue);
    const int32_t selected = count - 1 - static_cast<int32_t>(value * count);
    const CRect& r = getViewSize();
    if (picture)
    {
        for (int32_t i = 0; i < count; ++i)
        {
            const double left = isRow() ? r.left + i * ledWidth : r.left;
            const double top = isRow() ? r.top : r.top + i * ledHeight;
            context->drawBitmap(picture, CRect(left, top, left + ledWidth, top + ledHeight),
                CPoint(0, i == selected ? ledHeight : 0), 1.0f);
        }
    }
    setDirty(false);
}

CMouseEventResult ZelCMultiLedSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) != kLButton)
        return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult ZelCMultiLedSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) != kLButton)
        return kMouseEventHandled;
    const CRect& r = getViewSize();
    const double extent = isRow() ? r.getWidth() : r.getHeight();
    if (!(extent > 0))
        return kMouseEventHandled; // a view without length has no LED to point at
    // The share of the view beyond the pointer: 1 at the top (left) edge, 0 at the bottom (right).
    const double d = std::clamp(isRow() ? where.x - r.left : where.y - r.top, 0.0, extent);
    value = std::clamp(static_cast<float>((extent - d) / extent), 0.0f, kMaxValue);
    if (isDirty())
        invalid();
    return kMouseEventHandled;
}

CMouseEventResult ZelCMultiLedSwitch::onMouseUp(CPoint&, const CButtonState&)
{
    if (listener)
        listener->valueChanged(this);
    endEdit();
    if (isDirty())
        invalid();
    return kMouseEventHandled;
}

} // namespace VSTGUI
