#pragma once
// CMyButton: the on/off button; the upper half of its picture shows off, the
// lower half on. A right click does nothing. UI thread.

#include "vstgui/lib/controls/cbuttons.h"

namespace VSTGUI {

class CMyButton : public COnOffButton
{
public:
    using COnOffButton::COnOffButton;
    CBaseObject* newCopy() const override { return new CMyButton(*this); }

    // The upper half of the picture at value 0, else the lower half, at the view's top-left.
    void draw(CDrawContext* context) override;
    // Right alone answers 3 and does nothing; everything else goes to the button.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

} // namespace VSTGUI
