// Scaled sizes of every skin picture at the four editor sizes, and resampled pixels.
#include "BitmapHelpers.h"
#include "graphics/BitmapScaling.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using testing_helpers::Bgra;
using testing_helpers::makeBitmap;
using testing_helpers::pixelAt;

namespace {

// The editor's four scales ("Small", "Medium", "Large", "Huge"), in single precision.
const float kScales[4] = {0.25f, 1.0f / 3.0f, 0.5f, 0.75f};

struct SkinCase
{
    const char* name;
    int width, height, verticalFrames, horizontalFrames;
    struct
    {
        int w, h;
    } scaled[4];
};

const SkinCase kSkin[] = {
    {"kBackgroundBitmap", 3000, 2016, 1, 1, {{750, 504}, {1000, 672}, {1500, 1008}, {2250, 1512}}},
    {"kButtonBitmap", 60, 96, 2, 1, {{15, 24}, {20, 32}, {30, 48}, {45, 72}}},
    {"kOptionsButtonBitmap", 132, 168, 2, 1, {{33, 42}, {44, 56}, {66, 84}, {99, 126}}},
    {"kProgramStepBitmap", 84, 360, 3, 1, {{21, 90}, {28, 120}, {42, 180}, {63, 270}}},
    {"kWaveStepBitmap", 72, 432, 3, 1, {{18, 108}, {24, 144}, {36, 216}, {54, 324}}},
    {"kKnobBitmap", 156, 9828, 63, 1, {{39, 2457}, {52, 3276}, {78, 4914}, {117, 7371}}},
    {"kWaveDisplayBitmap", 204, 3840, 160, 4, {{48, 960}, {68, 1280}, {100, 1920}, {152, 2880}}},
    {"kWaveChooserBitmap", 408, 3840, 160, 8, {{96, 960}, {136, 1280}, {200, 1920}, {304, 2880}}},
    {"kKeysOctaveBitmapA", 504, 368, 1, 1, {{126, 92}, {168, 122}, {252, 184}, {378, 276}}},
    {"kKeysWhiteHeldBitmap", 504, 368, 1, 1, {{126, 92}, {168, 122}, {252, 184}, {378, 276}}},
    {"kKeysOctaveBitmapB", 504, 368, 1, 1, {{126, 92}, {168, 122}, {252, 184}, {378, 276}}},
    {"kKeysBlackHeldBitmap", 504, 368, 1, 1, {{126, 92}, {168, 122}, {252, 184}, {378, 276}}},
    {"kWheelBitmap", 48, 26936, 91, 1, {{12, 6734}, {16, 8918}, {24, 13468}, {36, 20202}}},
    {"kRoutingDiagramBitmap", 360, 396, 3, 1, {{90, 99}, {120, 132}, {180, 198}, {270, 297}}},
    {"kFourWaySwitchBitmap", 120, 768, 4, 1, {{30, 192}, {40, 256}, {60, 384}, {90, 576}}},
    {"kThreeWaySwitchBitmap", 204, 432, 3, 1, {{51, 108}, {68, 144}, {102, 216}, {153, 324}}},
};

class SkinSizes : public ::testing::TestWithParam<SkinCase> {};

TEST_P(SkinSizes, AtEveryEditorSize)
{
    const SkinCase& c = GetParam();
    for (int size = 0; size < 4; ++size)
    {
        int32_t w = 0, h = 0;
        ASSERT_TRUE(computeScaledSize(c.width, c.height, kScales[size], c.verticalFrames, c.horizontalFrames, w, h));
        EXPECT_EQ(w, c.scaled[size].w) << c.name << " size " << size;
        EXPECT_EQ(h, c.scaled[size].h) << c.name << " size " << size;
        if (c.verticalFrames > 1)
        {
            EXPECT_EQ(h % c.verticalFrames, 0);
        }
        if (c.horizontalFrames > 1)
        {
            EXPECT_EQ(w % c.horizontalFrames, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skin, SkinSizes, ::testing::ValuesIn(kSkin),
    [](const ::testing::TestParamInfo<SkinCase>& info) { return std::string(info.param.name); });

struct RealCase
{
    int width, height, verticalFrames, horizontalFrames;
    float factor;
    int expectedWidth, expectedHeight;
};

class ScaledBitmap : public ::testing::TestWithParam<RealCase> {};

TEST_P(ScaledBitmap, HasTheComputedSizeAndKeepsAUniformColour)
{
    const RealCase& c = GetParam();
    VSTGUI::CBitmap* source = makeBitmap(c.width, c.height, [](int, int) { return Bgra{40, 80, 120, 255}; });
    for (bool viaFrames : {false, true})
    {
        VSTGUI::CBitmap* scaled = viaFrames
            ? scaleBitmapToFrames(source, c.factor, c.verticalFrames, c.horizontalFrames, true)
            : scaleBitmap(source, c.factor, c.verticalFrames, c.horizontalFrames, true);
        ASSERT_NE(scaled, nullptr);
        EXPECT_EQ(scaled->getWidth(), c.expectedWidth);
        EXPECT_EQ(scaled->getHeight(), c.expectedHeight);
        // Sharpening a flat area gives it back: 1.2 c - 0.05 x 4 c = c.
        EXPECT_EQ(pixelAt(scaled, c.expectedWidth / 2, c.expectedHeight / 2), (Bgra{40, 80, 120, 255}));
        EXPECT_EQ(pixelAt(scaled, c.expectedWidth - 1, c.expectedHeight - 1), (Bgra{40, 80, 120, 255}));
        EXPECT_EQ(source->getNbReference(), 1);
        EXPECT_EQ(scaled->getNbReference(), 1);
        scaled->forget();
    }
    source->forget();
}

INSTANTIATE_TEST_SUITE_P(Strips, ScaledBitmap,
    ::testing::Values(RealCase{48, 26936, 91, 1, 1.0f / 3.0f, 16, 8918}, RealCase{156, 9828, 63, 1, 0.75f, 117, 7371},
        RealCase{204, 3840, 160, 4, 0.75f, 152, 2880}, RealCase{408, 3840, 160, 8, 1.0f / 3.0f, 136, 1280},
        RealCase{60, 96, 2, 1, 0.25f, 15, 24},
        // A strip of 160 frames scaled below 160 rows: one row per frame.
        RealCase{8, 300, 160, 1, 0.25f, 2, 160},
        // Factor 1 on 100 rows of 3 frames: 99 rows.
        RealCase{5, 100, 3, 1, 1.0f, 5, 99}),
    [](const ::testing::TestParamInfo<RealCase>& info) {
        return caseName(info.index, info.param.width, "x", info.param.height);
    });

TEST(ScaledBitmap, NoBitmapForMissingSourcesAndUnusableFactors)
{
    EXPECT_EQ(scaleBitmap(nullptr, 0.5f, 1, 1, true), nullptr);
    VSTGUI::CBitmap missing(VSTGUI::CResourceDescription(-3));
    EXPECT_EQ(scaleBitmap(&missing, 0.5f, 1, 1, true), nullptr);
    EXPECT_EQ(scaleBitmapToFrames(&missing, 0.5f, 1, 1, true), nullptr);
    VSTGUI::CBitmap* narrow = makeBitmap(3, 40, [](int, int) { return Bgra{1, 1, 1, 255}; });
    EXPECT_EQ(scaleBitmap(narrow, 0.25f, 1, 1, true), nullptr); // width 0 on an axis without frames
    for (float factor : {0.0f, -0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
    {
        EXPECT_EQ(scaleBitmap(narrow, factor, 1, 1, true), nullptr) << factor;
        EXPECT_EQ(scaleBitmap(narrow, factor, 4, 3, true), nullptr) << factor;
    }
    narrow->forget();
}

TEST(Resample, HalvingAveragesTwoByTwoBlocks)
{
    // 4 x 4 source of four 2 x 2 blocks with different pixels inside each block.
    VSTGUI::CBitmap* source = makeBitmap(4, 4, [](int x, int y) {
        return Bgra{uint8_t(10 * x + 40 * y), uint8_t(100 + x), uint8_t(200 - y), 255};
    });
    VSTGUI::CBitmap* half = resampleBitmap(source, 2, 2, false);
    ASSERT_NE(half, nullptr);
    // Block (0, 0): B of 0, 10, 40, 50 -> 25; G of 100, 101, 100, 101 -> 100.5 -> 100.
    EXPECT_EQ(pixelAt(half, 0, 0), (Bgra{25, 100, 199, 255}));
    EXPECT_EQ(pixelAt(half, 1, 1), (Bgra{25 + 20 + 80, 102, 197, 255}));
    half->forget();
    source->forget();
}

TEST(Resample, BordersRepeatTheLastColumnAndRow)
{
    // 3 x 1 source scaled to 3 x 1: step 1, but the box is 2 x 2; the last pixel's box
    // reads column 2 for both of its columns and row 0 for both rows.
    VSTGUI::CBitmap* source = makeBitmap(3, 1, [](int x, int) { return Bgra{uint8_t(30 * x), 0, 0, 255}; });
    VSTGUI::CBitmap* same = resampleBitmap(source, 3, 1, false);
    // x = 0: fx = 0, columns 0 (weight 1) and 1 (inner, weight 1), right column 2 weight 0.
    EXPECT_EQ(pixelAt(same, 0, 0).b, 15);
    EXPECT_EQ(pixelAt(same, 1, 0).b, 45);
    EXPECT_EQ(pixelAt(same, 2, 0).b, 60);
    same->forget();
    source->forget();
}

TEST(Resample, SharpeningSkipsDarkPixelsAndKeepsAlpha)
{
    // 6 x 6 source in uniform 2 x 2 blocks, halved to 3 x 3: only the centre is sharpened,
    // against its four diagonal neighbours.
    auto block = [](int bx, int by) -> Bgra {
        if (bx == 1 && by == 1)
            return Bgra{100, 5, 150, 200};
        return Bgra{uint8_t(20 + 10 * bx), 60, uint8_t(40 + 10 * by), 255};
    };
    VSTGUI::CBitmap* source = makeBitmap(6, 6, [&](int x, int y) { return block(x / 2, y / 2); });
    VSTGUI::CBitmap* plain = resampleBitmap(source, 3, 3, true);
    EXPECT_EQ(pixelAt(plain, 1, 1), block(1, 1)); // green 5: never sharpened
    source->forget();
    plain->forget();

    auto bright = [](int bx, int by) -> Bgra {
        if (bx == 1 && by == 1)
            return Bgra{100, 90, 150, 255};
        return Bgra{uint8_t(20 + 10 * bx), 60, uint8_t(40 + 10 * by), 255};
    };
    source = makeBitmap(6, 6, [&](int x, int y) { return bright(x / 2, y / 2); });
    VSTGUI::CBitmap* sharp = resampleBitmap(source, 3, 3, true);
    Bgra centre = pixelAt(sharp, 1, 1);
    // B: 1.2 x 100 - 0.05 x (20 + 40 + 20 + 40) = 114; G: 108 - 12 = 96; R: 180 - 0.05 x 200 = 170.
    EXPECT_EQ(centre, (Bgra{114, 96, 170, 255}));
    EXPECT_EQ(pixelAt(sharp, 0, 0), bright(0, 0)); // the border is left alone
    source->forget();
    sharp->forget();
}

} // namespace
