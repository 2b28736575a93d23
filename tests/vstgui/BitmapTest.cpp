// Bitmaps: decoding embedded PNGs, pixel access, drawing with clipping and offsets.
#include "TestHelpers.h"
#include <cstring>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

constexpr int32_t kPixelsPng = 9001; // 3 x 2, see data/9001-pixels.png
constexpr int32_t kOddPng = 9002;    // 5 x 4, pixel (x, y) = (50x, 60y, 7, 255)
constexpr int32_t kBrokenPng = 9003; // not a PNG

uint8_t premultiply (uint8_t c, uint8_t a)
{
	return static_cast<uint8_t> ((c * a + 127) / 255);
}

} // namespace

TEST (VstguiBitmap, EmbeddedPngDecodesToPremultipliedBgraPackedRows)
{
	auto bitmap = owned (new CBitmap (CResourceDescription (kPixelsPng)));
	ASSERT_NE (bitmap->getPlatformBitmap (), nullptr);
	EXPECT_EQ (bitmap->getWidth (), 3);
	EXPECT_EQ (bitmap->getHeight (), 2);
	auto* access = CBitmapPixelAccess::create (bitmap, true);
	ASSERT_NE (access, nullptr);
	EXPECT_EQ (access->getPixelFormat (), IPlatformBitmapPixelAccess::kBGRA);
	EXPECT_EQ (access->getBytesPerRow (), 12u);
	const uint8_t* p = access->getAddress ();
	const uint8_t expected[] = {
	    0, 0, 255, 255, /**/ 0, 255, 0, 255, /**/ 255, 0, 0, 255,
	    premultiply (200, 128), premultiply (150, 128), premultiply (100, 128), 128,
	    0, 0, 0, 0,
	    premultiply (30, 64), premultiply (20, 64), premultiply (10, 64), 64};
	for (size_t i = 0; i < sizeof (expected); ++i)
		EXPECT_NEAR (p[i], expected[i], 1) << "byte " << i;
	access->forget ();
}

TEST (VstguiBitmap, OddWidthRowsArePacked)
{
	auto bitmap = owned (new CBitmap (CResourceDescription (kOddPng)));
	auto* access = CBitmapPixelAccess::create (bitmap, true);
	ASSERT_NE (access, nullptr);
	EXPECT_EQ (access->getBytesPerRow (), 20u);
	const uint8_t* p = access->getAddress ();
	for (int y = 0; y < 4; ++y)
		for (int x = 0; x < 5; ++x)
		{
			const uint8_t* px = p + 4 * (x + 5 * y);
			EXPECT_EQ (px[0], 7);
			EXPECT_EQ (px[1], y * 60);
			EXPECT_EQ (px[2], x * 50);
			EXPECT_EQ (px[3], 255);
		}
	access->forget ();
}

TEST (VstguiBitmap, MissingOrBrokenResourceGivesObjectWithoutPlatformBitmap)
{
	for (int32_t id : {kBrokenPng, 12345, -1})
	{
		auto* bitmap = new CBitmap (CResourceDescription (id));
		EXPECT_EQ (bitmap->getPlatformBitmap (), nullptr) << id;
		EXPECT_EQ (bitmap->getWidth (), 0);
		EXPECT_EQ (CBitmapPixelAccess::create (bitmap, true), nullptr);
		EXPECT_EQ (bitmap->getNbReference (), 1);
		bitmap->forget ();
	}
}

TEST (VstguiBitmap, FromPathAndFromSize)
{
	auto platform = IPlatformBitmap::createFromPath (QUILM_VSTGUI_TEST_DATA "/9002-odd.png");
	ASSERT_TRUE (platform);
	auto fromPath = owned (new CBitmap (platform));
	EXPECT_EQ (fromPath->getWidth (), 5);
	EXPECT_EQ (pixelAt (fromPath, 4, 3), CColor (200, 180, 7, 255));
	EXPECT_FALSE (IPlatformBitmap::createFromPath (QUILM_VSTGUI_TEST_DATA "/nothing.png"));
	EXPECT_FALSE (IPlatformBitmap::createFromPath (QUILM_VSTGUI_TEST_DATA "/9003-broken.png"));

	auto blank = owned (new CBitmap (7, 3));
	EXPECT_EQ (blank->getWidth (), 7);
	EXPECT_EQ (blank->getHeight (), 3);
	EXPECT_EQ (countPixels (blank, CRect (0, 0, 7, 3), CColor (0, 0, 0, 0)), 21);
}

