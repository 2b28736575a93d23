// Canvas layers, background, composition and copies.
#include "PixelHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace testing_helpers;
using std::tuple;

namespace {

struct ShapeCase
{
    int32_t width, height; // 8 x 6 either way: negative sizes count by their magnitude
    uint8_t requested, factor;
    uint32_t extra;
    int32_t layers;
};

class CanvasConstruction : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(CanvasConstruction, FactorLayersAndSize)
{
    const ShapeCase& c = GetParam();
    CPixelCanvas canvas(c.width, c.height, c.requested, c.extra);
    EXPECT_EQ(tuple(canvas.getSupersampling(), canvas.getLayerCount()), tuple(c.factor, c.layers));
    EXPECT_EQ(tuple(canvas.getWidth(), canvas.getHeight(), canvas.getOutput()->getWidth()), tuple(8u, 6u, 8.0));
    EXPECT_EQ(tuple(canvas.getDrawingColour()->width, canvas.getDrawingColour()->height), tuple(8u * c.factor, 6u * c.factor));
}

INSTANTIATE_TEST_SUITE_P(Table, CanvasConstruction,
    ::testing::Values(ShapeCase{8, 6, 1, 1, 1, 2}, ShapeCase{8, 6, 0, 1, 0, 2}, ShapeCase{8, 6, 17, 1, 1, 2},
        ShapeCase{8, 6, 2, 2, 1, 2}, ShapeCase{8, 6, 16, 16, 5, 2}, ShapeCase{8, 6, 1, 1, 5, 6},
        ShapeCase{8, 6, 1, 1, 9, 6}, ShapeCase{8, 6, 1, 1, 3, 4}, ShapeCase{-8, -6, 1, 1, 1, 2}));

TEST(CanvasConstruction, EmptyOrReleasedCanvasIsSafe)
{
    CPixelCanvas empty(1);
    EXPECT_EQ(empty.getDrawingColour(), nullptr);
    empty.clear(1, 2, 3);
    empty.compose(nullptr, VSTGUI::CRect());
    empty.plotSet(0, 0, 1, 2, 3, 1.0f);
    empty.drawLine(0, 0, 10, 10, 1, 2, 3, 255);
    empty.fillCircle(2, 2, 2, 1, 1, 1, 255);
    EXPECT_EQ(empty.getCoverage(0, 0), 0.0f);
    CPixelCanvas canvas(4, 4, 1, 1);
    VSTGUI::CBitmap noPixels(VSTGUI::CResourceDescription(-5));
    canvas.setBitmap(&noPixels, 1); // a bitmap without pixels changes nothing
    EXPECT_EQ(canvas.getWidth(), 4u);
    canvas.setBackgroundColor(1, 1, 1);
    canvas.release();
    canvas.setBackgroundColor(1, 1, 1); // no size: nothing
    EXPECT_EQ(tuple(canvas.getWidth(), canvas.getBackground(), canvas.getOutput()), tuple(0u, nullptr, nullptr));
    EXPECT_EQ(canvas.pointBuffer, nullptr);
}

struct HugeCase
{
    const char* name;
    int32_t width, height;
    uint8_t factor;
};

class CanvasTooLarge : public ::testing::TestWithParam<HugeCase> {};

// A size whose colour layer would pass 2^32 - 1 bytes gives the canvas of width and height 0:
// its layers are empty and every operation on them does nothing. The first three products
// (4 x width x height x factor x factor) wrap around to 0 in 64 bits.
TEST_P(CanvasTooLarge, GivesEmptyLayers)
{
    const HugeCase& c = GetParam();
    CPixelCanvas canvas(c.width, c.height, c.factor, 1);
    ASSERT_EQ(tuple(canvas.getWidth(), canvas.getHeight(), canvas.getOutput()->getWidth()), tuple(0u, 0u, 0.0));
    EXPECT_EQ(tuple(canvas.getDrawingColour()->count, canvas.getColourLayer(0)->count, canvas.getCoverageLayer(1)->count),
        tuple(0u, 0u, 0u));
    canvas.copyLayerRect(1, 0, 0, 0, 0, 0, 64, 64, 1.0f);
    canvas.clear(9, 9, 9);
    canvas.fillRect(0, 0, 64, 64, 9, 9, 9, 255);
    canvas.compose(nullptr, VSTGUI::CRect());
    EXPECT_EQ(canvas.getCoverage(0, 0), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CanvasTooLarge,
    ::testing::Values(HugeCase{"SidesOf2To31Twice", INT32_MIN, INT32_MIN, 2},
        HugeCase{"SidesOf2To30FourTimes", -(1 << 30), 1 << 30, 4}, HugeCase{"SidesOf2To28SixteenTimes", 1 << 28, 1 << 28, 16},
        HugeCase{"SidesOf2To16", 1 << 16, 1 << 16, 1}, HugeCase{"SidesOf2048SixteenTimes", 2048, 2048, 16}),
    [](const auto& info) { return std::string(info.param.name); });

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
    EXPECT_EQ(pixelAt(canvas.getOutput(), 0, 0), (c.background ? Bgra{30, 20, 10, 255} : Bgra{}));
}

INSTANTIATE_TEST_SUITE_P(Coverage, CanvasCompose,
    ::testing::Values(ComposeCase{true, 0.049f, {30, 20, 10, 255}}, ComposeCase{true, 0.05f, {31, 24, 19, 255}},
        ComposeCase{true, 0.5f, {40, 60, 105, 255}}, ComposeCase{true, 1.0f, {50, 100, 200, 255}},
        // Without background layer 1 is copied as it is, alpha byte (0) included.
        ComposeCase{false, 0.049f, {50, 100, 200, 0}}, ComposeCase{false, 1.0f, {50, 100, 200, 0}}));

TEST(CanvasCompose, PictureBackgroundComesThroughAndANarrowOneIsLeftOut)
{
    VSTGUI::CBitmap* picture = makeBitmap(8, 4, [](int x, int y) { return Bgra{uint8_t(x * 10), uint8_t(y * 20), 7, 255}; });
    CPixelCanvas canvas(picture, 1, 1);
    canvas.compose(nullptr, VSTGUI::CRect());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixelAt(canvas.getOutput(), x, y), pixelAt(picture, x, y));
    picture->forget();
    // A width of 10 gives an 8-wide background, which compose leaves out; layer 1 still blends.
    picture = makeBitmap(10, 3, Bgra{90, 90, 90, 255});
    CPixelCanvas narrow(picture, 1, 1);
    EXPECT_EQ(tuple(narrow.getBackground()->width, narrow.getWidth()), tuple(8u, 10u));
    narrow.plotSet(9, 2, 100, 100, 100, 1.0f);
    narrow.compose(nullptr, VSTGUI::CRect());
    EXPECT_EQ(pixelAt(narrow.getOutput(), 0, 0), Bgra{});
    EXPECT_EQ(pixelAt(narrow.getOutput(), 9, 2), (Bgra{100, 100, 100, 0}));
    picture->forget();
}

