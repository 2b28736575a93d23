// Canvas layers, background, composition and copies.
#include "BitmapHelpers.h"
#include "graphics/CPixelCanvas.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_helpers::Bgra;
using testing_helpers::makeBitmap;
using testing_helpers::pixelAt;

namespace {

struct FactorCase
{
    uint8_t requested;
    uint8_t expected;
    uint32_t extra;
    int32_t layers;
};

class CanvasConstruction : public ::testing::TestWithParam<FactorCase> {};

TEST_P(CanvasConstruction, FactorAndLayerCount)
{
    const FactorCase& c = GetParam();
    CPixelCanvas canvas(8, 6, c.requested, c.extra);
    EXPECT_EQ(canvas.getSupersampling(), c.expected);
    EXPECT_EQ(canvas.getLayerCount(), c.layers);
    EXPECT_EQ(canvas.getWidth(), 8u);
    EXPECT_EQ(canvas.getHeight(), 6u);
    ASSERT_NE(canvas.getDrawingColour(), nullptr);
    EXPECT_EQ(canvas.getDrawingColour()->width, 8u * c.expected);
    EXPECT_EQ(canvas.getDrawingColour()->height, 6u * c.expected);
    ASSERT_NE(canvas.getOutput(), nullptr);
    EXPECT_EQ(canvas.getOutput()->getWidth(), 8);
}

INSTANTIATE_TEST_SUITE_P(Table, CanvasConstruction,
    ::testing::Values(FactorCase{1, 1, 1, 2}, FactorCase{0, 1, 0, 2}, FactorCase{17, 1, 1, 2},
        FactorCase{2, 2, 1, 2}, FactorCase{16, 16, 5, 2}, FactorCase{1, 1, 5, 6}, FactorCase{1, 1, 9, 6},
        FactorCase{1, 1, 3, 4}),
    [](const ::testing::TestParamInfo<FactorCase>& info) {
        return caseName(info.index, "factor", int(info.param.requested), "layers", info.param.layers);
    });

TEST(CanvasConstruction, NegativeSizeTakesAbsoluteValues)
{
    CPixelCanvas canvas(-5, -3, 1, 1);
    EXPECT_EQ(canvas.getWidth(), 5u);
    EXPECT_EQ(canvas.getHeight(), 3u);
}

TEST(CanvasConstruction, FactorAloneIsEmptyAndSafe)
{
    CPixelCanvas canvas(1);
    EXPECT_EQ(canvas.getDrawingColour(), nullptr);
    canvas.clear(1, 2, 3);
    canvas.compose(nullptr, VSTGUI::CRect());
    canvas.plotSet(0, 0, 1, 2, 3, 1.0f);
    canvas.drawLine(0, 0, 10, 10, 1, 2, 3, 255);
    canvas.fillCircle(2, 2, 2, 1, 1, 1, 255);
    EXPECT_EQ(canvas.getCoverage(0, 0), 0.0f);
}

struct ComposeCase
{
    bool background;
    float coverage;
    Bgra expected;
};

class CanvasCompose : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(CanvasCompose, BlendsLayerOneOverTheBase)
{
    const ComposeCase& c = GetParam();
    CPixelCanvas canvas(4, 4, 1, 1);
    if (c.background)
        canvas.setBackgroundColor(10, 20, 30);
    canvas.plotSet(1, 2, 200, 100, 50, c.coverage);
    canvas.compose(nullptr, VSTGUI::CRect());
    EXPECT_EQ(pixelAt(canvas.getOutput(), 1, 2), c.expected);
    // A pixel nothing was drawn on shows the base.
    Bgra untouched = c.background ? Bgra{30, 20, 10, 255} : Bgra{0, 0, 0, 0};
    EXPECT_EQ(pixelAt(canvas.getOutput(), 0, 0), untouched);
}

INSTANTIATE_TEST_SUITE_P(Coverage, CanvasCompose,
    ::testing::Values(ComposeCase{true, 0.049f, {30, 20, 10, 255}}, ComposeCase{true, 0.05f, {31, 24, 19, 255}},
        ComposeCase{true, 0.5f, {40, 60, 105, 255}}, ComposeCase{true, 1.0f, {50, 100, 200, 255}},
        // Without background layer 1 is copied as it is, alpha byte (0) included.
        ComposeCase{false, 0.049f, {50, 100, 200, 0}}, ComposeCase{false, 0.5f, {50, 100, 200, 0}},
        ComposeCase{false, 1.0f, {50, 100, 200, 0}}),
    [](const ::testing::TestParamInfo<ComposeCase>& info) {
        return caseName(info.index, info.param.background ? "overBase" : "alone");
    });

TEST(CanvasCompose, FreshCanvasWithBackgroundGivesTheBackground)
{
    VSTGUI::CBitmap* picture = makeBitmap(8, 4, [](int x, int y) {
        return Bgra{uint8_t(x * 10), uint8_t(y * 20), 7, 255};
    });
    CPixelCanvas canvas(picture, 1, 1);
    canvas.compose(nullptr, VSTGUI::CRect());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixelAt(canvas.getOutput(), x, y), pixelAt(picture, x, y));
    picture->forget();
}

