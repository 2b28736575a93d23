// The skin set: the placeholder background and the wave previews drawn into the
// strips (loading, building, pixels and freeing: SkinLazyLoadTest).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/EditorLayout.h"
#include "editor/SkinBitmapSet.h"
#include "engine/WaveTableBank.h"
#include "vstgui/lib/cbitmap.h"

using VSTGUI::CBitmap;
using VSTGUI::CBitmapPixelAccess;

namespace {

// An opaque black picture, as the strips of the skin are opaque.
CBitmap* blackPicture(int32_t width, int32_t height) {
    auto* bitmap = new CBitmap(width, height);
    CBitmapPixelAccess* access = CBitmapPixelAccess::create(bitmap, true);
    if (access != nullptr) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) access->getAddress()[y * access->getBytesPerRow() + x * 4 + 3] = 255;
        access->forget();
    }
    return bitmap;
}

// Green bytes of a bitmap, row by row: the curves are light on the black picture.
std::vector<uint8_t> greenOf(CBitmap* bitmap) {
    std::vector<uint8_t> green;
    CBitmapPixelAccess* access = CBitmapPixelAccess::create(bitmap, true);
    if (access == nullptr) return green;
    const uint32_t w = access->getBitmapWidth(), h = access->getBitmapHeight();
    green.resize(static_cast<size_t>(w) * h);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) green[y * w + x] = access->getAddress()[y * access->getBytesPerRow() + x * 4 + 1];
    access->forget();
    return green;
}

// Holds one reference on the set for a test and gives it back.
struct SkinReference {
    SkinReference() { loadSkinBitmaps(); }
    ~SkinReference() { releaseSkinBitmaps(); }
};

TEST(SkinBitmapSet, PlaceholderBackgroundAndBadSizes) {
    SkinReference ref;
    auto* placeholder = new CBitmap(400, 400);
    setSkinBackground(2, placeholder);
    placeholder->forget();
    EXPECT_EQ(getSkinBitmap(kBackgroundBitmap, 2), placeholder);
    EXPECT_EQ(skinBitmapWidth(kBackgroundBitmap, 2), 400);
    buildSkinBitmaps(7, false);
    buildSkinBitmaps(-1, true);
    EXPECT_EQ(getSkinBitmap(kKnobBitmap, 7), nullptr);
    EXPECT_EQ(skinBitmapWidth(kKnobBitmap, -1), 0.0);
    EXPECT_EQ(loadSkinBitmap(4242), nullptr);
}

// Frame p of a strip (p = 0 at the top) shows wave p; frame 0 is empty.
struct StripCase {
    int32_t size;
    bool chooser;
    int32_t width, height;
};

class WaveStrips : public ::testing::TestWithParam<StripCase> {};

TEST_P(WaveStrips, FramesShowTheirWaves) {
    const StripCase& c = GetParam();
    CBitmap* strip = blackPicture(c.width, c.height);
    drawWaveformStrip(strip, c.size, c.chooser);
    const std::vector<uint8_t> alpha = greenOf(strip);
    ASSERT_EQ(alpha.size(), static_cast<size_t>(c.width) * c.height);
    const int32_t rowStep = c.height / 40;
    const float scale = getUIScale(c.size);
    const int32_t n = static_cast<int32_t>(120 * scale), x0 = static_cast<int32_t>(22 * scale);
    const int32_t y0 = static_cast<int32_t>(20 * scale), amp = static_cast<int32_t>(48 * scale);
    const int32_t shift = c.chooser ? c.width / 2 : 0;

    auto lit = [&](int32_t x, int32_t y) { return alpha[static_cast<size_t>(y) * c.width + x] > 20; };
    for (int32_t y = 0; y < rowStep; ++y)
        for (int32_t x = 0; x < c.width; ++x) ASSERT_FALSE(lit(x, y)) << "frame 0 must stay empty at " << x << "," << y;

    for (int32_t p = 1; p < 40; ++p) {
        const float* wave = WaveTableBank::wave(p);
        for (int32_t i = 0; i < n; i += n / 5) {
            const int32_t s = static_cast<int32_t>(static_cast<float>(i) * 2047.0f / static_cast<float>(n - 1));
            const float level = std::fmin(1.0f, std::fmax(0.0f, (wave[s] + 1.0f) * 0.5f));
            const int32_t yTop = (p + 1) * rowStep - 1 - y0 - static_cast<int32_t>(level * amp);
            for (int32_t half = 0; half < (c.chooser ? 2 : 1); ++half) {
                bool found = false;
                for (int32_t y = std::max(0, yTop - 4); y <= std::min(c.height - 1, yTop + 4); ++y)
                    found = found || lit(x0 + i + half * shift, y);
                EXPECT_TRUE(found) << "wave " << p << " point " << i << " half " << half;
            }
        }
    }
    if (c.chooser) {
        // The highlighted half carries the same curves, shift pixels to the right.
        int32_t differing = 0;
        for (int32_t y = 0; y < c.height; ++y)
            for (int32_t x = 0; x < shift; ++x) differing += lit(x, y) != lit(x + shift, y);
        EXPECT_EQ(differing, 0);
    }
    strip->forget();
}

INSTANTIATE_TEST_SUITE_P(Strips, WaveStrips,
                         ::testing::Values(StripCase{0, false, 48, 960}, StripCase{1, false, 68, 1280},
                                           StripCase{1, true, 136, 1280}, StripCase{2, false, 100, 1920},
                                           StripCase{3, true, 304, 2880}),
                         [](const auto& info) {
                             return sizeName(info.param.size) + (info.param.chooser ? "Chooser" : "Display");
                         });

TEST(WaveStrips, MissingStripIsIgnored) {
    drawWaveformStrip(nullptr, 1, false);
    CBitmap empty(VSTGUI::CResourceDescription(4243));
    drawWaveformStrip(&empty, 1, true);
    SUCCEED();
}

}  // namespace