TEST(CanvasCompose, CopyToBitmapOnlyIntoTheSameSize)
{
    CPixelCanvas canvas(4, 2, 1, 1);
    canvas.setBackgroundColor(1, 2, 3);
    VSTGUI::CBitmap* same = makeBitmap(4, 2, Bgra{9, 9, 9, 255});
    VSTGUI::CBitmap* wider = makeBitmap(5, 2, Bgra{9, 9, 9, 255});
    canvas.copyToBitmap(same);
    canvas.copyToBitmap(wider);
    EXPECT_EQ(pixelAt(same, 3, 1), (Bgra{3, 2, 1, 255}));
    EXPECT_EQ(pixelAt(wider, 0, 0), (Bgra{9, 9, 9, 255}));
    same->forget();
    wider->forget();
}

TEST(CanvasFill, ClearAndSetCoverage)
{
    CPixelCanvas canvas(3, 3, 1, 1);
    canvas.plotSet(0, 0, 1, 1, 1, 0.0f);
    const uint8_t* p = canvas.getDrawingColour()->bytes.get();
    canvas.clear(128, 128, 128); // grey also sets the alpha byte
    EXPECT_EQ(tuple(p[3], canvas.getCoverage(2, 2)), tuple(128, 1.0f));
    canvas.clear(128, 0, 0);
    EXPECT_EQ((Bgra{p[0], p[1], p[2], p[3]}), (Bgra{0, 0, 128, 128}));
    canvas.setCoverage(3.0f);
    EXPECT_EQ(canvas.getCoverage(2, 2), 1.0f);
    canvas.setCoverage(-1.0f);
    EXPECT_EQ(canvas.getCoverage(0, 0), 0.0f);
    canvas.setCoverage(0.25f);
    // Outside the layer: 0.
    EXPECT_EQ(tuple(canvas.getCoverage(1, 1), canvas.getCoverage(3, 0), canvas.getCoverage(uint32_t(-1), 0)), tuple(0.25f, 0.0f, 0.0f));
}

