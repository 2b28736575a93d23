#pragma once
// CNumericDisplay: a knob that shows its value as a number: value x range plus
// an offset, as a whole number, with decimals or as a percentage. Dragging
// keeps only Shift of the modifier keys. UI thread.

#include <cstdint>

#include "graphics/CFixedString.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/cknob.h"

class CBitmapFont;

namespace VSTGUI {

class CNumericDisplay : public CKnob
{
public:
    CNumericDisplay(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr);
    CNumericDisplay(const CNumericDisplay& other) = default;
    CBaseObject* newCopy() const override { return new CNumericDisplay(*this); }

    // The number in the view with the font, colour and alignment.
    void draw(CDrawContext* context) override;
    // While dragging with the left button alone, every modifier but Shift is dropped.
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

    // int(value x range).
    int32_t getIntValue() const;
    // value = v / range.
    void setIntValue(int32_t v);
    // offset = offsetFloat = v.
    void setOffset(int32_t v);
    // offsetFloat = v, offset = int(floorf(v + 0.1)).
    void setOffsetFloat(float v);
    // The text draw shows.
    CFixedString formatText() const;

    bool percent = false;   // "%.<decimals>f %" of value x range + offsetFloat
    int32_t decimals = 0;   // above 0: fixed-point with that many decimals
    float range = 100.0f;   // value 0..1 shows 0..range
    int32_t offset = 0;
    float offsetFloat = 0.0f;
    CColor fontColor {255, 255, 255, 255};
    CFontRef font = nullptr;           // not owned; null: the library's normal font
    int32_t alignment = kCenterText;   // CHoriTxtAlign
    CBitmapFont* bitmapFont = nullptr; // not owned
};

} // namespace VSTGUI
