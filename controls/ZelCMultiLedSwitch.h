#pragma once
// ZelCMultiLedSwitch: a row or column of LEDs that acts as an N-position switch;
// clicking or dragging selects the LED under the pointer, the listener hears of
// it at mouse up. LED 0 is the top (column) or left (row) one. UI thread.

#include <cstdint>

#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

class ZelCMultiLedSwitch : public CControl
{
public:
    static constexpr int32_t kHorizontal = 2; // orientation of a row; anything else is a column
    static constexpr float kMaxValue = 0.9998f;

    // count LEDs of picture (unlit upper half, lit lower half); with a picture the
    // view is sized to the LEDs.
    ZelCMultiLedSwitch(const CRect& rect, IControlListener* listener, int32_t tag, CBitmap* picture, int32_t count,
        int32_t orientation);
    ZelCMultiLedSwitch(const ZelCMultiLedSwitch& other) = default;
    CBaseObject* newCopy() const override { return new ZelCMultiLedSwitch(*this); }

    // The selected LED lit, the others unlit.
    void draw(CDrawContext* context) override;
    // Left alone: starts the edit and selects the LED under the pointer.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Tells the listener and ends the edit.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    // Left alone: value = the share of the view beyond the pointer (at most 0.9998), which
    // selects the LED under it; the listener is told at mouse up.
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

    // The selected LED: count - 1 - int(value x count).
    int32_t getPosition() const;
    // Selects LED index (clamped to the LEDs).
    void setPosition(int32_t index);

    // Number of LEDs and the size of one LED picture, in pixels.
    int32_t getCount() const { return count; }
    int32_t getLedWidth() const { return ledWidth; }
    int32_t getLedHeight() const { return ledHeight; }

private:
    bool isRow() const { return orientation == kHorizontal; }
    // The value whose draw rule selects LED index.
    float valueForLed(int32_t index) const;

    int32_t orientation;
    int32_t count;
    int32_t ledWidth = 0;
    int32_t ledHeight = 0;
    CBitmap* picture; // not owned
};

} // namespace VSTGUI
