#include "controls/CRollOverSwitch.h"

namespace VSTGUI {

CRollOverSwitch::CRollOverSwitch(const CRect& size, IControlListener* l, int32_t t, CBitmap* bg, WebAddressOpener o,
    const char* a)
    : CControl(size, l, t, bg), opener(o), address(a)
{
}

void CRollOverSwitch::draw(CDrawContext*)
{
    setDirty(false);
}

CMouseEventResult CRollOverSwitch::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) == kLButton && opener)
        opener(address);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace VSTGUI