TEST(CanvasCompose, NarrowBackgroundIsLeftOutButPairZeroStillBlends)
{
    VSTGUI::CBitmap* picture = makeBitmap(10, 3, [](int, int) { return Bgra{90, 90, 90, 255}; });
    CPixelCanvas canvas(picture, 1, 1);
    ASSERT_NE(canvas.getBackground(), nullptr);
    EXPECT_EQ(canvas.getBackground()->width, 8u);
    EXPECT_EQ(canvas.getWidth(), 10u);
    canvas.plotSet(9, 2, 100, 100, 100, 1.0f);
    canvas.compose(nullptr, VSTGUI::CRect());
    EXPECT_EQ(pixelAt(canvas.getOutput(), 0, 0), (Bgra{0, 0, 0, 0})); // layer 0 kept its zero bytes
    EXPECT_EQ(pixelAt(canvas.getOutput(), 9, 2), (Bgra{100, 100, 100, 0}));
    picture->forget();
}

TEST(CanvasClear, GreySetsAlphaColourKeepsIt)
{
    CPixelCanvas canvas(3, 3, 1, 1);
    canvas.plotSet(0, 0, 1, 1, 1, 0.0f);
    canvas.clear(128, 128, 128);
    const uint8_t* p = canvas.getDrawingColour()->bytes.get();
    EXPECT_EQ(p[3], 128);
    EXPECT_EQ(canvas.getCoverage(2, 2), 1.0f);
    canvas.clear(128, 0, 0);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 128);
    EXPECT_EQ(p[3], 128);
}

TEST(CanvasCoverage, SetCoverageClampsAndGetCoverageIsZeroOutside)
{
    CPixelCanvas canvas(4, 4, 1, 1);
    canvas.setCoverage(3.0f);
    EXPECT_EQ(canvas.getCoverage(3, 3), 1.0f);
    canvas.setCoverage(-1.0f);
    EXPECT_EQ(canvas.getCoverage(0, 0), 0.0f);
    canvas.setCoverage(0.25f);
    EXPECT_EQ(canvas.getCoverage(4, 0), 0.0f);
    EXPECT_EQ(canvas.getCoverage(uint32_t(-1), 0), 0.0f);
    EXPECT_EQ(canvas.getCoverage(1, 1), 0.25f);
}

TEST(CanvasCopyToBitmap, CopiesOnlyIntoTheSameSize)
{
    CPixelCanvas canvas(4, 2, 1, 1);
    canvas.setBackgroundColor(1, 2, 3);
    VSTGUI::CBitmap* same = makeBitmap(4, 2, [](int, int) { return Bgra{9, 9, 9, 255}; });
    VSTGUI::CBitmap* wider = makeBitmap(5, 2, [](int, int) { return Bgra{9, 9, 9, 255}; });
    canvas.copyToBitmap(same);
    canvas.copyToBitmap(wider);
    EXPECT_EQ(pixelAt(same, 3, 1), (Bgra{3, 2, 1, 255}));
    EXPECT_EQ(pixelAt(wider, 0, 0), (Bgra{9, 9, 9, 255}));
    same->forget();
    wider->forget();
}

