#pragma once
// CHoverHighlight: a highlight for a view while the mouse is over it: the lower
// half of a two-state picture, or a red 2-pixel frame without a picture. Register
// it with the view (CView::registerViewMouseListener) and call draw from the
// view's drawing. UI thread.

#include "vstgui/lib/iviewlistener.h"
#include "vstgui/lib/crect.h"

namespace VSTGUI {

class CHoverHighlight : public IViewMouseListener
{
public:
    // A highlight for view (not owned) with picture (not owned, may be null).
    CHoverHighlight(CView* view, CBitmap* picture);

    // Highlighted and the view redrawn; answers kMouseEventNotImplemented.
    CMouseEventResult mouseEntered();
    // Not highlighted and the view redrawn.
    void mouseExited();
    // While highlighted: the picture's lower half at rect's top-left (the view's when null),
    // or a red frame around the view.
    void draw(CDrawContext* context, const CRect* rect = nullptr);

    void viewOnMouseEntered(CView* view) override;
    void viewOnMouseExited(CView* view) override;

    // True while the pointer is over the view.
    bool isHighlighted() const { return highlighted; }

private:
    bool highlighted = false;
    CBitmap* picture; // not owned
    CView* view;      // not owned
};

} // namespace VSTGUI
