#pragma once
// ZelCFrame: the view mouse listener half of the editor's frame mouse observer:
// a block flag that, while set, swallows mouse events, and the frame editor's
// begin- and end-edit hooks (index -1) around a view's mouse gesture. UI thread.

#include <cstdint>

#include "vstgui/lib/iviewlistener.h"

namespace VSTGUI {

class ZelCFrame : public IViewMouseListener
{
public:
    ~ZelCFrame() noexcept override = default;

    // Blocked: handled; else the frame editor's begin-edit hook (-1) and not handled.
    CMouseEventResult viewOnMouseDown(CView* view, CPoint pos, CButtonState buttons) override;
    // The frame editor's end-edit hook (-1), blocked or not; not handled.
    CMouseEventResult viewOnMouseUp(CView* view, CPoint pos, CButtonState buttons) override;
    // Handled while blocked, else not handled.
    CMouseEventResult viewOnMouseMoved(CView* view, CPoint pos, CButtonState buttons) override;
    // As viewOnMouseUp.
    CMouseEventResult viewOnMouseCancel(CView* view) override;

    // While non-zero the observer swallows mouse events.
    uint8_t blockFlag = 0;

private:
    CMouseEventResult endEditHook(CView* view);
};

} // namespace VSTGUI
