// Bitmap font: glyph atlas, metrics, kerning and text drawing, on font pictures
// that the tests draw themselves.
#include "PixelHelpers.h"
#include "graphics/CBitmapFont.h"
#include "graphics/CGlyphAtlas.h"
#include "graphics/CTextMask.h"
#include "platform/MessageBoxCapture.h"
#include "vstgui/lib/coffscreencontext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace testing_helpers;

namespace {

// Glyph i is 3 + i % 3 columns of ink (B, G, R 200), followed by a magenta marker in the top row.
int glyphWidth(int i)
{
    return 3 + i % 3;
}

const VSTGUI::CColor kWhite(255, 255, 255, 255);

class BitmapFont : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (VSTGUI::CBitmap* p : pictures)
            p->forget();
    }
    // A font picture with `markers` glyphs, its width padded to a multiple of 4 unless given.
    VSTGUI::CBitmap* picture(int height, int markers = 92, int width = 0)
    {
        std::vector<bool> marker;
        for (int i = 0; i < markers; ++i)
        {
            marker.resize(marker.size() + glyphWidth(i % 92), false);
            marker.push_back(true);
        }
        const int x = int(marker.size());
        pictures.push_back(makeBitmap(width ? width : (x + 3) & ~3, height, [=](int px, int py) {
            if (px >= x)
                return Bgra{};
            return !marker[px] ? Bgra{200, 200, 200, 255} : py == 0 ? Bgra{255, 0, 255, 255} : Bgra{};
        }));
        return pictures.back();
    }

    MessageBoxCapture boxes;
    std::vector<VSTGUI::CBitmap*> pictures;
};

class FontMarkers : public BitmapFont, public ::testing::WithParamInterface<int> {};

TEST_P(FontMarkers, GlyphsAreCutAtTheFirst92AndAWrongCountIsReported)
{
    const int markers = GetParam();
    CBitmapFont font;
    font.setImage(picture(40, markers), 40);
    ASSERT_NE(font.glyphRects, nullptr);
    int left = 0;
    for (int i = 0; i < 92; ++i) // glyphs not found keep an empty rectangle: 0 wide
    {
        EXPECT_EQ(font.glyphRects[i], i < markers ? VSTGUI::CRect(left, 0, left + glyphWidth(i), 40) : VSTGUI::CRect()) << i;
        left += glyphWidth(i) + 1;
    }
    EXPECT_EQ(font.atlas->mask[5 + font.atlas->getWidth() * 3], 200);
    ASSERT_EQ(boxes.messages().size(), markers == 92 ? 0u : 1u);
    if (markers == 92)
        return;
    const auto& m = boxes.messages()[0];
    EXPECT_EQ(std::tuple(m.text, m.caption, m.style),
        std::tuple("The font image must contains 92 elements (found " + std::to_string(markers)
                + ").\nThe texts may be drawed incorrectly!",
            "The font image error", 0x1010u));
}

INSTANTIATE_TEST_SUITE_P(Counts, FontMarkers, ::testing::Values(92, 93, 10));

TEST_F(BitmapFont, CharacterMapFollowsTheGlyphOrder)
{
    CBitmapFont font;
    const std::pair<char, int> glyphs[] = {
        {' ', 0}, {'A', 1}, {'a', 27}, {'1', 53}, {'0', 62}, {'*', 70}, {'"', 91}, {'~', -1}, {char(200), 70}, {0, 70}};
    for (auto [c, glyph] : glyphs)
        EXPECT_EQ(font.glyphIndexOf(c), glyph) << int(c);
}

TEST_F(BitmapFont, PicturesOutOfBoundsAreIgnored)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    CGlyphAtlas* atlas = font.atlas;
    for (VSTGUI::CBitmap* p : {picture(5), picture(1000), picture(20, 92, 10000), picture(20, 92, 462)})
    {
        font.setImage(p, 20);
        EXPECT_EQ(std::tuple(font.atlas, font.textHeight), std::tuple(atlas, 40u));
    }
    font.setImage(picture(999), 999);
    EXPECT_NE(font.atlas, nullptr);
    font.setImage(nullptr, 20);
    font.setTextHeight(30); // no atlas: nothing
    EXPECT_EQ(std::tuple(font.atlas, font.getTextHeight(), font.getTextWidth("AB", nullptr), font.textHeight),
        std::tuple(nullptr, 20, 0, 0u));
}

