#include "graphics/CTextMask.h"

#include "graphics/CGlyphAtlas.h"
#include "graphics/PixelMath.h"
#include "vstgui/lib/cbitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using pixel_math::clampToByte;

CTextMask::CTextMask(int32_t w, int32_t h, bool italicText, bool boldText)
{
    if (w < 1 || w > 9999 || h < 1 || h > 9999)
        return;
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
    size = width * height;
    coverage = std::make_unique<uint8_t[]>(size);
    rowOffsets = std::make_unique<uint32_t[]>(height);
    italic = italicText;
    bold = boldText;
}

void CTextMask::blitGlyph(const CGlyphAtlas& atlas, const VSTGUI::CRect& source, const VSTGUI::CPoint& target)
{
    if (!(target.x >= 0 && target.x < width && target.y >= 0 && target.y < height))
        return;
    if (!atlas.mask || !coverage)
        return;
    const int64_t dx = static_cast<int64_t>(target.x), dy = static_cast<int64_t>(target.y);
    int64_t cw = static_cast<int64_t>(source.right - source.left);
    int64_t ch = static_cast<int64_t>(source.bottom - source.top);
    if (dx + cw >= width)
        cw = width - dx;
    if (dy + ch >= height)
        ch = height - dy;
    // The glyph is also kept inside the atlas's own mask.
    const int64_t aw = atlas.getWidth(), ah = atlas.getHeight();
    const int64_t sx = static_cast<int64_t>(source.left);
    const int64_t sy = static_cast<int64_t>(std::min(source.top, source.bottom));
    if (sx < 0 || sy < 0 || sx >= aw || sy >= ah || static_cast<uint64_t>(aw * ah) > atlas.maskSize)
        return;
    cw = std::min(cw, aw - sx);
    ch = std::min(ch, ah - sy);
    if (cw <= 0 || ch <= 0)
        return;
    for (int64_t r = 0; r < ch; ++r)
        std::memcpy(&coverage[(dy + r) * width + dx], &atlas.mask[(sy + r) * aw + sx], static_cast<size_t>(cw));
}

void CTextMask::applyItalic()
{
    // Slant of 0.3 pixel per row: the bottom row stays, each higher row leans further right.
    const float slope = (0.3f * static_cast<float>(height)) / static_cast<float>(height);
    float offset = 0.0f;
    for (int64_t y = height - 1; y >= 0; --y)
    {
        const uint32_t shift = std::min(static_cast<uint32_t>(offset), width);
        uint8_t* row = &coverage[y * width];
        std::memmove(row + shift, row, width - shift);
        std::memset(row, 0, shift);
        offset += slope;
    }
}

void CTextMask::applyBold()
{
    for (uint32_t y = 0; y < height; ++y)
    {
        uint8_t* row = &coverage[y * width];
        for (uint32_t x = width - 1; x >= 1; --x)
            row[x] = std::max(row[x], row[x - 1]);
    }
    for (uint32_t y = height - 1; y >= 1; --y)
        for (uint32_t x = 0; x < width; ++x)
            coverage[y * width + x] = std::max(coverage[y * width + x], coverage[(y - 1) * width + x]);
}

void CTextMask::reduceInto(uint8_t* out, uint32_t outW, uint32_t outH)
{
    for (uint32_t y = 0; y < height; ++y)
        rowOffsets[y] = y * width;
    const float stepX = static_cast<float>(width) / static_cast<float>(outW);
    const float stepY = static_cast<float>(height) / static_cast<float>(outH);
    const int64_t bw = std::max(static_cast<int64_t>(std::floor(stepX)), int64_t{2});
    const int64_t bh = std::max(static_cast<int64_t>(std::floor(stepY)), int64_t{2});
    const int64_t lastCol = width - 1, lastRow = height - 1;
    // Every cell the box reads is clamped to the mask's last column and row.
    auto at = [&](int64_t row, int64_t col) -> float {
        return coverage[rowOffsets[std::min(row, lastRow)] + std::min(col, lastCol)];
    };
    for (uint32_t y = 0; y + 1 < outH; ++y)
    {
        const float sy = static_cast<float>(y) * stepY;
        const int64_t iy = static_cast<int64_t>(sy);
        const float fy = sy - static_cast<float>(iy);
        const int64_t t = iy >= height ? lastRow : iy;
        const int64_t b = iy + bh >= height ? lastRow : iy + bh;
        for (uint32_t x = 0; x + 1 < outW; ++x)
        {
            const float sx = static_cast<float>(x) * stepX;
            const int64_t ix = static_cast<int64_t>(sx);
            const float fx = sx - static_cast<float>(ix);
            const int64_t rc = ix + bw;
            float sum = 0.0f, total = 1.0f;
            // Edge cells count only above 5, so faint noise does not grey the text box.
            auto edge = [&](float v, float w) {
                if (v > 5.0f)
                    sum += v * w;
            };
            edge(at(t, ix), (1.0f - fy) * (1.0f - fx));
            edge(at(b, ix), fy * (1.0f - fx));
            edge(at(t, rc), (1.0f - fy) * fx);
            edge(at(b, rc), fy * fx);
            for (int64_t k = 1; k < bw; ++k)
            {
                total += 1.0f;
                edge(at(t, ix + k), 1.0f - fy);
                edge(at(b, ix + k), fy);
            }
            for (int64_t j = 1; j < bh; ++j)
            {
                total += 1.0f;
                edge(at(t + j, ix), 1.0f - fx);
                edge(at(t + j, rc), fx);
            }
            for (int64_t k = 1; k < bw; ++k)
            {
                for (int64_t j = 1; j < bh; ++j)
                {
                    total += 1.0f;
                    sum += at(t + j, ix + k);
                }
            }
            if (sum > 80.0f) // faint boxes stay empty
                out[y * outW + x] = clampToByte(sum / total);
        }
    }
}