TEST(CanvasCopy, RegionMustFitTheSource)
{
    CPixelCanvas source(4, 4, 1, 1), target(4, 4, 1, 1), other(4, 4, 1, 1);
    source.plotSet(0, 0, 11, 22, 33, 0.75f);
    source.plotSet(3, 3, 44, 55, 66, 0.5f);
    target.copyRegion(&source, 0, 0, 0, 0, false, false);
    other.copyRegion(&source, 1, 0, 0, 0, false, false); // one column short: nothing
    EXPECT_EQ(rgbAt(target, 3, 3), tuple(44, 55, 66));
    EXPECT_EQ(tuple(target.getCoverage(0, 0), target.getCoverage(3, 3)), tuple(0.75f, 0.5f));
    EXPECT_EQ(rgbAt(other, 0, 0), tuple(0, 0, 0));
}

TEST(CanvasCopy, FromBackgroundChecksTheBackgroundsOwnSize)
{
    // The source canvas is 10 wide but its background only 8: a 10-wide copy would read past it.
    VSTGUI::CBitmap* picture = makeBitmap(10, 4, [](int x, int) { return Bgra{uint8_t(x), 0, 0, 255}; });
    CPixelCanvas source(picture, 1, 1);
    CPixelCanvas wide(10, 2, 1, 1), item(4, 2, 1, 1), limited(4, 2, 1, 1);
    wide.copyRegion(&source, 0, 0, 0, 0, true, false);
    EXPECT_EQ(wide.getCoverage(0, 0), 0.0f);
    item.copyRegion(&source, 2, 0, 0, 0, true, false);
    // Background rows are 8 pixels apart, the picture's 10: row 1 is sheared by 2.
    EXPECT_EQ(tuple(rgbAt(item, 3, 0), rgbAt(item, 3, 1), item.getCoverage(3, 1)), tuple(tuple(0, 0, 5), tuple(0, 0, 3), 1.0f));
    limited.copyRegion(&source, 0, 0, 2, 1, true, true);
    const uint8_t* copied = limited.getBackground()->bytes.get();
    // Column 1 of row 0 copied; column 2 beyond the column limit; row 1 beyond the row limit.
    EXPECT_EQ(tuple(copied[4 * 1], copied[4 * 2], copied[4 * 4]), tuple(1, 0, 0));
    EXPECT_EQ(limited.getCoverage(0, 0), 0.0f); // copies into the background leave coverage alone
    picture->forget();
}

struct SelfCopyCase
{
    const char* name;
    bool fromBackground, toBackground;
};

class CanvasCopyWithin : public ::testing::TestWithParam<SelfCopyCase> {};

std::vector<uint8_t> bytesOf(const CanvasLayer* layer)
{
    return std::vector<uint8_t>(layer->bytes.get(), layer->bytes.get() + layer->count);
}

// A copy inside one canvas copies what was there before the call, also when it replaces
// the background that it reads.
TEST_P(CanvasCopyWithin, CopiesWhatWasThereBefore)
{
    const SelfCopyCase& c = GetParam();
    VSTGUI::CBitmap* picture = makeBitmap(8, 4, [](int x, int y) { return Bgra{uint8_t(10 + x), uint8_t(20 + y), 30, 255}; });
    CPixelCanvas canvas(picture, 1, 1);
    picture->forget();
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            canvas.plotSet(x, y, uint8_t(100 + x), uint8_t(110 + y), 120, 0.1f * float(x + 1));
    const std::vector<uint8_t> background = bytesOf(canvas.getBackground()), drawing = bytesOf(canvas.getColourLayer(1));
    const std::string coverage = coverageArt(canvas.getDrawingCoverage());
    canvas.copyRegion(&canvas, 0, 0, 0, 0, c.fromBackground, c.toBackground);
    const std::vector<uint8_t>& copied = c.fromBackground ? background : drawing;
    EXPECT_EQ(bytesOf(canvas.getBackground()), c.toBackground ? copied : background);
    EXPECT_EQ(bytesOf(canvas.getColourLayer(1)), c.toBackground ? drawing : copied);
    // Only a copy from the background into layer 1 makes its pixels opaque.
    const bool opaque = c.fromBackground && !c.toBackground;
    EXPECT_EQ(coverageArt(canvas.getDrawingCoverage()), opaque ? "########\n########\n########\n########\n" : coverage);
}

