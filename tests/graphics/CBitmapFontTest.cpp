// Bitmap font: glyph atlas, metrics, kerning and text drawing, on font pictures
// that the tests draw themselves.
#include "BitmapHelpers.h"
#include "graphics/CBitmapFont.h"
#include "graphics/CGlyphAtlas.h"
#include "graphics/CTextMask.h"
#include "platform/MessageBoxCapture.h"
#include "vstgui/lib/coffscreencontext.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <vector>

using testing_helpers::Bgra;
using testing_helpers::makeBitmap;
using testing_helpers::pixelAt;

namespace {

// Glyph i is 3 + i % 3 columns of ink (B, G, R 200), followed by a magenta marker in the top row.
int glyphWidth(int i)
{
    return 3 + i % 3;
}

// A font picture with `markers` glyphs (92 normally), its width padded to a multiple of 4
// unless `width` is given.
VSTGUI::CBitmap* makeFontPicture(int height, int markers = 92, int width = 0)
{
    std::vector<int> markerColumns;
    int x = 0;
    for (int i = 0; i < markers; ++i)
    {
        x += glyphWidth(i % 92);
        markerColumns.push_back(x++);
    }
    if (width == 0)
        width = (x + 3) & ~3;
    return makeBitmap(width, height, [=](int px, int py) {
        for (int m : markerColumns)
            if (px == m)
                return py == 0 ? Bgra{255, 0, 255, 255} : Bgra{0, 0, 0, 0};
        return px < x ? Bgra{200, 200, 200, 255} : Bgra{0, 0, 0, 0};
    });
}

class BitmapFont : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (VSTGUI::CBitmap* p : pictures)
            p->forget();
    }
    VSTGUI::CBitmap* picture(int height, int markers = 92, int width = 0)
    {
        pictures.push_back(makeFontPicture(height, markers, width));
        return pictures.back();
    }

    MessageBoxCapture boxes;
    std::vector<VSTGUI::CBitmap*> pictures;
};

TEST_F(BitmapFont, GlyphsAreCutAtTheMarkers)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    ASSERT_NE(font.glyphRects, nullptr);
    EXPECT_TRUE(boxes.messages().empty());
    int left = 0;
    for (int i = 0; i < 92; ++i)
    {
        EXPECT_EQ(font.glyphRects[i].left, left) << i;
        EXPECT_EQ(font.glyphRects[i].right, left + glyphWidth(i)) << i;
        EXPECT_EQ(font.glyphRects[i].top, 0);
        EXPECT_EQ(font.glyphRects[i].bottom, 40);
        left += glyphWidth(i) + 1;
    }
    EXPECT_EQ(font.atlas->mask[5 + font.atlas->getWidth() * 3], 200);
}

TEST_F(BitmapFont, CharacterMapFollowsTheGlyphOrder)
{
    CBitmapFont font;
    EXPECT_EQ(font.charMap[' '], 0);
    EXPECT_EQ(font.charMap['A'], 1);
    EXPECT_EQ(font.charMap['a'], 27);
    EXPECT_EQ(font.charMap['1'], 53);
    EXPECT_EQ(font.charMap['0'], 62);
    EXPECT_EQ(font.charMap['*'], 70);
    EXPECT_EQ(font.charMap['"'], 91);
    EXPECT_EQ(font.charMap['~'], -1);
    EXPECT_EQ(font.glyphIndexOf(char(200)), 70);
    EXPECT_EQ(font.glyphIndexOf(0), 70);
}

struct MarkerCase
{
    int markers;
    const char* text;
};

class FontMarkers : public BitmapFont, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(FontMarkers, WrongCountIsReported)
{
    CBitmapFont font;
    font.setImage(picture(20, GetParam().markers), 20);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].text, GetParam().text);
    EXPECT_EQ(boxes.messages()[0].caption, "The font image error");
    EXPECT_EQ(boxes.messages()[0].style, 0x1010u);
    EXPECT_NE(font.glyphRects, nullptr); // the glyphs found stay in use
}

INSTANTIATE_TEST_SUITE_P(Counts, FontMarkers,
    ::testing::Values(MarkerCase{93, "The font image must contains 92 elements (found 93).\nThe texts may be drawed incorrectly!"},
        MarkerCase{10, "The font image must contains 92 elements (found 10).\nThe texts may be drawed incorrectly!"}),
    [](const ::testing::TestParamInfo<MarkerCase>& info) {
        return caseName(info.index, "markers", info.param.markers);
    });

TEST_F(BitmapFont, MissingGlyphsAreZeroWide)
{
    CBitmapFont font;
    font.setImage(picture(20, 10), 20);
    EXPECT_EQ(font.getTextWidth("z", nullptr), 0);
    EXPECT_EQ(font.getTextWidth("A", nullptr), glyphWidth(1));
}