VSTGUI::CBitmap* CTextMask::render(const VSTGUI::CColor& colour, uint32_t outW, uint32_t outH)
{
    if (!coverage || !rowOffsets || outW < 1 || outW > 10000 || outH < 1 || outH > 10000)
        return nullptr;
    if (italic && !italicApplied)
    {
        italicApplied = true;
        applyItalic();
    }
    if (bold && !boldApplied)
    {
        boldApplied = true;
        applyBold();
    }
    const size_t n = static_cast<size_t>(outW) * outH;
    std::unique_ptr<uint8_t[]> R = std::make_unique<uint8_t[]>(n);
    std::unique_ptr<uint8_t[]> S = std::make_unique<uint8_t[]>(n);
    std::unique_ptr<uint8_t[]> P = std::make_unique<uint8_t[]>(4 * n);
    const float r = colour.red, g = colour.green, b = colour.blue;

    if (outH == height)
    {
        // Same height: the mask as it is (row by row, in case the widths differ).
        const uint32_t w = std::min(outW, width);
        for (uint32_t y = 0; y < outH; ++y)
            std::memcpy(&R[static_cast<size_t>(y) * outW], &coverage[static_cast<size_t>(y) * width], w);
    }
    else
    {
        reduceInto(R.get(), outW, outH);
    }

    std::memcpy(S.get(), R.get(), n);
    for (uint32_t y = 1; y + 1 < outH; ++y)
    {
        for (uint32_t x = 1; x + 1 < outW; ++x)
        {
            const size_t i = static_cast<size_t>(y) * outW + x;
            const float v = R[i];
            if (v <= 5.0f)
                continue;
            const float around = static_cast<float>(R[i - 1]) + R[i + 1] + R[i - outW] + R[i + outW];
            S[i] = clampToByte(1.2f * v - 0.05f * around);
        }
    }

    for (size_t i = 0; i < n; ++i)
    {
        const uint8_t v = S[i];
        if (v <= 10)
            continue;
        const float f = static_cast<float>(v) / 255.0f;
        P[4 * i] = static_cast<uint8_t>(static_cast<int>(b * f));
        P[4 * i + 1] = static_cast<uint8_t>(static_cast<int>(g * f));
        P[4 * i + 2] = static_cast<uint8_t>(static_cast<int>(r * f));
        P[4 * i + 3] = v;
    }

    if (outH != height && r > 0 && g > 0 && b > 0)
    {
        const float luminance = std::sqrt(0.299f * r * r + 0.587f * g * g + 0.114f * b * b);
        const int L = static_cast<int>(std::clamp(luminance, 0.0f, 255.0f));
        // Dark text gets a faint grey rim, light text a soft black one.
        const uint8_t grey = L < 80 ? 35 : 0;
        const uint8_t alpha = L < 80 ? 35 : 55;
        // Empty: no text (coloured above 10) and no grey rim. Black rim pixels of the first pass
        // stay empty for the second, so light text gets a one-pixel ring; text whose blue byte
        // came out 0 is kept.
        auto empty = [&](size_t i) { return S[i] <= 10 && P[4 * i] == 0; };
        auto paint = [&](size_t i) {
            P[4 * i] = P[4 * i + 1] = P[4 * i + 2] = grey;
            P[4 * i + 3] = alpha;
        };
        for (uint32_t y = 0; y + 1 < outH; ++y)
        {
            for (uint32_t x = 0; x + 1 < outW; ++x)
            {
                const size_t i = static_cast<size_t>(y) * outW + x;
                if (empty(i) && (!empty(i + 1) || !empty(i + outW)))
                    paint(i);
            }
        }
        for (uint32_t y = outH - 1; y >= 1; --y)
        {
            for (uint32_t x = outW - 1; x >= 1; --x)
            {
                const size_t i = static_cast<size_t>(y) * outW + x;
                if (empty(i) && (!empty(i - 1) || !empty(i - outW)))
                    paint(i);
            }
        }
    }

    auto* bitmap = new VSTGUI::CBitmap(static_cast<VSTGUI::CCoord>(outW), static_cast<VSTGUI::CCoord>(outH));
    if (VSTGUI::CBitmapPixelAccess* access = VSTGUI::CBitmapPixelAccess::create(bitmap, true))
    {
        if (uint8_t* address = access->getAddress())
        {
            const uint32_t rowBytes = access->getBytesPerRow();
            const uint32_t rows = std::min(outH, access->getBitmapHeight());
            const size_t copy = std::min<size_t>(4ull * outW, rowBytes);
            for (uint32_t y = 0; y < rows; ++y)
                std::memcpy(address + static_cast<size_t>(y) * rowBytes, &P[4ull * outW * y], copy);
        }
        access->forget();
    }
    return bitmap;
}