// A scan without a picture, or of one without pixels, leaves the atlas empty whatever it
// held: no background, no glyphs, an empty mask and no message. A later picture scans anew.
TEST_F(BitmapFont, ScanWithoutAPictureEmptiesTheAtlas)
{
    VSTGUI::CBitmap noPixels(VSTGUI::CResourceDescription(-5));
    for (VSTGUI::CBitmap* none : {static_cast<VSTGUI::CBitmap*>(nullptr), &noPixels})
    {
        VSTGUI::CBitmap* font = picture(40);
        CGlyphAtlas atlas(uint32_t(font->getWidth()), 40);
        atlas.scanGlyphs(font);
        ASSERT_EQ(atlas.markerCount, 92);
        atlas.scanGlyphs(none);
        EXPECT_EQ(std::tuple(atlas.getBackground(), atlas.getWidth(), atlas.markerCount), std::tuple(nullptr, 0u, 0));
        EXPECT_EQ(size_t(std::count(atlas.mask.get(), atlas.mask.get() + atlas.maskSize, 0)), size_t(atlas.maskSize));
        EXPECT_EQ(std::count(std::begin(atlas.glyphRects), std::end(atlas.glyphRects), VSTGUI::CRect()), 92);
        // A picture with 10 glyphs after one with 92: the other 82 are empty again.
        atlas.scanGlyphs(picture(40, 10, int(font->getWidth())));
        EXPECT_EQ(std::tuple(atlas.markerCount, atlas.glyphRects[9].right, atlas.glyphRects[10]), std::tuple(10, 48.0, VSTGUI::CRect()));
    }
    EXPECT_EQ(boxes.messages().size(), 2u); // one per 10-glyph picture
}

struct HeightCase
{
    int pictureHeight, requested;
    uint32_t textHeight;
    float scale;
    uint32_t margin, halfMargin;
    int lineHeight;
};

class FontHeight : public BitmapFont, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(FontHeight, ScaleAndMargins)
{
    const HeightCase& c = GetParam();
    CBitmapFont font;
    font.setImage(picture(c.pictureHeight), c.requested);
    EXPECT_EQ(std::tuple(font.textHeight, font.scale, font.margin, font.halfMargin, font.getTextHeight()),
        std::tuple(c.textHeight, c.scale, c.margin, c.halfMargin, c.lineHeight));
}

INSTANTIATE_TEST_SUITE_P(Table, FontHeight,
    ::testing::Values(HeightCase{40, 3, 5, 0.125f, 4, 2, 5}, HeightCase{40, 39, 39, 1.0f, 32, 16, 40},
        HeightCase{400, 10, 10, 0.05f, 1, 0, 20}, HeightCase{40, 20, 20, 0.5f, 16, 8, 20},
        HeightCase{40, 100, 40, 1.0f, 32, 16, 40}, HeightCase{40, 37, 37, 0.925f, 29, 14, 37}));

