#include "controls/CMyRockerSwitch.h"

namespace VSTGUI {

CMouseEventResult CMyRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) == kRButton)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    return CRockerSwitch::onMouseDown(where, buttons);
}

} // namespace VSTGUI
