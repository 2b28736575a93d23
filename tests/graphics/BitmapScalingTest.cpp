// Scaled sizes of the skin pictures at the four editor sizes, and resampled pixels.
#include "PixelHelpers.h"
#include "graphics/BitmapScaling.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

using namespace testing_helpers;

namespace {

struct StripCase
{
    int width, height, verticalFrames, horizontalFrames;
    float factor; // one of the editor's four scales, in single precision
    int expectedWidth, expectedHeight;
};

class ScaledBitmap : public ::testing::TestWithParam<StripCase> {};

TEST_P(ScaledBitmap, HasTheComputedSizeAndKeepsAUniformColour)
{
    const StripCase& c = GetParam();
    int32_t w = 0, h = 0;
    ASSERT_TRUE(computeScaledSize(c.width, c.height, c.factor, c.verticalFrames, c.horizontalFrames, w, h));
    EXPECT_EQ(std::tuple(w, h), std::tuple(c.expectedWidth, c.expectedHeight));
    VSTGUI::CBitmap* source = makeBitmap(c.width, c.height, Bgra{40, 80, 120, 255});
    for (bool viaFrames : {false, true})
    {
        VSTGUI::CBitmap* scaled = viaFrames
            ? scaleBitmapToFrames(source, c.factor, c.verticalFrames, c.horizontalFrames, true)
            : scaleBitmap(source, c.factor, c.verticalFrames, c.horizontalFrames, true);
        ASSERT_NE(scaled, nullptr);
        EXPECT_EQ(std::tuple(scaled->getWidth(), scaled->getHeight()), std::tuple(w, h));
        // Sharpening a flat area gives it back: 1.2 c - 0.05 x 4 c = c.
        EXPECT_EQ(pixelAt(scaled, w / 2, h / 2), (Bgra{40, 80, 120, 255}));
        EXPECT_EQ(pixelAt(scaled, w - 1, h - 1), (Bgra{40, 80, 120, 255}));
        EXPECT_EQ(std::tuple(source->getNbReference(), scaled->getNbReference()), std::tuple(1, 1));
        scaled->forget();
    }
    source->forget();
}

// Skin pictures of different frame counts and roundings: keys, wheel, wave display, routing
// diagram, knob, button; then edge cases.
INSTANTIATE_TEST_SUITE_P(Strips, ScaledBitmap,
    ::testing::Values(StripCase{504, 368, 1, 1, 1.0f / 3.0f, 168, 122}, StripCase{48, 26936, 91, 1, 1.0f / 3.0f, 16, 8918},
        StripCase{204, 3840, 160, 4, 0.25f, 48, 960}, StripCase{360, 396, 3, 1, 0.25f, 90, 99},
        StripCase{156, 9828, 63, 1, 0.25f, 39, 2457}, StripCase{60, 96, 2, 1, 0.5f, 30, 48},
        StripCase{8, 300, 160, 1, 0.25f, 2, 160}, // 160 frames scaled below 160 rows: one row per frame
        StripCase{5, 100, 3, 1, 1.0f, 5, 99})); // factor 1 on 100 rows of 3 frames: 99 rows

TEST(ScaledBitmap, NoBitmapForMissingSourcesAndUnusableFactors)
{
    EXPECT_EQ(scaleBitmap(nullptr, 0.5f, 1, 1, true), nullptr);
    VSTGUI::CBitmap missing(VSTGUI::CResourceDescription(-3));
    EXPECT_EQ(scaleBitmap(&missing, 0.5f, 1, 1, true), nullptr);
    EXPECT_EQ(scaleBitmapToFrames(&missing, 0.5f, 1, 1, true), nullptr);
    VSTGUI::CBitmap* narrow = makeBitmap(3, 40, Bgra{1, 1, 1, 255});
    EXPECT_EQ(scaleBitmap(narrow, 0.25f, 1, 1, true), nullptr); // width 0 on an axis without frames
    for (float factor : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
    {
        EXPECT_EQ(scaleBitmap(narrow, factor, 1, 1, true), nullptr) << factor;
        EXPECT_EQ(scaleBitmap(narrow, factor, 4, 3, true), nullptr) << factor;
    }
    narrow->forget();
}

TEST(ScaledBitmap, GradientScaledByTwoThirdsStaysEven)
{
    // Blue rises 30 a column, green 30 a row. Each target pixel averages 1.5 source pixels
    // with fractional box edges, so the gradient keeps an even step of 45 (sharpening an even
    // gradient leaves it as it is); the last row and column reach the picture's edge.
    VSTGUI::CBitmap* source = makeBitmap(9, 9, [](int x, int y) { return Bgra{uint8_t(30 * x), uint8_t(30 * y), 100, 255}; });
    VSTGUI::CBitmap* scaled = scaleBitmap(source, 2.0f / 3.0f, 1, 1, true);
    ASSERT_NE(scaled, nullptr);
    ASSERT_EQ(scaled->getWidth(), 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelAt(scaled, x, y), (Bgra{uint8_t(45 * x + 15), uint8_t(45 * y + 15), 100, 255})) << x << "," << y;
    scaled->forget();
    source->forget();
}

struct ResampleCase
{
    int width, height;
    Bgra (*fill)(int, int);
    int32_t targetWidth, targetHeight;
    bool sharpen;
    std::vector<std::tuple<int, int, Bgra>> pixels;
};

class Resample : public ::testing::TestWithParam<ResampleCase> {};

TEST_P(Resample, Pixels)
{
    const ResampleCase& c = GetParam();
    VSTGUI::CBitmap* source = makeBitmap(c.width, c.height, c.fill);
    VSTGUI::CBitmap* target = resampleBitmap(source, c.targetWidth, c.targetHeight, c.sharpen);
    ASSERT_NE(target, nullptr);
    for (auto [x, y, expected] : c.pixels)
        EXPECT_EQ(pixelAt(target, x, y), expected) << x << "," << y;
    target->forget();
    source->forget();
}

// Four 2 x 2 blocks with different pixels inside each block.
Bgra blocks(int x, int y)
{
    return Bgra{uint8_t(10 * x + 40 * y), uint8_t(100 + x), uint8_t(200 - y), 255};
}

Bgra ramp(int x, int)
{
    return Bgra{uint8_t(30 * x), 0, 0, 255};
}

// 6 x 6 in uniform 2 x 2 blocks, halved to 3 x 3: only the centre is sharpened, against its
// four diagonal neighbours (blue 20 there, 50 in the direct ones).
Bgra cross(int x, int y)
{
    if (x / 2 == 1 && y / 2 == 1)
        return Bgra{100, 90, 150, 255};
    return Bgra{uint8_t((x / 2 + y / 2) % 2 ? 50 : 20), 60, uint8_t(40 + 10 * (y / 2)), 255};
}

Bgra darkGreen(int x, int y)
{
    return x / 2 == 1 && y / 2 == 1 ? Bgra{100, 5, 150, 200} : cross(x, y);
}

// Halving averages each block; at the same size the 2 x 2 box of the last pixels repeats the
// last column and row; sharpening: 1.2 x 100 - 0.05 x 80 = 116, 108 - 12 = 96,
// 180 - 0.05 x 200 = 170, alpha and the border kept; a channel at 5 or below: not sharpened.
INSTANTIATE_TEST_SUITE_P(Cases, Resample,
    ::testing::Values(ResampleCase{4, 4, blocks, 2, 2, false, {{0, 0, {25, 100, 199, 255}}, {1, 1, {125, 102, 197, 255}}}},
        ResampleCase{3, 1, ramp, 3, 1, false, {{0, 0, {15, 0, 0, 255}}, {1, 0, {45, 0, 0, 255}}, {2, 0, {60, 0, 0, 255}}}},
        ResampleCase{6, 6, cross, 3, 3, true, {{1, 1, {116, 96, 170, 255}}, {0, 0, {20, 60, 40, 255}}}},
        ResampleCase{6, 6, darkGreen, 3, 3, true, {{1, 1, {100, 5, 150, 200}}}}));

} // namespace
