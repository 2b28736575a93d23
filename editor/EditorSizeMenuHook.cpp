// The right click on the editor's background.
#include "editor/EditorSizeMenuHook.h"

#include "editor/ADEditor.h"
#include "vstgui/lib/cframe.h"

using namespace VSTGUI;

CMouseEventResult EditorSizeMenuHook::onMouseDown(CFrame* frame, const CPoint& where, const CButtonState& buttons) {
    if (frame == nullptr || buttons.getButtonState() != kRButton) return kMouseEventNotHandled;
    if (frame->getViewAt(where, false, true) != nullptr) return kMouseEventNotHandled;  // a control's own click
    CPoint at(where);
    const CMouseEventResult result = editor.onMouseDown(at, buttons);
    return result == kMouseEventNotImplemented ? kMouseEventNotHandled : result;
}