TEST_F(BitmapFont, PicturesOutOfBoundsAreIgnored)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    CGlyphAtlas* atlas = font.atlas;
    for (VSTGUI::CBitmap* p : {picture(5), picture(1000), picture(20, 92, 10000), picture(20, 92, 462)})
    {
        font.setImage(p, 20);
        EXPECT_EQ(font.atlas, atlas);
        EXPECT_EQ(font.textHeight, 40u);
    }
    font.setImage(picture(999), 999);
    EXPECT_NE(font.atlas, nullptr);
    font.setImage(nullptr, 20);
    EXPECT_EQ(font.atlas, nullptr);
    EXPECT_EQ(font.getTextHeight(), 20);
    EXPECT_EQ(font.getTextWidth("AB", nullptr), 0);
    font.setTextHeight(30); // no atlas: nothing
    EXPECT_EQ(font.textHeight, 0u);
}

struct HeightCase
{
    int pictureHeight;
    int requested;
    uint32_t textHeight;
    float scale;
    uint32_t margin;
    uint32_t halfMargin;
    int lineHeight;
};

class FontHeight : public BitmapFont, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(FontHeight, ScaleAndMargins)
{
    const HeightCase& c = GetParam();
    CBitmapFont font;
    font.setImage(picture(c.pictureHeight), c.requested);
    EXPECT_EQ(font.textHeight, c.textHeight);
    EXPECT_FLOAT_EQ(font.scale, c.scale);
    EXPECT_EQ(font.margin, c.margin);
    EXPECT_EQ(font.halfMargin, c.halfMargin);
    EXPECT_EQ(font.getTextHeight(), c.lineHeight);
}

INSTANTIATE_TEST_SUITE_P(Table, FontHeight,
    ::testing::Values(HeightCase{40, 3, 5, 0.125f, 4, 2, 5}, HeightCase{40, 39, 39, 1.0f, 32, 16, 40},
        HeightCase{400, 10, 10, 0.05f, 1, 0, 20}, HeightCase{40, 20, 20, 0.5f, 16, 8, 20},
        HeightCase{40, 100, 40, 1.0f, 32, 16, 40}, HeightCase{40, 37, 37, 0.925f, 29, 14, 37}),
    [](const ::testing::TestParamInfo<HeightCase>& info) {
        return caseName(info.index, "requested", info.param.requested, "of", info.param.pictureHeight);
    });

TEST_F(BitmapFont, WidthSkipsCharactersWithoutGlyphAndStarsHighCodes)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    const int a = glyphWidth(1), b = glyphWidth(2), star = glyphWidth(70);
    EXPECT_EQ(font.getTextWidth("AB", nullptr), a + b);
    EXPECT_EQ(font.getTextWidth("A~B", nullptr), a + b);
    EXPECT_EQ(font.getTextWidth("\xc8", nullptr), star);
    font.letterSpacing = 2;
    EXPECT_EQ(font.getTextWidth("AB", nullptr), a + b + 4);
    font.letterSpacing = 0;
    font.setTextHeight(20); // scale 0.5: ceil
    EXPECT_EQ(font.getTextWidth("AB", nullptr), (a + b + 1) / 2);
}

TEST_F(BitmapFont, KerningAgainstTheAsteriskEndsEveryText)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    const int plain = font.getTextWidth("AB", nullptr);
    const KerningRecord records[] = {{'B', '*', 3}, {'A', 'B', -1}, {'A', 'B', 2}, {255, 'A', 9}, {'A', 255, 9}};
    font.setKerning(records, 5);
    EXPECT_TRUE(font.kerningEnabled);
    EXPECT_EQ(font.getTextWidth("AB", nullptr), plain + 3 + 2); // the later record for a pair wins
    EXPECT_EQ(font.getTextWidth("B", nullptr), glyphWidth(2) + 3);
    font.clearKerning();
    EXPECT_TRUE(font.kerningEnabled);
    EXPECT_EQ(font.getTextWidth("AB", nullptr), plain);
    font.kerningEnabled = false;
    font.setKerning(nullptr, 0);
    EXPECT_TRUE(font.kerningEnabled);
}

TEST_F(BitmapFont, PlatformFontWidthPlusThree)
{
    CBitmapFont font;
    font.useImage = false;
    EXPECT_EQ(font.getTextWidth("Hello", nullptr), 0);
    auto context = VSTGUI::COffscreenContext::create(nullptr, 100, 30);
    ASSERT_TRUE(context);
    context->setFont(font.fallbackFont, 0, -1);
    const int platform = int(context->getStringWidth("Hello"));
    EXPECT_GT(platform, 0);
    EXPECT_EQ(font.getTextWidth("Hello", context), platform + 3);
}

