#pragma once
// CClickThroughView: a control that hands its clicks on to a companion view
// (at the companion's top-left corner plus one pixel). UI thread.

#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

class CClickThroughView : public CControl
{
public:
    // A view over size passing clicks to companion (not owned, may be null).
    CClickThroughView(const CRect& size, CView* companion = nullptr);
    CBaseObject* newCopy() const override { return new CClickThroughView(*this); }

    // The companion's mouse-down (when attached) and its answer, else 3.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // The companion's mouse-up and its answer, else handled.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    // The view that gets the clicks this one lets through (not owned).
    void setCompanion(CView* view) { companion = view; }

private:
    CView* companion; // not owned
};

} // namespace VSTGUI
