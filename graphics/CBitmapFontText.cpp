// CBitmapFont: drawing a line of text.
#include "graphics/CBitmapFont.h"

#include "graphics/CGlyphAtlas.h"
#include "graphics/CTextMask.h"
#include "graphics/PixelMath.h"
#include "platform/Timing.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cfont.h"

#include <algorithm>
#include <cmath>

using VSTGUI::CRect;

int32_t textDrawMicroseconds = 0;

namespace {

int64_t readFrequency()
{
    LARGE_INTEGER frequency{0};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

const int64_t performanceFrequency = readFrequency();

// Adds the time since start to textDrawMicroseconds.
void addDrawTime(const LARGE_INTEGER& start)
{
    LARGE_INTEGER end{0};
    QueryPerformanceCounter(&end);
    if (performanceFrequency > 0)
        textDrawMicroseconds += static_cast<int32_t>((end.QuadPart - start.QuadPart) * 1000000 / performanceFrequency);
}

} // namespace

void CBitmapFont::drawText(const CFixedString& text, VSTGUI::CDrawContext* context, CRect& rect,
    VSTGUI::CColor colour, int32_t alignment, float textScale, bool italic, bool bold)
{
    if (context == nullptr || text.length == 0 || !(rect.right - rect.left > 0))
        return;
    // A rectangle or scale that is not finite would reach cairo as a font size or a place
    // that leaves the context in its lasting error state: such a call draws nothing.
    if (!pixel_math::allFinite(rect.left, rect.top, rect.getWidth(), rect.getHeight(), textScale))
        return;
    LARGE_INTEGER start{0};
    QueryPerformanceCounter(&start);
    CFixedString line(text);

    if (!useImage)
    {
        if (fallbackFont != nullptr)
        {
            const VSTGUI::CCoord size = fallbackFont->getSize();
            fallbackFont->setSize(std::floor(static_cast<float>(size) * textScale));
            context->setFontColor(colour);
            context->setFont(fallbackFont, 0, -1);
            context->drawString(line.c_str(), rect, static_cast<VSTGUI::CHoriTxtAlign>(alignment), true);
            fallbackFont->setSize(size);
        }
        addDrawTime(start);
        return;
    }
    if (image == nullptr || atlas == nullptr || glyphRects == nullptr)
    {
        addDrawTime(start);
        return;
    }

    const double rw = rect.right - rect.left;
    const double rh = rect.bottom - rect.top;
    if (bold)
        ++letterSpacing;
    const int32_t measured = getTextWidth(line, nullptr);
    if (bold)
        --letterSpacing;
    const double textW = std::min(rw, static_cast<double>(std::floor(static_cast<float>(measured) * textScale)));
    if (textW == 0)
        return;

    const int32_t ph = static_cast<int32_t>(image->getHeight());
    const int32_t glyphH
        = std::min(ph, std::max(5, static_cast<int32_t>(std::floor(static_cast<float>(textHeight) * textScale))));
    const int32_t outH = glyphH + static_cast<int32_t>(margin);
    int64_t canvasW = static_cast<int64_t>(rw + margin);
    if (canvasW % 4 != 0)
        canvasW += 4 - canvasW % 4;
    const int32_t maskH = ph + 32;
    const float maskW = static_cast<float>(static_cast<double>(maskH) * static_cast<double>(canvasW))
        / static_cast<float>(outH);

    CTextMask mask(static_cast<int32_t>(std::clamp(maskW, -1.0f, 1e6f)), maskH, italic, bold);

    // A leading lone sign sits closer to the left edge than a digit would.
    int32_t x = 16;
    const char first = line.buffer[0];
    const char second = line.length > 1 ? line.buffer[1] : 0;
    if ((first == '-' && second != '-') || (first == '+' && second != '+'))
        x = 10;
    if (bold)
    {
        x += 1;
        ++letterSpacing;
    }
    forEachGlyph(line.buffer, line.length, [&](char c, char next, int32_t glyph) {
        const CRect& g = glyphRects[glyph];
        const double w = g.right - g.left;
        if (c != ' ')
            mask.blitGlyph(*atlas, CRect(g.left, 0, g.left + w, ph), VSTGUI::CPoint(x, 16));
        x += static_cast<int32_t>(w) + letterSpacing;
        if (kerningEnabled)
            x += kerningBetween(c, next);
    });
    if (bold)
        --letterSpacing;

    double left = rect.left;
    if (alignment == 0)
        left -= halfMargin;
    else if (alignment == 2)
        left = rect.right - textW - (static_cast<double>(margin) - 1);
    else
        left = left - halfMargin + (rw * 0.5 - textW * 0.5);
    const float top = static_cast<float>(rh * 0.5 - outH * 0.5) + static_cast<float>(rect.top + 1);
    rect.left = std::floor(left);
    rect.top = std::floor(top);
    rect.right = rect.left + static_cast<double>(canvasW);
    rect.bottom = rect.top + outH;

    if (VSTGUI::CBitmap* bitmap
        = mask.render(colour, static_cast<uint32_t>(std::clamp<int64_t>(canvasW, 0, 1 << 20)), static_cast<uint32_t>(outH)))
    {
        bitmap->draw(context, rect, VSTGUI::CPoint(0, 0), 1.0f);
        bitmap->forget();
    }
    addDrawTime(start);
}

void CBitmapFont::drawBitmapText(const char* text, VSTGUI::CDrawContext* context, const CRect& rect,
    const VSTGUI::CColor& colour, int32_t alignment, float textScale, bool italic, bool bold)
{
    CRect place(rect);
    VSTGUI::CColor tint(colour);
    drawText(CFixedString(text), context, place, tint, alignment, textScale, italic, bold);
}