// First column of the context holding anything drawn (alpha above 0) in row y, or -1.
int firstInkColumn(VSTGUI::COffscreenContext* context, int y)
{
    VSTGUI::CBitmap* bitmap = context->getBitmap();
    for (int x = 0; x < int(bitmap->getWidth()); ++x)
        if (pixelAt(bitmap, x, y).a > 0)
            return x;
    return -1;
}

struct PlaceCase
{
    const char* text;
    int32_t alignment;
    double left; // expected place of the text bitmap
    int penOffset; // where the first glyph's ink starts, from the original left
};

class TextPlacement : public BitmapFont, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(TextPlacement, RectangleAndPen)
{
    const PlaceCase& c = GetParam();
    CBitmapFont font;
    // Text height = picture height at scale 1: margin 32, the line is drawn unreduced.
    font.setImage(picture(40), 40);
    auto context = VSTGUI::COffscreenContext::create(nullptr, 400, 160);
    ASSERT_TRUE(context);
    VSTGUI::CRect rect(100, 50, 300, 90);
    font.drawText(CFixedString(c.text), context, rect, VSTGUI::CColor(255, 255, 255, 255), c.alignment, 1.0f, false,
        false);
    EXPECT_EQ(rect.left, c.left);
    // Line height 40 + 32; top = (20 - 36) + 51 = 35.
    EXPECT_EQ(rect.top, 35);
    EXPECT_EQ(rect.right - rect.left, 232); // 200 + 32, a multiple of 4
    EXPECT_EQ(rect.bottom, 35 + 72);
    if (c.alignment == 0)
    {
        EXPECT_EQ(firstInkColumn(context, 35 + 16 + 20), 100 + c.penOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextPlacement,
    ::testing::Values(PlaceCase{"11", 0, 84, 0}, PlaceCase{"+1", 0, 84, -6}, PlaceCase{"++1", 0, 84, 0},
        PlaceCase{"-", 0, 84, -6}, PlaceCase{"--", 0, 84, 0},
        // Right: 300 - textW - 31, textW = the glyph widths of "11" (5 + 5).
        PlaceCase{"11", 2, 300 - 10 - 31, 0},
        // Centred: 100 - 16 + (100 - 5).
        PlaceCase{"11", 1, 179, 0}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) {
        return caseName(info.index, info.param.text, "align", info.param.alignment);
    });

TEST_F(BitmapFont, BoldStartsOnePixelFurtherAndWidensEachGlyph)
{
    CBitmapFont font;
    font.setImage(picture(40), 40);
    auto plain = VSTGUI::COffscreenContext::create(nullptr, 400, 160);
    auto bold = VSTGUI::COffscreenContext::create(nullptr, 400, 160);
    VSTGUI::CRect r1(100, 50, 300, 90), r2(100, 50, 300, 90);
    font.drawText(CFixedString("11"), plain, r1, VSTGUI::CColor(255, 255, 255, 255), 0, 1.0f, false, false);
    font.drawText(CFixedString("11"), bold, r2, VSTGUI::CColor(255, 255, 255, 255), 0, 1.0f, false, true);
    EXPECT_EQ(firstInkColumn(bold, 71), firstInkColumn(plain, 71) + 1);
    EXPECT_EQ(font.letterSpacing, 0);
}

TEST_F(BitmapFont, NothingToDraw)
{
    CBitmapFont font;
    auto context = VSTGUI::COffscreenContext::create(nullptr, 100, 100);
    VSTGUI::CRect rect(10, 10, 90, 40);
    const VSTGUI::CRect before = rect;
    font.drawText(CFixedString("A"), context, rect, VSTGUI::CColor(), 0, 1.0f, false, false); // no picture
    EXPECT_EQ(rect, before);
    font.setImage(picture(40), 40);
    font.drawText(CFixedString("~"), context, rect, VSTGUI::CColor(), 0, 1.0f, false, false); // no width
    font.drawText(CFixedString(""), context, rect, VSTGUI::CColor(), 0, 1.0f, false, false);
    font.drawText(CFixedString("A"), nullptr, rect, VSTGUI::CColor(), 0, 1.0f, false, false);
    VSTGUI::CRect empty(10, 10, 10, 40);
    font.drawText(CFixedString("A"), context, empty, VSTGUI::CColor(), 0, 1.0f, false, false);
    EXPECT_EQ(rect, before);
    EXPECT_EQ(firstInkColumn(context, 25), -1);
    font.drawBitmapText("AB", context, rect, VSTGUI::CColor(), 0, 1.0f, true, true);
    EXPECT_EQ(rect, before); // the C-string form keeps the caller's rectangle
    EXPECT_NE(firstInkColumn(context, 40), -1);
}

TEST_F(BitmapFont, PlatformPathDrawsAndRestoresTheFontSize)
{
    CBitmapFont font;
    font.useImage = false;
    auto context = VSTGUI::COffscreenContext::create(nullptr, 200, 40);
    VSTGUI::CRect rect(0, 0, 200, 40);
    const VSTGUI::CCoord size = font.fallbackFont->getSize();
    font.drawText(CFixedString("Hello"), context, rect, VSTGUI::CColor(255, 255, 255, 255), 0, 2.0f, false, false);
    EXPECT_EQ(font.fallbackFont->getSize(), size);
    EXPECT_EQ(rect, VSTGUI::CRect(0, 0, 200, 40));
    bool inked = false;
    for (int y = 0; y < 40 && !inked; ++y)
        inked = firstInkColumn(context, y) >= 0;
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
    CTextMask tooWide(10000, 10, false, false);
    EXPECT_EQ(tooWide.size, 0u);
    EXPECT_EQ(tooWide.render(VSTGUI::CColor(), 4, 4), nullptr);
    CTextMask fine(8, 8, false, false);
    EXPECT_EQ(fine.render(VSTGUI::CColor(), 0, 4), nullptr);
    EXPECT_EQ(fine.render(VSTGUI::CColor(), 4, 10001), nullptr);
}

TEST(TextMask, SameHeightIsSharpenedAndColouredWithoutOutline)
{
    CTextMask mask(6, 6, false, false);
    mask.coverage[2 * 6 + 2] = 200;
    VSTGUI::CBitmap* bitmap = mask.render(VSTGUI::CColor(255, 128, 1, 255), 6, 6);
    ASSERT_NE(bitmap, nullptr);
    // 1.2 x 200 = 240; premultiplied: G = int(128 x 240 / 255) = 120.
    EXPECT_EQ(pixelAt(bitmap, 2, 2), (Bgra{0, 120, 240, 240}));
    EXPECT_EQ(pixelAt(bitmap, 1, 2), (Bgra{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(bitmap, 3, 2), (Bgra{0, 0, 0, 0}));
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
            EXPECT_EQ(p, text ? c.text : p.a != 0 ? c.rim : Bgra{}) << x << "," << y;
        }
    EXPECT_EQ(rim, c.rimPixels);
    bitmap->forget();
}

// Light text: a ring of the 8 pixels beside the block. Dark text: its grey rim pixels count
// as drawn, so the second pass adds the corners below left and above right (10).
// Blue 1 at coverage 220 gives text pixels a blue byte of 0: they stay text.
INSTANTIATE_TEST_SUITE_P(Colours, TextOutline,
    ::testing::Values(RingCase{"light", {200, 200, 200, 255}, 255, {200, 200, 200, 255}, {0, 0, 0, 55}, 8},
        RingCase{"dark", {40, 40, 40, 255}, 255, {40, 40, 40, 255}, {35, 35, 35, 35}, 10},
        RingCase{"blueZero", {200, 200, 1, 255}, 200, {0, 172, 172, 220}, {0, 0, 0, 55}, 8},
        RingCase{"noBlue", {200, 200, 0, 255}, 255, {0, 200, 200, 255}, {}, 0}),
    [](const ::testing::TestParamInfo<RingCase>& info) { return caseName(info.index, info.param.name); });

TEST(TextMask, EnlargingReadsStayInsideTheMask)
{
    // Output larger than the mask: the box reaches past the last column and row.
    CTextMask mask(4, 4, true, true);
    for (uint32_t i = 0; i < mask.size; ++i)
        mask.coverage[i] = 255;
    VSTGUI::CBitmap* bitmap = mask.render(VSTGUI::CColor(255, 255, 255, 255), 8, 8);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_GT(pixelAt(bitmap, 6, 6).a, 0);
    bitmap->forget();
}

TEST(TextMask, ItalicLeansRowsRightAndBoldThickens)
{
    CTextMask mask(8, 10, true, false);
    for (uint32_t y = 0; y < 10; ++y)
        mask.coverage[y * 8 + 1] = 255;
    VSTGUI::CBitmap* bitmap = mask.render(VSTGUI::CColor(255, 255, 255, 255), 8, 10);
    bitmap->forget();
    // Bottom row stays; the top row moved by int(9 x 0.3) = 2.
    EXPECT_EQ(mask.coverage[9 * 8 + 1], 255);
    EXPECT_EQ(mask.coverage[0 * 8 + 3], 255);
    EXPECT_EQ(mask.coverage[0 * 8 + 1], 0);

    CTextMask thick(8, 8, false, true);
    thick.coverage[3 * 8 + 3] = 100;
    bitmap = thick.render(VSTGUI::CColor(255, 255, 255, 255), 8, 8);
    bitmap->forget();
    EXPECT_EQ(thick.coverage[3 * 8 + 4], 100);
    EXPECT_EQ(thick.coverage[4 * 8 + 3], 100);
    EXPECT_EQ(thick.coverage[4 * 8 + 4], 100);
    EXPECT_EQ(thick.coverage[2 * 8 + 3], 0);
}

} // namespace