TEST(CanvasCopyRegion, WholeTargetMustFitTheSource)
{
    CPixelCanvas source(4, 4, 1, 1);
    source.plotSet(0, 0, 11, 22, 33, 0.75f);
    source.plotSet(3, 3, 44, 55, 66, 0.5f);
    CPixelCanvas target(4, 4, 1, 1);
    target.copyRegion(&source, 0, 0, 0, 0, false, false);
    uint8_t r, g, b;
    target.getPixel(3, 3, r, g, b);
    EXPECT_EQ(r, 44);
    EXPECT_EQ(target.getCoverage(0, 0), 0.75f);

    CPixelCanvas other(4, 4, 1, 1);
    other.copyRegion(&source, 1, 0, 0, 0, false, false);
    other.getPixel(0, 0, r, g, b);
    EXPECT_EQ(r, 0);
}

TEST(CanvasCopyRegion, FromBackgroundChecksTheBackgroundsOwnSize)
{
    // The source canvas is 10 wide but its background only 8: a 10-wide copy would read past it.
    VSTGUI::CBitmap* picture = makeBitmap(10, 4, [](int x, int) { return Bgra{uint8_t(x), 0, 0, 255}; });
    CPixelCanvas source(picture, 1, 1);
    CPixelCanvas wide(10, 2, 1, 1);
    wide.copyRegion(&source, 0, 0, 0, 0, true, false);
    EXPECT_EQ(wide.getCoverage(0, 0), 0.0f);

    CPixelCanvas item(4, 2, 1, 1);
    item.copyRegion(&source, 2, 0, 0, 0, true, false);
    uint8_t r, g, b;
    item.getPixel(3, 0, r, g, b);
    EXPECT_EQ(b, 5);
    // Background rows are 8 pixels apart while the picture's are 10: row 1 is sheared by 2.
    item.getPixel(3, 1, r, g, b);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(item.getCoverage(3, 1), 1.0f);

    CPixelCanvas limited(4, 2, 1, 1);
    limited.copyRegion(&source, 0, 0, 2, 1, true, true);
    ASSERT_NE(limited.getBackground(), nullptr);
    EXPECT_EQ(limited.getBackground()->bytes[4 * 1], 1); // column 1, row 0 copied
    EXPECT_EQ(limited.getBackground()->bytes[4 * 2], 0); // column 2 beyond the column limit
    EXPECT_EQ(limited.getBackground()->bytes[4 * 4], 0); // row 1 beyond the row limit
    EXPECT_EQ(limited.getCoverage(0, 0), 0.0f); // copies into the background leave coverage alone
    picture->forget();
}

TEST(CanvasCopyLayer, OnlyBetweenPairsOfEqualSize)
{
    CPixelCanvas canvas(4, 4, 2, 1); // pair 2 is the 8 x 8 drawing pair
    canvas.clear(7, 7, 7);
    canvas.copyLayer(2, 1);
    canvas.copyLayer(2, 0);
    EXPECT_EQ(canvas.getColourLayer(1)->bytes[0], 0);
    EXPECT_EQ(canvas.getColourLayer(0)->bytes[0], 0);

    CPixelCanvas plain(4, 4, 1, 1);
    plain.clear(9, 9, 9);
    plain.copyLayer(1, 0);
    EXPECT_EQ(plain.getColourLayer(0)->bytes[15], 9);
    EXPECT_EQ(plain.getCoverageLayer(0)->floats[15], 1.0f);
    plain.copyLayer(6, 0); // no such pair
}

