#pragma once
// Passes a right click on the editor's background (where no control takes the
// mouse) to ADEditor::onMouseDown, which pops up the size menu. The frame of the
// GUI library does not call the editor's mouse hook itself; the editor registers
// this observer while it is open. UI thread.

#include "vstgui/lib/imouseobserver.h"

class ADEditor;

class EditorSizeMenuHook : public VSTGUI::IMouseObserver {
public:
    explicit EditorSizeMenuHook(ADEditor& editor) : editor(editor) {}

    // A right click alone over no control: the editor's size menu, and the click ends here.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CFrame* frame, const VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;

private:
    ADEditor& editor;
};
