// CBitmapFont: picture, metrics, kerning and the glyph sheet.
#include "graphics/CBitmapFont.h"

#include "graphics/CGlyphAtlas.h"
#include "graphics/ImageLoader.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/coffscreencontext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using VSTGUI::CBitmap;
using VSTGUI::CRect;

namespace {

// Picture bounds (pixels, strict): the glyph strip is at most 9999 wide and 999 tall.
bool pictureInBounds(double w, double h)
{
    return w > 5 && w < 10000 && h > 5 && h < 1000;
}

} // namespace

CBitmapFont::CBitmapFont()
{
    fallbackFont = VSTGUI::kNormalFontSmall;
    std::fill(std::begin(charMap), std::end(charMap), -1);
    std::memset(kerningTable, 0, sizeof kerningTable);
    for (int i = 0; i < kFontGlyphCount; ++i)
    {
        const int c = static_cast<unsigned char>(fontCharacterSet[i]);
        if (c >= 1 && c <= 254)
            charMap[c] = i;
    }
}

CBitmapFont::~CBitmapFont()
{
    frame = nullptr;
    image = nullptr;
    for (CBitmap*& picture : pictures)
        releaseBitmap(&picture);
    pictures.clear();
    delete atlas;
    atlas = nullptr;
    glyphRects = nullptr;
}

void CBitmapFont::dropImage()
{
    delete atlas;
    atlas = nullptr;
    glyphRects = nullptr;
    image = nullptr;
    textHeight = 0;
    scale = 1.0f;
    halfMargin = margin = 0;
}

void CBitmapFont::setImage(CBitmap* picture, int32_t height)
{
    if (picture == nullptr || picture->getPlatformBitmap() == nullptr)
    {
        dropImage();
        return;
    }
    const double w = picture->getWidth(), h = picture->getHeight();
    // The width must be a multiple of 4: the canvas's background copy is cut to one, and
    // the mask and marker scan read the background at the picture's width.
    if (!pictureInBounds(w, h) || (static_cast<int32_t>(w) & 3) != 0)
        return;
    delete atlas;
    atlas = new CGlyphAtlas(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
    atlas->scanGlyphs(picture);
    glyphRects = atlas->glyphRects;
    image = picture;
    setTextHeight(height);
}

void CBitmapFont::setTextHeight(int32_t requested)
{
    if (atlas == nullptr || !pictureInBounds(atlas->getWidth(), atlas->getHeight()))
        return;
    const int32_t h = static_cast<int32_t>(atlas->getHeight());
    const int32_t n = std::min(std::max(requested, 5), h);
    textHeight = static_cast<uint32_t>(n);
    float r = static_cast<float>(n) / static_cast<float>(h);
    if (static_cast<double>(r) >= 0.95) // nearly full height draws at the picture's own size
        r = 1.0f;
    scale = std::max(r, 0.05f);
    margin = static_cast<uint32_t>(scale * 32.0f);
    halfMargin = margin / 2;
}

int32_t CBitmapFont::glyphIndexOf(char c) const
{
    const int code = static_cast<unsigned char>(normalised(c));
    return code < kCodes ? charMap[code] : -1;
}

int32_t CBitmapFont::getTextWidth(const CFixedString& text, VSTGUI::CDrawContext* context)
{
    if (!useImage)
    {
        if (context == nullptr)
            return 0;
        context->setFont(fallbackFont, 0, -1);
        CFixedString copy(text);
        return static_cast<int32_t>(context->getStringWidth(copy.c_str())) + 3;
    }
    if (glyphRects == nullptr)
        return 0;
    int64_t sum = 0;
    forEachGlyph(text.buffer, text.length, [&](char c, char next, int32_t glyph) {
        sum += static_cast<int32_t>(glyphRects[glyph].right - glyphRects[glyph].left) + letterSpacing;
        if (kerningEnabled)
            sum += kerningBetween(c, next);
    });
    return static_cast<int32_t>(std::ceil(static_cast<float>(sum) * scale));
}

int32_t CBitmapFont::getTextWidth(const char* text, VSTGUI::CDrawContext* context)
{
    return getTextWidth(CFixedString(text), context);
}

int32_t CBitmapFont::getTextHeight() const
{
    if (atlas == nullptr)
        return 20;
    return static_cast<int32_t>(std::ceil(static_cast<float>(atlas->getHeight()) * scale));
}

void CBitmapFont::setKerning(const KerningRecord* records, int32_t count)
{
    for (int32_t i = 0; records != nullptr && i < count; ++i)
    {
        // The table holds codes 0..254; a record naming 255 has no place in it.
        if (records[i].first >= kCodes || records[i].second >= kCodes)
            continue;
        kerningTable[records[i].first][records[i].second] = records[i].value;
    }
    kerningEnabled = true;
}

void CBitmapFont::clearKerning()
{
    std::memset(kerningTable, 0, sizeof kerningTable);
}

void CBitmapFont::drawGlyphSheet()
{
    if (glyphSheetDone)
        return;
    glyphSheetDone = true;
    if (image == nullptr || atlas == nullptr || glyphRects == nullptr || frame == nullptr)
        return;
    const int32_t ph = static_cast<int32_t>(image->getHeight());
    const double sheetHeight = 92.0 * ph + 20.0;
    const bool savedUseImage = useImage;
    useImage = true;
    auto context = VSTGUI::COffscreenContext::create(frame, 400, sheetHeight, 1.0);
    if (context)
    {
        context->setFillColor(VSTGUI::kBlackCColor);
        context->setFrameColor(VSTGUI::kBlackCColor);
        context->drawRect(CRect(0, 0, 400, sheetHeight), VSTGUI::kDrawFilledAndStroked);
        for (int i = 1; i < kFontGlyphCount; ++i)
        {
            const char pair[3] = {' ', fontCharacterSet[i], 0};
            char label[64];
            std::snprintf(label, sizeof label, "|%s |  %d %d", pair, 32, static_cast<unsigned char>(fontCharacterSet[i]));
            double x = 0.0;
            forEachGlyph(label, std::strlen(label), [&](char c, char next, int32_t glyph) {
                const CRect& g = glyphRects[glyph];
                const double gw = g.right - g.left;
                const double top = (i - 1) * static_cast<double>(ph) + 20.0;
                image->draw(context, CRect(20 + x, top, 20 + x + gw, top + ph), VSTGUI::CPoint(g.left, 0), 1.0f);
                x += gw + kerningBetween(c, next);
            });
        }
    }
    useImage = savedUseImage;
}
