#pragma once
// Helpers of the graphics tests: bitmaps made and read pixel by pixel, and what a
// canvas's drawing pair holds, read back as a user would see it.

#include "graphics/CPixelCanvas.h"
#include "graphics/PixelAccess.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>

namespace testing_helpers {

struct Bgra
{
    uint8_t b, g, r, a;
    bool operator==(const Bgra&) const = default;
};

// A new bitmap (one reference) of w x h whose pixel (x, y) is fill(x, y).
inline VSTGUI::CBitmap* makeBitmap(int w, int h, const std::function<Bgra(int, int)>& fill)
{
    auto* bitmap = new VSTGUI::CBitmap(w, h);
    if (PixelAccessRef access = lockPixels(bitmap))
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const Bgra p = fill(x, y);
                std::memcpy(access->getAddress() + y * access->getBytesPerRow() + 4 * x, &p, 4);
            }
    return bitmap;
}

// The same in one colour (quick also for the tallest film strips).
inline VSTGUI::CBitmap* makeBitmap(int w, int h, Bgra colour)
{
    auto* bitmap = new VSTGUI::CBitmap(w, h);
    if (PixelAccessRef access = lockPixels(bitmap))
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                std::memcpy(access->getAddress() + y * access->getBytesPerRow() + 4 * x, &colour, 4);
    return bitmap;
}

// Pixel (x, y) of a bitmap as stored.
inline Bgra pixelAt(VSTGUI::CBitmap* bitmap, int x, int y)
{
    Bgra p{};
    if (PixelAccessRef access = lockPixels(bitmap))
        std::memcpy(&p, access->getAddress() + y * access->getBytesPerRow() + 4 * x, 4);
    return p;
}

// Red, green and blue of the drawing pixel at layer column x, row y.
inline std::tuple<int, int, int> rgbAt(const CPixelCanvas& canvas, uint32_t x, uint32_t y)
{
    uint8_t r, g, b;
    canvas.getPixel(x, y, r, g, b);
    return {r, g, b};
}

// Layer (column, row) pairs of the drawing pair whose coverage is above zero.
inline std::set<std::pair<uint32_t, uint32_t>> covered(const CPixelCanvas& canvas)
{
    std::set<std::pair<uint32_t, uint32_t>> out;
    const CanvasLayer* layer = canvas.getDrawingColour();
    for (uint32_t y = 0; y < layer->height; ++y)
        for (uint32_t x = 0; x < layer->width; ++x)
            if (canvas.getCoverage(x, y) > 0.0f)
                out.insert({x, y});
    return out;
}

// Coverage-weighted mean column of layer row y of the drawing pair (-1 when the row is empty).
inline float inkCentre(const CPixelCanvas& canvas, uint32_t y)
{
    float sum = 0.0f, weighted = 0.0f;
    for (uint32_t x = 0; x < canvas.getDrawingColour()->width; ++x)
    {
        sum += canvas.getCoverage(x, y);
        weighted += canvas.getCoverage(x, y) * static_cast<float>(x);
    }
    return sum > 0.0f ? weighted / sum : -1.0f;
}

// A coverage layer as text, one line per row: ' ' empty, '.' below 0.5, '+' below 1, '#' full.
inline std::string coverageArt(const CanvasLayer* coverage)
{
    std::string art;
    for (uint32_t y = 0; y < coverage->height; ++y)
    {
        for (uint32_t x = 0; x < coverage->width; ++x)
        {
            const float c = coverage->floats[x + coverage->width * y];
            art += c <= 0.0f ? ' ' : c < 0.5f ? '.' : c < 1.0f ? '+' : '#';
        }
        art += '\n';
    }
    return art;
}

} // namespace testing_helpers
