// Drawing: rectangle styles, lines, clipping, offset, saved state, fonts and text.
#include "TestHelpers.h"

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

SharedPointer<COffscreenContext> makeContext (CCoord w = 20, CCoord h = 20)
{
	auto ctx = COffscreenContext::create (nullptr, w, h);
	EXPECT_TRUE (ctx);
	return ctx;
}

constexpr CColor kNone (0, 0, 0, 0);

} // namespace

TEST (VstguiDrawContext, RectangleStyles)
{
	auto ctx = makeContext ();
	ctx->setFillColor (kBlueCColor);
	ctx->setFrameColor (kRedCColor);
	ctx->setLineWidth (1);
	ctx->drawRect (CRect (1, 1, 5, 5), kDrawFilled);
	ctx->drawRect (CRect (8, 1, 12, 5), kDrawStroked);
	ctx->drawRect (CRect (14, 1, 18, 5), kDrawFilledAndStroked);
	ctx->endDraw ();
	CBitmap* b = ctx->getBitmap ();
	// Filled: exactly the rectangle.
	EXPECT_EQ (countPixels (b, CRect (1, 1, 5, 5), CColor (0, 0, 255, 255)), 16);
	EXPECT_EQ (pixelAt (b, 5, 1), kNone);
	EXPECT_EQ (pixelAt (b, 0, 0), kNone);
	// Stroked: the outer ring of pixels inside the rectangle, the middle left alone.
	EXPECT_EQ (countPixels (b, CRect (8, 1, 12, 5), CColor (255, 0, 0, 255)), 12);
	EXPECT_EQ (pixelAt (b, 9, 2), kNone);
	EXPECT_EQ (pixelAt (b, 12, 1), kNone);
	// Both: frame outside, fill inside.
	EXPECT_EQ (pixelAt (b, 14, 1), CColor (255, 0, 0, 255));
	EXPECT_EQ (pixelAt (b, 15, 2), CColor (0, 0, 255, 255));
}

TEST (VstguiDrawContext, LinesCoverWholePixels)
{
	auto ctx = makeContext ();
	ctx->setFrameColor (kGreenCColor);
	ctx->drawLine (CPoint (2, 5), CPoint (12, 5));
	ctx->moveTo (CPoint (3, 8));
	ctx->lineTo (CPoint (3, 15));
	ctx->endDraw ();
	EXPECT_EQ (countPixels (ctx->getBitmap (), CRect (2, 5, 12, 6), CColor (0, 255, 0, 255)), 10);
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 2, 4), kNone);
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 2, 6), kNone);
	EXPECT_EQ (countPixels (ctx->getBitmap (), CRect (3, 8, 4, 15), CColor (0, 255, 0, 255)), 7);
}

TEST (VstguiDrawContext, ClipOffsetAndSavedState)
{
	auto ctx = makeContext ();
	ctx->saveGlobalState ();
	ctx->setOffset (CPoint (5, 5));
	ctx->setClipRect (CRect (0, 0, 3, 3)); // (5, 5, 8, 8) on the surface
	ctx->setFillColor (kWhiteCColor);
	ctx->drawRect (CRect (-5, -5, 15, 15), kDrawFilled);
	CRect clip;
	EXPECT_EQ (ctx->getClipRect (clip), CRect (0, 0, 3, 3));
	ctx->restoreGlobalState ();
	EXPECT_EQ (ctx->getOffset (), CPoint (0, 0));
	EXPECT_EQ (ctx->getFillColor (), kWhiteCColor); // restored to the default (white)
	ctx->setFillColor (kRedCColor);
	ctx->drawRect (CRect (0, 0, 1, 1), kDrawFilled); // the clip is gone again
	ctx->endDraw ();
	CBitmap* b = ctx->getBitmap ();
	EXPECT_EQ (countPixels (b, CRect (0, 0, 20, 20), kWhiteCColor), 9);
	EXPECT_EQ (pixelAt (b, 5, 5), kWhiteCColor);
	EXPECT_EQ (pixelAt (b, 8, 8), kNone);
	EXPECT_EQ (pixelAt (b, 0, 0), CColor (255, 0, 0, 255));
}

TEST (VstguiDrawContext, GlobalAlphaAndPoints)
{
	auto ctx = makeContext ();
	ctx->drawPoint (CPoint (3.7, 4.2), CColor (10, 20, 30, 255));
	ctx->setGlobalAlpha (0.5f);
	ctx->setFillColor (CColor (255, 255, 255, 255));
	ctx->drawRect (CRect (10, 10, 11, 11), kDrawFilled);
	ctx->endDraw ();
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 3, 4), CColor (10, 20, 30, 255));
	CColor half = pixelAt (ctx->getBitmap (), 10, 10);
	EXPECT_NEAR (half.alpha, 128, 1);
	EXPECT_NEAR (half.red, 128, 1); // premultiplied
}

