#include "controls/ZelCPopupControl.h"

#include "controls/ZelCPopup.h"

namespace VSTGUI {

ZelCPopupControl::ZelCPopupControl(const CRect& rect, ZelCPopup* o)
    : CControl(rect, o ? o->getListener() : nullptr, o ? o->getTag() : 0, nullptr), owner(o)
{
}

void ZelCPopupControl::draw(CDrawContext* context)
{
    if (owner)
        owner->drawList(context);
    setDirty(false);
}

CMouseEventResult ZelCPopupControl::onMouseDown(CPoint&, const CButtonState&)
{
    if (owner)
        owner->chooseHovered();
    return kMouseEventHandled;
}

CMouseEventResult ZelCPopupControl::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventHandled;
}

CMouseEventResult ZelCPopupControl::onMouseMoved(CPoint& where, const CButtonState&)
{
    if (owner)
        owner->trackHover(where);
    return kMouseEventHandled;
}

} // namespace VSTGUI