TEST_F(BitmapFont, WidthSkipsCharactersWithoutGlyphStarsHighCodesRoundsUpAndKerns)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    auto width = [&](const char* text) { return font.getTextWidth(text, nullptr); };
    const int a = glyphWidth(1), b = glyphWidth(2);
    EXPECT_EQ(std::tuple(width("AB"), width("A~B"), width("\xc8\xc8")), std::tuple(a + b, a + b, 2 * glyphWidth(70)));
    font.letterSpacing = 2;
    EXPECT_EQ(width("AB"), a + b + 4);
    font.letterSpacing = 0;
    // Kerning: a later record for a pair wins, codes of 255 have no place, and every text
    // ends kerned against the asterisk.
    const KerningRecord records[] = {{'B', '*', 3}, {'A', 'B', -1}, {'A', 'B', 2}, {255, 'A', 9}, {'A', 255, 9}};
    font.setKerning(records, 5);
    EXPECT_EQ(std::tuple(font.kerningEnabled, width("AB"), width("B")), std::tuple(true, a + b + 5, b + 3));
    font.clearKerning();
    EXPECT_EQ(std::tuple(font.kerningEnabled, width("AB")), std::tuple(true, a + b));
    font.kerningEnabled = false;
    font.setKerning(nullptr, 0);
    EXPECT_TRUE(font.kerningEnabled);
    font.setTextHeight(20); // scale 0.5
    EXPECT_EQ(width("AB"), (a + b + 1) / 2);
}

// First and last column of the context holding anything drawn (alpha above 0) in row y.
std::pair<int, int> inkSpan(VSTGUI::COffscreenContext* context, int y)
{
    VSTGUI::CBitmap* bitmap = context->getBitmap();
    std::pair<int, int> span{-1, -1};
    for (int x = 0; x < int(bitmap->getWidth()); ++x)
        if (pixelAt(bitmap, x, y).a > 0)
            span = {span.first < 0 ? x : span.first, x};
    return span;
}

struct PlaceCase
{
    const char* text;
    int32_t alignment;
    bool bold;
    int16_t kerning; // between two '1'
    double left; // expected place of the text bitmap
    std::pair<int, int> ink; // drawn columns in the glyphs' middle row
};

class TextPlacement : public BitmapFont, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(TextPlacement, RectangleAndInk)
{
    const PlaceCase& c = GetParam();
    CBitmapFont font;
    // Text height = picture height at scale 1: margin 32, the line is drawn unreduced.
    font.setImage(picture(40), 40);
    const KerningRecord pair{'1', '1', c.kerning};
    font.setKerning(&pair, 1);
    auto context = VSTGUI::COffscreenContext::create(nullptr, 400, 160);
    VSTGUI::CRect rect(100, 50, 300, 90);
    font.drawText(CFixedString(c.text), context, rect, kWhite, c.alignment, 1.0f, false, c.bold);
    EXPECT_EQ(font.letterSpacing, 0);
    // Line height 40 + 32, top = (20 - 36) + 51 = 35; width 200 + 32, a multiple of 4.
    EXPECT_EQ(rect, VSTGUI::CRect(c.left, 35, c.left + 232, 35 + 72));
    EXPECT_EQ(inkSpan(context, 35 + 16 + 20), c.ink);
}

// The pen starts at 16, at 10 after a lone leading sign; glyphs: '1' and '-' 5, '+' 4 wide.
// Right: 300 - textW - 31; centred: 100 - 16 + (100 - textW / 2).
INSTANTIATE_TEST_SUITE_P(Cases, TextPlacement,
    ::testing::Values(PlaceCase{"11", 0, false, 0, 84, {100, 109}}, PlaceCase{"+1", 0, false, 0, 84, {94, 102}},
        PlaceCase{"++1", 0, false, 0, 84, {100, 112}}, PlaceCase{"-", 0, false, 0, 84, {94, 98}},
        PlaceCase{"--", 0, false, 0, 84, {100, 109}}, PlaceCase{"11", 2, false, 0, 259, {275, 284}},
        PlaceCase{"11", 1, false, 0, 179, {195, 204}}, PlaceCase{"11", 0, false, 3, 84, {100, 112}},
        // Bold starts a pixel further, advances a pixel more per glyph and thickens to the right.
        PlaceCase{"11", 0, true, 0, 84, {101, 112}}));

