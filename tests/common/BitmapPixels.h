#pragma once
// Every pixel of a bitmap copied out at once, for tests that compare many pixels of a
// drawn frame with the pictures it was drawn from. Values are the stored 32-bit pixels
// (A in the top byte, then R, G, B; premultiplied, so opaque pixels read as drawn).

#include <cstdint>
#include <cstring>
#include <vector>

#include "vstgui/lib/cbitmap.h"

struct BitmapPixels {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> values;

    BitmapPixels() = default;
    explicit BitmapPixels(VSTGUI::CBitmap* bitmap) {
        VSTGUI::CBitmapPixelAccess* access = bitmap ? VSTGUI::CBitmapPixelAccess::create(bitmap, true) : nullptr;
        if (access == nullptr) return;
        width = static_cast<int32_t>(access->getBitmapWidth());
        height = static_cast<int32_t>(access->getBitmapHeight());
        values.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(&values[static_cast<size_t>(y) * static_cast<size_t>(width)],
                        access->getAddress() + static_cast<size_t>(y) * access->getBytesPerRow(),
                        static_cast<size_t>(width) * 4);
        access->forget();
    }
    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // The pixel at (x, y); 0 (transparent black) outside.
    uint32_t at(int32_t x, int32_t y) const {
        return inside(x, y) ? values[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] : 0;
    }
    bool opaque(int32_t x, int32_t y) const { return (at(x, y) >> 24) == 0xFF; }
    static uint32_t of(const VSTGUI::CColor& c) {
        return (uint32_t{c.alpha} << 24) | (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | uint32_t{c.blue};
    }
};
