#pragma once
// CDisplayAnimKnob: the editor's knob (a picture strip) with the shared value
// read-out: mouse down shows the value next to the knob, each move refreshes it
// (with the value from before the move), mouse up hides it. UI thread.

#include "vstgui/lib/controls/cknob.h"

class IValueTextFormatter;

namespace VSTGUI {

class ZelCParamDisplay;

class CDisplayAnimKnob : public CAnimKnob
{
public:
    // A knob of subPixmaps pictures; formatter makes the read-out text, readOut is the
    // editor's shared read-out (both not owned, either may be null).
    CDisplayAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
        CCoord heightOfOneImage, CBitmap* background, const CPoint& offset, IValueTextFormatter* formatter,
        ZelCParamDisplay* readOut);
    CDisplayAnimKnob(const CDisplayAnimKnob& other) = default;
    CBaseObject* newCopy() const override { return new CDisplayAnimKnob(*this); }

    // The knob's own handling, then the read-out for a left press; a right click answers 3.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Ends the drag and hides the read-out.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    // Refreshes the read-out's text, then drags.
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    // The drag was taken away: the knob's own handling, and the read-out goes.
    CMouseEventResult onMouseCancel() override;

private:
    IValueTextFormatter* formatter; // not owned
    ZelCParamDisplay* readOut;      // not owned
};

} // namespace VSTGUI