TEST_F(BitmapFont, NothingToDraw)
{
    CBitmapFont font;
    auto context = VSTGUI::COffscreenContext::create(nullptr, 100, 100);
    VSTGUI::CRect rect(10, 10, 90, 40);
    const VSTGUI::CRect before = rect;
    font.drawText(CFixedString("A"), context, rect, kWhite, 0, 1.0f, false, false); // no picture
    EXPECT_EQ(rect, before);
    font.setImage(picture(40), 40);
    font.drawText(CFixedString("~"), context, rect, kWhite, 0, 1.0f, false, false); // no width
    font.drawText(CFixedString(""), context, rect, kWhite, 0, 1.0f, false, false);
    font.drawText(CFixedString("A"), nullptr, rect, kWhite, 0, 1.0f, false, false);
    VSTGUI::CRect empty(10, 10, 10, 40);
    font.drawText(CFixedString("A"), context, empty, kWhite, 0, 1.0f, false, false);
    EXPECT_EQ(rect, before);
    EXPECT_EQ(inkSpan(context, 25).first, -1);
    font.drawBitmapText("AB", context, rect, kWhite, 0, 1.0f, true, true);
    EXPECT_EQ(rect, before); // the C-string form keeps the caller's rectangle
    EXPECT_NE(inkSpan(context, 40).first, -1);
}

// Pixels of the context holding anything drawn (alpha above 0).
int inkedPixels(VSTGUI::COffscreenContext* context)
{
    VSTGUI::CBitmap* bitmap = context->getBitmap();
    int inked = 0;
    if (PixelAccessRef access = lockPixels(bitmap))
        for (int y = 0; y < int(bitmap->getHeight()); ++y)
            for (int x = 0; x < int(bitmap->getWidth()); ++x)
                inked += access->getAddress()[y * access->getBytesPerRow() + 4 * x + 3] != 0;
    return inked;
}

struct NotFiniteTextCase
{
    const char* name;
    bool picturePath;
    float scale;
    VSTGUI::CRect rect;
};

class TextNotFinite : public BitmapFont, public ::testing::WithParamInterface<NotFiniteTextCase> {};

