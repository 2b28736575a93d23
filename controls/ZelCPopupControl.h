#pragma once
// ZelCPopupControl: the view that shows a ZelCPopup's open grid. The pop-up
// adds it to the frame while open; it hands drawing, clicks and mouse moves
// back to its owner. UI thread.

#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

class ZelCPopup;

class ZelCPopupControl : public CControl
{
public:
    // A grid view of rect for owner, with the owner's listener and tag.
    ZelCPopupControl(const CRect& rect, ZelCPopup* owner);
    ~ZelCPopupControl() noexcept override = default;
    CBaseObject* newCopy() const override { return new ZelCPopupControl(*this); }

    // The owner's grid.
    void draw(CDrawContext* context) override;
    // Chooses the owner's hovered item.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Nothing.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    // Moves the owner's hover (where is a frame point).
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

    // The owner lets go of its grid (it is being destroyed).
    void detachOwner() { owner = nullptr; }

private:
    ZelCPopup* owner; // not owned: the pop-up owns this view
};

} // namespace VSTGUI