TEST (VstguiBitmap, WritesAreVisibleAfterForgetAndTwoAccessorsWork)
{
	auto a = owned (new CBitmap (4, 4));
	auto b = owned (new CBitmap (CResourceDescription (kOddPng)));
	auto* wa = CBitmapPixelAccess::create (a, true);
	auto* rb = CBitmapPixelAccess::create (b, true);
	ASSERT_TRUE (wa && rb);
	// Copy the first row of b into a with plain bytes while both are locked.
	std::memcpy (wa->getAddress (), rb->getAddress (), 16);
	ASSERT_TRUE (wa->setPosition (1, 1));
	wa->setColor (CColor (9, 8, 7, 255));
	EXPECT_FALSE (wa->setPosition (4, 0));
	wa->forget ();
	rb->forget ();

	// Drawing a into a context shows the written pixels.
	auto ctx = COffscreenContext::create (nullptr, 4, 4);
	ctx->drawBitmap (a, CRect (0, 0, 4, 4));
	ctx->endDraw ();
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 2, 0), CColor (100, 0, 7, 255));
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 1, 1), CColor (9, 8, 7, 255));
	EXPECT_EQ (pixelAt (ctx->getBitmap (), 3, 3), CColor (0, 0, 0, 0));
}

TEST (VstguiBitmap, PixelAccessIteratesRowByRow)
{
	auto bitmap = owned (new CBitmap (CResourceDescription (kOddPng)));
	auto* access = CBitmapPixelAccess::create (bitmap, true);
	ASSERT_NE (access, nullptr);
	int count = 1;
	while (++(*access))
		++count;
	EXPECT_EQ (count, 20);
	EXPECT_EQ (access->getX (), 4u);
	EXPECT_EQ (access->getY (), 3u);
	access->forget ();
}

struct DrawCase
{
	CRect dest;
	CPoint offset;
	CPoint probe;
	CColor expected;
};

class BitmapDrawTest : public ::testing::TestWithParam<DrawCase>
{
};

TEST_P (BitmapDrawTest, DrawsClippedToRectFromOffset)
{
	const DrawCase& c = GetParam ();
	auto bitmap = owned (new CBitmap (CResourceDescription (kOddPng)));
	auto ctx = COffscreenContext::create (nullptr, 10, 10);
	bitmap->draw (ctx, c.dest, c.offset);
	ctx->endDraw ();
	EXPECT_EQ (pixelAt (ctx->getBitmap (), static_cast<uint32_t> (c.probe.x), static_cast<uint32_t> (c.probe.y)),
	           c.expected);
}

INSTANTIATE_TEST_SUITE_P (
    Table, BitmapDrawTest,
    ::testing::Values (
        // The whole picture at (2, 3).
        DrawCase {CRect (2, 3, 7, 7), CPoint (0, 0), CPoint (2, 3), CColor (0, 0, 7, 255)},
        DrawCase {CRect (2, 3, 7, 7), CPoint (0, 0), CPoint (6, 6), CColor (200, 180, 7, 255)},
        // A 2 x 2 part starting at source (3, 2): nothing beyond the rectangle.
        DrawCase {CRect (0, 0, 2, 2), CPoint (3, 2), CPoint (0, 0), CColor (150, 120, 7, 255)},
        DrawCase {CRect (0, 0, 2, 2), CPoint (3, 2), CPoint (2, 0), CColor (0, 0, 0, 0)},
        DrawCase {CRect (0, 0, 2, 2), CPoint (3, 2), CPoint (0, 2), CColor (0, 0, 0, 0)},
        // A rectangle larger than the rest of the picture: outside stays empty.
        DrawCase {CRect (0, 0, 10, 10), CPoint (3, 0), CPoint (2, 0), CColor (0, 0, 0, 0)},
        // An offset past the picture draws nothing.
        DrawCase {CRect (0, 0, 5, 4), CPoint (0, 4), CPoint (0, 0), CColor (0, 0, 0, 0)},
        DrawCase {CRect (0, 0, 5, 4), CPoint (5, 0), CPoint (0, 0), CColor (0, 0, 0, 0)}));
