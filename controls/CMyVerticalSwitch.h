#pragma once
// CMyVerticalSwitch: the three- and four-position switches; a right click does
// nothing. UI thread.

#include "vstgui/lib/controls/cswitch.h"

namespace VSTGUI {

class CMyVerticalSwitch : public CVerticalSwitch
{
public:
    using CVerticalSwitch::CVerticalSwitch;
    CBaseObject* newCopy() const override { return new CMyVerticalSwitch(*this); }

    // Right alone answers 3 and does nothing; everything else goes to the vertical switch.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

} // namespace VSTGUI
