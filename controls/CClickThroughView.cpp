#include "controls/CClickThroughView.h"

namespace VSTGUI {

CClickThroughView::CClickThroughView(const CRect& size, CView* c) : CControl(size, nullptr, 0, nullptr), companion(c)
{
}

CMouseEventResult CClickThroughView::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!companion || !companion->isAttached())
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    CBaseObjectGuard guard(companion);
    CPoint p(companion->getViewSize().left + 1, companion->getViewSize().top + 1);
    return companion->onMouseDown(p, buttons);
}

CMouseEventResult CClickThroughView::onMouseUp(CPoint&, const CButtonState& buttons)
{
    if (!companion)
        return kMouseEventHandled;
    CBaseObjectGuard guard(companion);
    CPoint p(companion->getViewSize().left + 1, companion->getViewSize().top + 1);
    return companion->onMouseUp(p, buttons);
}

} // namespace VSTGUI
