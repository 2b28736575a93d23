#pragma once
// ZelCTextEdit: a text-entry field that wraps its text into up to three lines
// at spaces; '|' forces a line break. Losing the focus also tells a listener
// that is a CBaseObject ("LooseFocus"). UI thread.

#include <cstdint>

#include "controls/CCheckedArray.h"
#include "graphics/CFixedString.h"
#include "vstgui/lib/controls/ctextlabel.h"

class CBitmapFont;

namespace VSTGUI {

class ZelCTextEdit : public CTextEdit
{
public:
    static constexpr uint8_t kLinesCode = 11; // message code of the line table

    ZelCTextEdit(const CRect& rect, IControlListener* listener, int32_t tag, UTF8StringPtr text = nullptr,
        CBitmap* background = nullptr);
    ZelCTextEdit(const ZelCTextEdit& other) = default;
    CBaseObject* newCopy() const override { return new ZelCTextEdit(*this); }

    // Wraps the text into lines and draws them one below the other.
    void draw(CDrawContext* context) override;
    // Ends the editing, then notifies a listener that is a CBaseObject with kMsgLooseFocus.
    void looseFocus() override;

    // Line i of the last wrap (empty outside).
    const char* getLine(uint32_t i);

    CBitmapFont* bitmapFont = nullptr; // when set, lines are measured and drawn with it; not owned
    int64_t lineHeight = 12;           // pixels per line

private:
    // Wraps the text into lines (the fit measured in context).
    void wrapText(CDrawContext* context);
    int32_t textWidth(CDrawContext* context, CFixedString& s);

    CCheckedArray<CFixedString> lines {kLinesCode};
    int64_t maxLines = 3;
};

} // namespace VSTGUI
