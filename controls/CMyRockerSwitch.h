#pragma once
// CMyRockerSwitch: the program and wave step buttons; a right click does nothing.
// UI thread.

#include "vstgui/lib/controls/cswitch.h"

namespace VSTGUI {

class CMyRockerSwitch : public CRockerSwitch
{
public:
    using CRockerSwitch::CRockerSwitch;
    CBaseObject* newCopy() const override { return new CMyRockerSwitch(*this); }

    // Right alone answers 3 and does nothing; everything else goes to the rocker switch.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

} // namespace VSTGUI