//------------------------------------------------------------------------
TEST (VstguiFonts, SharedFontsHaveTheLibraryDefaults)
{
	EXPECT_STREQ (kNormalFontSmall->getName (), "Arial");
	EXPECT_EQ (kNormalFontSmall->getSize (), 11);
	EXPECT_EQ (kNormalFont->getSize (), 12);
	EXPECT_NE (kSystemFont, nullptr);
}

TEST (VstguiFonts, TextWidthGrowsWithTextAndSize)
{
	auto ctx = makeContext (200, 40);
	auto font = makeOwned<CFontDesc> ("Verdana", 12);
	ctx->setFont (font);
	CCoord a = ctx->getStringWidth ("Osc1");
	CCoord ab = ctx->getStringWidth ("Osc1-Sat");
	EXPECT_GT (a, 10);
	EXPECT_GT (ab, a);
	EXPECT_EQ (ctx->getStringWidth (""), 0);
	font->setSize (24);
	ctx->setFont (font);
	CCoord big = ctx->getStringWidth ("Osc1");
	EXPECT_NEAR (big, 2 * a, 2);
	// A size given to setFont overrides the font's own.
	ctx->setFont (font, 6);
	EXPECT_NEAR (ctx->getStringWidth ("Osc1"), a / 2, 1);
	// Arial stands in with the same family as Verdana here.
	auto arial = makeOwned<CFontDesc> ("Arial", 12);
	ctx->setFont (arial);
	EXPECT_NEAR (ctx->getStringWidth ("Osc1"), a, 0.001);
}

TEST (VstguiFonts, SystemFontIsSharedAndChangeable)
{
	std::string oldName = kSystemFont->getName ();
	CCoord oldSize = kSystemFont->getSize ();
	auto ctx = makeContext (200, 40);
	ctx->setFont (kSystemFont);
	kSystemFont->setSize (10);
	CCoord small = ctx->getStringWidth ("Glide");
	kSystemFont->setName ("Verdana");
	kSystemFont->setSize (20);
	EXPECT_STREQ (kSystemFont->getName (), "Verdana");
	CCoord large = ctx->getStringWidth ("Glide");
	EXPECT_NEAR (large, 2 * small, 2);
	kSystemFont->setName (oldName.c_str ());
	kSystemFont->setSize (oldSize);
}

struct AlignCase
{
	CHoriTxtAlign align;
	int minInkX;
	int maxInkX;
};

class DrawStringTest : public ::testing::TestWithParam<AlignCase>
{
};

TEST_P (DrawStringTest, AlignsInsideTheRectangle)
{
	const AlignCase& c = GetParam ();
	auto ctx = makeContext (200, 30);
	ctx->setFont (kNormalFont);
	ctx->setFontColor (kWhiteCColor);
	CCoord w = ctx->getStringWidth ("MMM");
	ctx->drawString ("MMM", CRect (0, 0, 200, 30), c.align, true);
	ctx->endDraw ();
	int first = -1, last = -1, top = 100, bottom = -1;
	for (uint32_t y = 0; y < 30; ++y)
		for (uint32_t x = 0; x < 200; ++x)
			if (pixelAt (ctx->getBitmap (), x, y).alpha > 100)
			{
				if (first < 0 || static_cast<int> (x) < first)
					first = static_cast<int> (x);
				last = std::max (last, static_cast<int> (x));
				top = std::min (top, static_cast<int> (y));
				bottom = std::max (bottom, static_cast<int> (y));
			}
	ASSERT_GE (first, 0);
	EXPECT_GE (first, c.minInkX);
	EXPECT_LE (last, c.maxInkX);
	EXPECT_NEAR (last - first + 1, w, 4);
	// Vertically the capitals sit about in the middle.
	EXPECT_NEAR ((top + bottom) / 2.0, 15, 3);
}

INSTANTIATE_TEST_SUITE_P (Table, DrawStringTest,
                          ::testing::Values (AlignCase {kLeftText, 0, 40}, AlignCase {kCenterText, 75, 125},
                                             AlignCase {kRightText, 160, 199}));

TEST (VstguiDrawContext, TextIsClippedToItsRectangle)
{
	auto ctx = makeContext (100, 20);
	ctx->setFont (kNormalFont);
	ctx->setFontColor (kWhiteCColor);
	ctx->drawString ("MMMMMMMM", CRect (10, 0, 20, 20), kLeftText);
	ctx->endDraw ();
	int outside = 0;
	for (uint32_t y = 0; y < 20; ++y)
		for (uint32_t x = 20; x < 100; ++x)
			outside += pixelAt (ctx->getBitmap (), x, y).alpha != 0;
	EXPECT_EQ (outside, 0);
	EXPECT_GT (countPixels (ctx->getBitmap (), CRect (10, 0, 20, 20), kNone), 0);
}