// A scale or rectangle that is not finite draws nothing and leaves the rectangle, the
// platform font's size and the context as they were: the context still draws afterwards.
TEST_P(TextNotFinite, DrawsNothingAndTheContextStillDraws)
{
    const NotFiniteTextCase& c = GetParam();
    CBitmapFont font;
    font.useImage = c.picturePath;
    font.setImage(picture(40), 40);
    const VSTGUI::CCoord size = font.fallbackFont->getSize();
    auto context = VSTGUI::COffscreenContext::create(nullptr, 200, 80);
    VSTGUI::CRect rect = c.rect;
    font.drawText(CFixedString("AB"), context, rect, kWhite, 1, c.scale, false, false);
    EXPECT_EQ(std::memcmp(&rect, &c.rect, sizeof rect), 0);
    EXPECT_EQ(std::tuple(font.fallbackFont->getSize(), inkedPixels(context)), std::tuple(size, 0));
    VSTGUI::CRect fine(10, 10, 190, 70);
    font.drawText(CFixedString("AB"), context, fine, kWhite, 1, 1.0f, false, false);
    EXPECT_GT(inkedPixels(context), 0);
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
const double kInfD = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Table, TextNotFinite,
    ::testing::Values(NotFiniteTextCase{"PictureScaleNaN", true, kNaN, {10, 10, 190, 70}},
        NotFiniteTextCase{"PictureScaleInf", true, kInf, {10, 10, 190, 70}},
        NotFiniteTextCase{"PictureScaleMinusInf", true, -kInf, {10, 10, 190, 70}},
        NotFiniteTextCase{"PictureLeftMinusInf", true, 1.0f, {-kInfD, 10, 190, 70}},
        NotFiniteTextCase{"PictureTopNaN", true, 1.0f, {10, double(kNaN), 190, 70}},
        NotFiniteTextCase{"PictureWidthInf", true, 1.0f, {-1e308, 10, 1e308, 70}},
        NotFiniteTextCase{"PlatformScaleNaN", false, kNaN, {10, 10, 190, 70}},
        NotFiniteTextCase{"PlatformScaleInf", false, kInf, {10, 10, 190, 70}},
        NotFiniteTextCase{"PlatformBottomInf", false, 1.0f, {10, 10, 190, kInfD}},
        NotFiniteTextCase{"PlatformTopNaN", false, 1.0f, {10, double(kNaN), 190, 70}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BitmapFont, PlatformFontMeasuresPlusThreeDrawsAndKeepsItsSize)
{
    CBitmapFont font;
    font.useImage = false;
    EXPECT_EQ(font.getTextWidth("Hello", nullptr), 0);
    auto context = VSTGUI::COffscreenContext::create(nullptr, 200, 40);
    context->setFont(font.fallbackFont, 0, -1);
    const int platform = int(context->getStringWidth("Hello"));
    EXPECT_GT(platform, 0);
    EXPECT_EQ(font.getTextWidth("Hello", context), platform + 3);
    VSTGUI::CRect rect(0, 0, 200, 40);
    const VSTGUI::CCoord size = font.fallbackFont->getSize();
    font.drawText(CFixedString("Hello"), context, rect, kWhite, 0, 2.0f, false, false);
    EXPECT_EQ(font.fallbackFont->getSize(), size);
    EXPECT_EQ(rect, VSTGUI::CRect(0, 0, 200, 40));
    bool inked = false;
    for (int y = 0; y < 40; ++y)
        inked = inked || inkSpan(context, y).first >= 0;
    EXPECT_TRUE(inked);
}

TEST_F(BitmapFont, GlyphSheetIsAttemptedOnce)
{
    CBitmapFont font;
    font.setImage(picture(20), 20);
    font.drawGlyphSheet(); // no frame: nothing drawn, but attempted
    EXPECT_TRUE(font.glyphSheetDone);
    EXPECT_TRUE(font.useImage);
}

// ---- the text mask on its own

TEST(TextMask, SizesOutsideTheRangeGiveAnEmptyMask)
{
    CTextMask tooWide(10000, 10, false, false), fine(8, 8, false, false);
    EXPECT_EQ(tooWide.size, 0u);
    EXPECT_EQ(std::tuple(tooWide.render(kWhite, 4, 4), fine.render(kWhite, 0, 4), fine.render(kWhite, 4, 10001)),
        std::tuple(nullptr, nullptr, nullptr));
}

TEST(TextMask, SameHeightIsSharpenedAndColouredWithoutOutline)
{
    CTextMask mask(6, 6, false, false);
    mask.coverage[2 * 6 + 2] = 200;
    VSTGUI::CBitmap* bitmap = mask.render(VSTGUI::CColor(255, 128, 1, 255), 6, 6);
    ASSERT_NE(bitmap, nullptr);
    // 1.2 x 200 = 240; premultiplied: G = int(128 x 240 / 255) = 120.
    EXPECT_EQ(std::tuple(pixelAt(bitmap, 2, 2), pixelAt(bitmap, 1, 2), pixelAt(bitmap, 3, 2)),
        std::tuple(Bgra{0, 120, 240, 240}, Bgra{}, Bgra{}));
    bitmap->forget();
}

// A 4 x 4 patch of coverage `ink` in a 16 x 16 mask, reduced to 8 x 8: a 2 x 2 block of
// text at output pixels (3..4, 3..4).
VSTGUI::CBitmap* renderBlock(const VSTGUI::CColor& colour, uint8_t ink)
{
    CTextMask mask(16, 16, false, false);
    for (int y = 6; y < 10; ++y)
        for (int x = 6; x < 10; ++x)
            mask.coverage[y * 16 + x] = ink;
    return mask.render(colour, 8, 8);
}

struct RingCase
{
    const char* name;
    VSTGUI::CColor colour;
    uint8_t ink;
    Bgra text; // every pixel of the block
    Bgra rim; // every outline pixel
    int rimPixels;
};

class TextOutline : public ::testing::TestWithParam<RingCase> {};

TEST_P(TextOutline, RingAroundATwoByTwoBlock)
{
    const RingCase& c = GetParam();
    VSTGUI::CBitmap* bitmap = renderBlock(c.colour, c.ink);
    ASSERT_NE(bitmap, nullptr);
    int rim = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            const Bgra p = pixelAt(bitmap, x, y);
            const bool text = x >= 3 && x <= 4 && y >= 3 && y <= 4;
            rim += !text && p.a != 0;
            EXPECT_EQ(p, text ? c.text : p.a != 0 ? c.rim : Bgra{}) << c.name << " at " << x << "," << y;
        }
    EXPECT_EQ(rim, c.rimPixels) << c.name;
    bitmap->forget();
}

// Light text: a ring of the 8 pixels beside the block. Dark text: its grey rim pixels count
// as drawn, so the second pass adds the corners below left and above right (10).
// Blue 1 at coverage 200 (220 sharpened) gives text pixels a blue byte of 0: they stay text.
INSTANTIATE_TEST_SUITE_P(Colours, TextOutline,
    ::testing::Values(RingCase{"light", {200, 200, 200, 255}, 255, {200, 200, 200, 255}, {0, 0, 0, 55}, 8},
        RingCase{"dark", {40, 40, 40, 255}, 255, {40, 40, 40, 255}, {35, 35, 35, 35}, 10},
        RingCase{"blueZero", {200, 200, 1, 255}, 200, {0, 172, 172, 220}, {0, 0, 0, 55}, 8},
        RingCase{"noBlue", {200, 200, 0, 255}, 255, {0, 200, 200, 255}, {}, 0}));

TEST(TextMask, FaintCoverageLeavesNoTrace)
{
    // A stem in column 5, reduced by 2. Faint specks (60) alone in their boxes and fringes of
    // 4 on the boxes' edge cells beside the stem must not show: the text draws as without them.
    auto render = [](bool faint) {
        CTextMask mask(16, 16, false, false);
        for (int y = 2; y < 14; ++y)
        {
            mask.coverage[y * 16 + 5] = 255;
            if (faint)
                mask.coverage[y * 16 + 4] = mask.coverage[y * 16 + 6] = 4;
            if (faint && y % 2)
                mask.coverage[y * 16 + 11] = 60;
        }
        return mask.render(kWhite, 8, 8);
    };
    VSTGUI::CBitmap* plain = render(false);
    VSTGUI::CBitmap* faint = render(true);
    EXPECT_GT(pixelAt(plain, 2, 3).a, 100);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixelAt(faint, x, y), pixelAt(plain, x, y)) << x << "," << y;
    plain->forget();
    faint->forget();
}

