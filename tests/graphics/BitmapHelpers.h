#pragma once
// Small helpers of the graphics tests: bitmaps made and read pixel by pixel.

#include "vstgui/lib/cbitmap.h"

#include <cstdint>
#include <functional>

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
    VSTGUI::CBitmapPixelAccess* access = VSTGUI::CBitmapPixelAccess::create(bitmap, true);
    if (access == nullptr)
        return bitmap;
    uint8_t* base = access->getAddress();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            Bgra p = fill(x, y);
            uint8_t* q = base + y * access->getBytesPerRow() + 4 * x;
            q[0] = p.b;
            q[1] = p.g;
            q[2] = p.r;
            q[3] = p.a;
        }
    access->forget();
    return bitmap;
}

// Pixel (x, y) of a bitmap as stored.
inline Bgra pixelAt(VSTGUI::CBitmap* bitmap, int x, int y)
{
    Bgra p{0, 0, 0, 0};
    VSTGUI::CBitmapPixelAccess* access = VSTGUI::CBitmapPixelAccess::create(bitmap, true);
    if (access == nullptr)
        return p;
    const uint8_t* q = access->getAddress() + y * access->getBytesPerRow() + 4 * x;
    p = Bgra{q[0], q[1], q[2], q[3]};
    access->forget();
    return p;
}

} // namespace testing_helpers
