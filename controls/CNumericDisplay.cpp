#include "controls/CNumericDisplay.h"

#include <cmath>
#include <cstdio>

#include "graphics/CBitmapFont.h"
#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

CNumericDisplay::CNumericDisplay(const CRect& size, IControlListener* l, int32_t t, CBitmap* bg)
    : CKnob(size, l, t, bg, nullptr)
{
}

int32_t CNumericDisplay::getIntValue() const
{
    return static_cast<int32_t>(value * range);
}

void CNumericDisplay::setIntValue(int32_t v)
{
    // A zero range shows nothing but 0; no division by it.
    setValue(range != 0.0f ? static_cast<float>(v) / range : 0.0f);
}

void CNumericDisplay::setOffset(int32_t v)
{
    offset = v;
    offsetFloat = static_cast<float>(v);
}

void CNumericDisplay::setOffsetFloat(float v)
{
    offsetFloat = v;
    offset = static_cast<int32_t>(std::floor(v + 0.1f));
}

CFixedString CNumericDisplay::formatText() const
{
    char buffer[CFixedString::kBufferSize];
    int n;
    if (percent || decimals > 0)
    {
        char format[64];
        int f = std::snprintf(format, sizeof format, percent ? "%%.%df %%%%" : "%%.%df", decimals);
        if (f < 0 || f >= static_cast<int>(sizeof format))
            return CFixedString();
        n = std::snprintf(buffer, sizeof buffer, format, static_cast<double>(value * range + offsetFloat));
    }
    else
        n = std::snprintf(buffer, sizeof buffer, "%d", getIntValue() + offset);
    if (n < 0 || n >= static_cast<int>(sizeof buffer))
        return CFixedString();
    return CFixedString(buffer);
}

void CNumericDisplay::draw(CDrawContext* context)
{
    CFixedString text = formatText();
    CRect r = getViewSize();
    if (bitmapFont)
        bitmapFont->drawText(text, context, r, fontColor, alignment, 1.0f, false, false);
    else
    {
        context->setFont(font ? font : kNormalFont);
        context->setFontColor(fontColor);
        context->drawString(text.c_str(), r, static_cast<CHoriTxtAlign>(alignment), true);
    }
    setDirty(false);
}

CMouseEventResult CNumericDisplay::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) == kLButton && isEditing())
    {
        CButtonState reduced(kLButton | (buttons & kShift));
        return CKnob::onMouseMoved(where, reduced);
    }
    return CKnob::onMouseMoved(where, buttons);
}

} // namespace VSTGUI
