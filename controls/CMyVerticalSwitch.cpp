#include "controls/CMyVerticalSwitch.h"

namespace VSTGUI {

CMouseEventResult CMyVerticalSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) == kRButton)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    return CVerticalSwitch::onMouseDown(where, buttons);
}

} // namespace VSTGUI