INSTANTIATE_TEST_SUITE_P(Forms, CanvasCopyWithin,
    ::testing::Values(SelfCopyCase{"BackgroundToBackground", true, true}, SelfCopyCase{"DrawingToBackground", false, true},
        SelfCopyCase{"BackgroundToDrawing", true, false}, SelfCopyCase{"DrawingToDrawing", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasCopy, LayersOnlyBetweenPairsOfEqualSize)
{
    CPixelCanvas canvas(4, 4, 2, 1), plain(4, 4, 1, 1); // pair 2 of canvas is the 8 x 8 drawing pair
    canvas.clear(7, 7, 7);
    canvas.copyLayer(2, 1);
    canvas.copyLayer(2, 0);
    EXPECT_EQ(tuple(canvas.getColourLayer(1)->bytes[0], canvas.getColourLayer(0)->bytes[0]), tuple(0, 0));
    plain.clear(9, 9, 9);
    plain.copyLayer(1, 0);
    plain.copyLayer(6, 0); // no such pair
    EXPECT_EQ(tuple(plain.getColourLayer(0)->bytes[15], plain.getCoverageLayer(0)->floats[15]), tuple(9, 1.0f));
}

TEST(CanvasCopy, LayerRectScalesCoverageAndNeverCopiesTheLastColumnAndRow)
{
    CPixelCanvas canvas(4, 4, 1, 3);
    canvas.clear(50, 50, 50);
    canvas.copyLayerRect(1, 2, 0, 0, 0, 0, 10, 10, 0.5f);
    canvas.copyLayerRect(1, 1, 0, 0, 0, 0, 2, 2, 1.0f); // equal pairs: nothing
    canvas.copyLayerRect(1, 5, 0, 0, 0, 0, 2, 2, 1.0f); // missing pair: nothing
    EXPECT_EQ(coverageArt(canvas.getCoverageLayer(2)), "+++ \n+++ \n+++ \n    \n");
    EXPECT_EQ(tuple(canvas.getCoverageLayer(2)->floats[10], canvas.getColourLayer(2)->bytes[40]), tuple(0.5f, 50));
}

TEST(SupersampledRectangle, ComposesToOneToOne)
{
    // Drawn at twice the size. The block average reads the 2 x 2 block one sub-pixel right of
    // and below (2x, 2y) and leaves the last three columns and rows; the smooth reduction
    // darkens 2 x 2 samples to 0.88 and adds an eighth of the right and lower neighbours.
    const char* art[2] = {"        \n        \n .+++   \n +###   \n +###   \n        \n        \n        \n",
        "        \n        \n        \n  #####+\n  #####+\n  #####+\n  #####+\n        \n"};
    const tuple<uint32_t, uint32_t, int> reds[2][3] = {{{1, 2, 50}, {2, 3, 200}, {1, 3, 100}}, {{2, 3, 220}, {2, 6, 198}, {7, 3, 88}}};
    for (uint8_t smooth : {0, 1})
    {
        CPixelCanvas canvas(8, 8, 2, 1);
        canvas.smoothDownsample = smooth;
        canvas.fillRect(2, 1, 7, 5, 200, 100, 50, 255);
        canvas.compose(nullptr, VSTGUI::CRect());
        EXPECT_EQ(coverageArt(canvas.getCoverageLayer(1)), art[smooth]);
        for (auto [x, y, red] : reds[smooth])
            EXPECT_EQ(canvas.getColourLayer(1)->bytes[4 * (x + 8 * y) + 2], red) << x << "," << y;
    }
    CPixelCanvas narrow(3, 8, 2, 1); // fewer than 4 columns: the average loop would wrap
    narrow.clear(100, 100, 100);
    narrow.compose(nullptr, VSTGUI::CRect());
    EXPECT_EQ(narrow.getColourLayer(1)->bytes[0], 0);
}

} // namespace
