#include "controls/ZelCTextEdit.h"

#include "graphics/CBitmapFont.h"
#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

ZelCTextEdit::ZelCTextEdit(const CRect& rect, IControlListener* l, int32_t t, UTF8StringPtr txt, CBitmap* bg)
    : CTextEdit(rect, l, t, txt, bg, 0)
{
    lines.resize(static_cast<uint32_t>(maxLines));
}

const char* ZelCTextEdit::getLine(uint32_t i)
{
    if (i >= lines.size())
        return "";
    return lines[i].c_str();
}

int32_t ZelCTextEdit::textWidth(CDrawContext* context, CFixedString& s)
{
    if (bitmapFont)
        return bitmapFont->getTextWidth(s, context);
    return static_cast<int32_t>(context->getStringWidth(s.c_str()));
}

void ZelCTextEdit::wrapText(CDrawContext* context)
{
    CFixedString text(getText());
    for (uint32_t i = 0; i < lines.size(); ++i)
        lines[i].clear();
    const int32_t fieldWidth = static_cast<int32_t>(getViewSize().getWidth());
    int64_t line = 0;
    CFixedString word;
    for (uint64_t k = 0; k < text.length && line < maxLines; ++k)
    {
        const char c = text.buffer[k];
        if (c == ' ')
        {
            CFixedString& current = lines[static_cast<uint32_t>(line)];
            if (textWidth(context, current) + textWidth(context, word) < fieldWidth)
                current.append(word);
            else if (++line < maxLines)
                lines[static_cast<uint32_t>(line)].append(word);
            if (word.length > 0 && line < maxLines)
                lines[static_cast<uint32_t>(line)].appendChar(' ');
            word.clear();
        }
        else if (c == '|')
        {
            lines[static_cast<uint32_t>(line)].append(word);
            ++line;
            word.clear();
        }
        else
            word.appendChar(c);
    }
    if (word.length > 0 && line < maxLines)
        lines[static_cast<uint32_t>(line)].append(word);
}

void ZelCTextEdit::draw(CDrawContext* context)
{
    if (!bitmapFont)
        context->setFont(getFont());
    wrapText(context);
    const CRect& r = getViewSize();
    if (!bitmapFont)
        context->setFontColor(getFontColor());
    for (int64_t i = 0; i < maxLines; ++i)
    {
        CRect box(r.left, r.top + i * lineHeight, r.right, r.top + i * lineHeight + lineHeight - 1);
        CFixedString& line = lines[static_cast<uint32_t>(i)];
        if (bitmapFont)
            bitmapFont->drawText(line, context, box, getFontColor(), getHoriAlign(), 1.0f, false, false);
        else
            context->drawString(line.c_str(), box, getHoriAlign(), true);
    }
    setDirty(false);
}

void ZelCTextEdit::looseFocus()
{
    CTextEdit::looseFocus();
    if (auto* object = dynamic_cast<CBaseObject*>(listener))
        object->notify(this, kMsgLooseFocus);
}

} // namespace VSTGUI
