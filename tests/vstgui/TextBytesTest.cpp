// Texts of any bytes: drawn and measured as their Latin-1 reading where they are not
// UTF-8, and a context never stops drawing because of one. A context that cairo refused
// reports it, and drawing pictures into it allocates nothing it does not free.
#include "TestHelpers.h"
#include <cairo.h>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

struct TextCase
{
	const char* name;
	const char* bytes;
	const char* shownAs; // valid UTF-8 that must look the same
};

const TextCase kTexts[] = {
	{"Latin1", "Caf\xe9 Bass", "Caf\xc3\xa9 Bass"},
	{"StrayBytes", "\xff\xfeLead \x80\xc0\xaf", "\xc3\xbf\xc3\xbeLead \xc2\x80\xc3\x80\xc2\xaf"},
	{"CutSequence", "Bell \xf0\x9f\x8e", "Bell \xc3\xb0\xc2\x9f\xc2\x8e"},
	{"Noncharacter", "Pad \xef\xbf\xbf", "Pad \xc3\xaf\xc2\xbf\xc2\xbf"},
};

/** Draws the text both ways, then a red square beside it: drawing must go on. */
SharedPointer<COffscreenContext> drawn (const char* text)
{
	auto ctx = COffscreenContext::create (nullptr, 160, 40);
	ctx->setFont (kNormalFont);
	ctx->setFontColor (kWhiteCColor);
	ctx->drawString (text, CRect (0, 0, 120, 20), kLeftText);
	ctx->drawString (text, CPoint (0, 35));
	ctx->setFillColor (kRedCColor);
	ctx->drawRect (CRect (150, 0, 160, 10), kDrawFilled);
	ctx->endDraw ();
	return ctx;
}

int differingPixels (CBitmap* a, CBitmap* b)
{
	int n = 0;
	for (uint32_t y = 0; y < 40; ++y)
		for (uint32_t x = 0; x < 160; ++x)
			n += !(pixelAt (a, x, y) == pixelAt (b, x, y));
	return n;
}

class TextBytes : public ::testing::TestWithParam<TextCase>
{
};

TEST_P (TextBytes, DrawnAndMeasuredAsTheirLatin1Reading)
{
	const TextCase& c = GetParam ();
	const uint32_t failedBefore = CDrawContext::getFailedContextCount ();
	{
		auto bytes = drawn (c.bytes);
		auto reference = drawn (c.shownAs);
		EXPECT_FALSE (bytes->hasFailed ());
		EXPECT_EQ (differingPixels (bytes->getBitmap (), reference->getBitmap ()), 0);
		EXPECT_EQ (countPixels (bytes->getBitmap (), CRect (150, 0, 160, 10), CColor (255, 0, 0, 255)), 100);
		EXPECT_GT (bytes->getStringWidth (c.bytes), 10.);
		EXPECT_EQ (bytes->getStringWidth (c.bytes), reference->getStringWidth (c.shownAs));
	}
	EXPECT_EQ (CDrawContext::getFailedContextCount (), failedBefore);
}

INSTANTIATE_TEST_SUITE_P (Texts, TextBytes, ::testing::ValuesIn (kTexts),
                          [] (const auto& info) { return std::string (info.param.name); });

TEST (RefusedContext, ReportsItselfAndDrawsPicturesWithoutLeaking)
{
	auto picture = makeStrip (2, 8, 8);
	const uint32_t failedBefore = CDrawContext::getFailedContextCount ();
	{
		auto ctx = COffscreenContext::create (nullptr, 20, 20);
		EXPECT_FALSE (ctx->hasFailed ());
		cairo_restore (ctx->getCairo ()); // nothing saved: cairo refuses it and stops drawing
		EXPECT_TRUE (ctx->hasFailed ());
		// Under the leak checker, any pattern these leave behind fails the run.
		for (int i = 0; i < 100; ++i)
			ctx->drawBitmap (picture, CRect (0, 0, 8, 8));
		EXPECT_EQ (CDrawContext::getFailedContextCount (), failedBefore) << "counted when it ends";
	}
	EXPECT_EQ (CDrawContext::getFailedContextCount (), failedBefore + 1);
}

TEST (RefusedContext, PicturesLandWhereTheyDidBefore)
{
	// The picture's frame 1 (rows 8..15) drawn at (4, 2): offset and placement as always.
	auto picture = makeStrip (2, 8, 8);
	auto ctx = COffscreenContext::create (nullptr, 20, 20);
	ctx->drawBitmap (picture, CRect (4, 2, 12, 10), CPoint (0, 8));
	ctx->endDraw ();
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 4, 2), pixelAt (picture, 0, 8));
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 11, 9), pixelAt (picture, 7, 15));
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 12, 10), CColor (0, 0, 0, 0));
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 3, 1), CColor (0, 0, 0, 0));
}

} // namespace
