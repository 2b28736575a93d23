#pragma once
// CDiagramSelector: the oscillator routing diagram; a click or a wheel step
// cycles its state 0, 1, 2 (the value itself), each state one third of the
// picture. UI thread.

#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

class CDiagramSelector : public CControl
{
public:
    static constexpr int32_t kStates = 3;

    // A selector over size drawing background (three states stacked); range 0..2.
    CDiagramSelector(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background);
    CDiagramSelector(const CDiagramSelector& other) = default;
    CBaseObject* newCopy() const override { return new CDiagramSelector(*this); }

    // Answers kMessageUnknown to everything.
    CMessageResult notify(CBaseObject* sender, IdStringPtr message) override;
    // The picture of state int(value).
    void draw(CDrawContext* context) override;
    // Left alone: the next state (2 wraps to 0), reported. Every click answers 3.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Up (distance < 0) or down one state, wrapping; false without a listener.
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
        const CButtonState& buttons) override;

    // Size of one frame of the picture strip, in pixels.
    int32_t getFrameHeight() const { return frameHeight; }
    int32_t getFrameWidth() const { return frameWidth; }

    // While set the mouse wheel is swallowed without a change.
    bool wheelLocked = false;

private:
    void stepTo(float next);

    int32_t frameHeight = 0; // int(picture height / 3)
    int32_t frameWidth = 0;  // int(picture width)
};

} // namespace VSTGUI