TEST(TextMask, EnlargingReadsStayInsideTheMask)
{
    // Output larger than the mask: the box reaches past the last column and row.
    CTextMask mask(4, 4, true, true);
    for (uint32_t i = 0; i < mask.size; ++i)
        mask.coverage[i] = 255;
    VSTGUI::CBitmap* bitmap = mask.render(kWhite, 8, 8);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_GT(pixelAt(bitmap, 6, 6).a, 0);
    bitmap->forget();
}

TEST(TextMask, ItalicLeansRowsRightAndBoldThickens)
{
    CTextMask mask(8, 10, true, false);
    for (uint32_t y = 0; y < 10; ++y)
        mask.coverage[y * 8 + 1] = 255;
    mask.render(kWhite, 8, 10)->forget();
    // Bottom row stays; the top row moved by int(9 x 0.3) = 2.
    EXPECT_EQ(std::tuple(mask.coverage[9 * 8 + 1], mask.coverage[0 * 8 + 3], mask.coverage[0 * 8 + 1]), std::tuple(255, 255, 0));

    CTextMask thick(8, 8, false, true);
    thick.coverage[3 * 8 + 3] = 100;
    thick.render(kWhite, 8, 8)->forget();
    const uint8_t* c = thick.coverage.get(); // right, below and below right thickened; above not
    EXPECT_EQ(std::tuple(c[3 * 8 + 4], c[4 * 8 + 3], c[4 * 8 + 4], c[2 * 8 + 3]), std::tuple(100, 100, 100, 0));
}

} // namespace
