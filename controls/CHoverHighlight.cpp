#include "controls/CHoverHighlight.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cview.h"

namespace VSTGUI {

CHoverHighlight::CHoverHighlight(CView* v, CBitmap* p) : picture(p), view(v)
{
}

CMouseEventResult CHoverHighlight::mouseEntered()
{
    highlighted = true;
    if (view)
        view->invalid();
    return kMouseEventNotImplemented;
}

void CHoverHighlight::mouseExited()
{
    highlighted = false;
    if (view)
        view->invalid();
}

void CHoverHighlight::viewOnMouseEntered(CView*)
{
    mouseEntered();
}

void CHoverHighlight::viewOnMouseExited(CView*)
{
    mouseExited();
}

void CHoverHighlight::draw(CDrawContext* context, const CRect* rect)
{
    if (!highlighted || !context)
        return;
    if (picture)
    {
        const CRect r = rect ? *rect : view ? view->getViewSize() : CRect();
        const double w = picture->getWidth();
        const double h = picture->getHeight();
        context->drawBitmap(picture, CRect(r.left, r.top, r.left + w, r.top + h * 0.5), CPoint(0, h * 0.5), 1.0f);
        return;
    }
    if (!view)
        return;
    const CCoord previousWidth = context->getLineWidth();
    const CColor previousColour = context->getFrameColor();
    context->setLineWidth(2.0);
    context->setFrameColor(CColor(255, 0, 0, 255));
    context->drawRect(view->getViewSize(), kDrawStroked);
    context->setLineWidth(previousWidth);
    context->setFrameColor(previousColour);
}

} // namespace VSTGUI
