#include "controls/ZelCFrame.h"

#include "vstgui/lib/cframe.h"

namespace VSTGUI {

CMouseEventResult ZelCFrame::viewOnMouseDown(CView* view, CPoint, CButtonState)
{
    if (blockFlag)
        return kMouseEventHandled;
    if (view && view->getFrame() && view->getFrame()->getEditor())
        view->getFrame()->getEditor()->beginEdit(-1);
    return kMouseEventNotHandled;
}

CMouseEventResult ZelCFrame::endEditHook(CView* view)
{
    if (view && view->getFrame() && view->getFrame()->getEditor())
        view->getFrame()->getEditor()->endEdit(-1);
    return kMouseEventNotHandled;
}

CMouseEventResult ZelCFrame::viewOnMouseUp(CView* view, CPoint, CButtonState)
{
    return endEditHook(view);
}

CMouseEventResult ZelCFrame::viewOnMouseCancel(CView* view)
{
    return endEditHook(view);
}

CMouseEventResult ZelCFrame::viewOnMouseMoved(CView*, CPoint, CButtonState)
{
    return blockFlag ? kMouseEventHandled : kMouseEventNotHandled;
}

} // namespace VSTGUI
