#pragma once
// CKeyboardWheel: the pitch wheel (springs back to the middle) and the
// modulation wheel, drawn from the 91-frame wheel strip of the editor's size.
// The mouse wheel never moves it. UI thread.

#include "vstgui/lib/controls/cknob.h"

class IWheelPictureSource;

namespace VSTGUI {

class CKeyboardWheel : public CKnob
{
public:
    static constexpr int32_t kFrames = 91; // pictures in the wheel strip

    // A wheel over size whose strip comes from pictures (not owned, may be null);
    // springBack returns it to 0.5 at mouse up.
    CKeyboardWheel(const CRect& size, IControlListener* listener, int32_t tag, IWheelPictureSource* pictures,
        bool springBack);
    CKeyboardWheel(const CKeyboardWheel& other) = default;
    CBaseObject* newCopy() const override { return new CKeyboardWheel(*this); }

    // Frame 90 - int(value x 90) of the strip.
    void draw(CDrawContext* context) override;
    // Ends the drag, springs back when asked, and always reports the value.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    // Swallows the mouse wheel without a change.
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
        const CButtonState& buttons) override;

    // The strip frame drawn for the current value.
    int32_t frameIndex() const;

private:
    IWheelPictureSource* pictures; // not owned
    bool springBack;
};

} // namespace VSTGUI