TEST(CanvasCopyLayerRect, LastColumnAndRowAreNeverCopiedAndCoverageScales)
{
    CPixelCanvas canvas(4, 4, 1, 3);
    canvas.clear(50, 50, 50);
    canvas.copyLayerRect(1, 2, 0, 0, 0, 0, 10, 10, 0.5f);
    const CanvasLayer* colour = canvas.getColourLayer(2);
    const CanvasLayer* coverage = canvas.getCoverageLayer(2);
    EXPECT_EQ(colour->bytes[4 * (2 + 4 * 2)], 50);
    EXPECT_EQ(coverage->floats[2 + 4 * 2], 0.5f);
    EXPECT_EQ(colour->bytes[4 * (3 + 4 * 0)], 0);
    EXPECT_EQ(colour->bytes[4 * (0 + 4 * 3)], 0);
    canvas.copyLayerRect(1, 1, 0, 0, 0, 0, 2, 2, 1.0f); // equal pairs: nothing
    canvas.copyLayerRect(1, 5, 0, 0, 0, 0, 2, 2, 1.0f); // missing pair: nothing
}

TEST(CanvasSupersampling, BlockAverageKeepsTheLastThreeColumnsAndRows)
{
    CPixelCanvas canvas(8, 8, 2, 1);
    canvas.clear(100, 100, 100);
    canvas.compose(nullptr, VSTGUI::CRect());
    const CanvasLayer* one = canvas.getColourLayer(1);
    EXPECT_EQ(one->bytes[0], 100);
    EXPECT_EQ(one->bytes[4 * (4 + 8 * 4)], 100);
    EXPECT_EQ(one->bytes[4 * 5], 0);
    EXPECT_EQ(one->bytes[4 * (8 * 5)], 0);
    EXPECT_FLOAT_EQ(canvas.getCoverageLayer(1)->floats[0], 1.0f);
}

TEST(CanvasSupersampling, NarrowCanvasSkipsTheBlockAverage)
{
    // Fewer than 4 columns: the average loop would run to width - 4 and wrap.
    CPixelCanvas canvas(3, 8, 2, 1);
    canvas.clear(100, 100, 100);
    canvas.compose(nullptr, VSTGUI::CRect());
    EXPECT_EQ(canvas.getColourLayer(1)->bytes[0], 0);
}

TEST(CanvasSupersampling, SmoothSampleAveragesTwoByTwoWithGlow)
{
    CPixelCanvas canvas(4, 4, 2, 1);
    canvas.smoothDownsample = 1;
    canvas.clear(100, 100, 100);
    canvas.compose(nullptr, VSTGUI::CRect());
    const CanvasLayer* one = canvas.getColourLayer(1);
    // Edge pixel: int(100 x 0.88) = 88; interior adds (88 + 88) >> 3 = 22.
    EXPECT_EQ(one->bytes[0], 88);
    EXPECT_EQ(one->bytes[4 * (1 + 4 * 1)], 110);
    EXPECT_FLOAT_EQ(canvas.getCoverageLayer(1)->floats[0], 1.0f);
}

TEST(CanvasRelease, ReturnsToTheEmptyState)
{
    CPixelCanvas canvas(4, 4, 1, 1);
    canvas.setBackgroundColor(1, 1, 1);
    canvas.release();
    EXPECT_EQ(canvas.getWidth(), 0u);
    EXPECT_EQ(canvas.getBackground(), nullptr);
    EXPECT_EQ(canvas.getOutput(), nullptr);
    EXPECT_EQ(canvas.pointBuffer, nullptr);
    canvas.setBackgroundColor(1, 1, 1); // no size: nothing
    EXPECT_EQ(canvas.getBackground(), nullptr);
}

TEST(CanvasBitmap, BitmapWithoutPixelsChangesNothing)
{
    CPixelCanvas canvas(4, 4, 1, 1);
    VSTGUI::CBitmap empty(VSTGUI::CResourceDescription(-5));
    canvas.setBitmap(&empty, 1);
    EXPECT_EQ(canvas.getWidth(), 4u);
    canvas.loadBitmapPixels(nullptr);
    EXPECT_EQ(canvas.getBackground(), nullptr);
}

} // namespace
