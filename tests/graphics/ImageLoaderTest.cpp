// Image loading and the bitmap cache (the once-per-process message box
// has its own executables: ImageLoader*MessageTest.cpp).
#include "PixelHelpers.h"
#include "graphics/CPixelCanvas.h"
#include "graphics/ImageLoader.h"
#include "platform/MessageBoxCapture.h"

#include <gtest/gtest.h>

using namespace testing_helpers;

namespace {

// data/200-tiny.png, 4 x 2, by resource id or by path.
ImageSource tiny(bool byPath, int id = 200)
{
    ImageSource source;
    source.resourceId = id;
    source.isPath = byPath;
    source.path.assign(QUILM_GRAPHICS_TEST_DATA "/200-tiny.png");
    return source;
}

class ImageLoader : public ::testing::TestWithParam<bool>
{
protected:
    MessageBoxCapture boxes; // keeps the one-time failure message off the test output
};

TEST_P(ImageLoader, LoadsOverAHeldBitmapAndReleasesIt)
{
    VSTGUI::CBitmap* old = makeBitmap(2, 2, Bgra{1, 1, 1, 255});
    old->remember(); // a second reference so that the release can be seen
    VSTGUI::CBitmap* bitmap = old;
    const ImageSource source = tiny(GetParam());
    ASSERT_TRUE(loadBitmap(&source, &bitmap));
    EXPECT_EQ(old->getNbReference(), 1);
    EXPECT_EQ(bitmap->getWidth(), 4);
    EXPECT_EQ(bitmap->getHeight(), 2);
    EXPECT_EQ(pixelAt(bitmap, 1, 1), (Bgra{30, 70, 50, 255})); // PNG pixel (1, 1): R 50, G 70, B 30
    EXPECT_TRUE(bitmapCache().entries.empty()); // the cache is off
    releaseBitmap(&bitmap);
    EXPECT_EQ(bitmap, nullptr);
    old->forget();
}

INSTANTIATE_TEST_SUITE_P(ByIdAndPath, ImageLoader, ::testing::Values(false, true));

TEST_P(ImageLoader, FailureLeavesThePointerAlone)
{
    VSTGUI::CBitmap* held = makeBitmap(2, 2, Bgra{1, 1, 1, 255});
    VSTGUI::CBitmap* bitmap = held;
    ImageSource source = tiny(GetParam(), -1);
    source.path.assign("/no/such/folder/none.png");
    EXPECT_FALSE(loadBitmap(&source, &bitmap));
    EXPECT_FALSE(loadBitmap(nullptr, &bitmap));
    source = tiny(false, 9999);
    EXPECT_FALSE(loadBitmap(&source, &bitmap));
    EXPECT_EQ(bitmap, held);
    EXPECT_EQ(held->getNbReference(), 1);
    VSTGUI::CBitmap* none = nullptr;
    releaseBitmap(&none);
    releaseBitmap(nullptr);
    held->forget();
}

TEST(BitmapCache, KeepsItsBitmapsUntilCleared)
{
    BitmapCache cache;
    VSTGUI::CBitmap* a = makeBitmap(2, 2, Bgra{1, 1, 1, 255});
    a->remember(); // the cache's entry holds no reference: clearing it gives one back
    const CFixedString path("D:\\skins\\a.png");
    EXPECT_EQ(findCachedBitmap(cache, path), nullptr);
    EXPECT_FALSE(bitmapCacheContains(cache, a));
    addCachedBitmap(cache, a, path);
    EXPECT_EQ(findCachedBitmap(cache, path), a);
    EXPECT_EQ(findCachedBitmap(cache, CFixedString()), nullptr); // an empty path never matches
    EXPECT_TRUE(bitmapCacheContains(cache, a));
    clearBitmapCache(cache);
    EXPECT_TRUE(cache.entries.empty());
    EXPECT_EQ(a->getNbReference(), 1);
    a->forget();
}

TEST(BitmapCache, WhenEnabledServesPathsAndReleaseOnlyForgetsThePointer)
{
    BitmapCache& cache = bitmapCache();
    cache.enabled = 1;
    const ImageSource source = tiny(true);
    VSTGUI::CBitmap* first = nullptr;
    VSTGUI::CBitmap* second = nullptr;
    ASSERT_TRUE(loadBitmap(&source, &first));
    ASSERT_TRUE(loadBitmap(&source, &second));
    EXPECT_EQ(first, second);
    EXPECT_EQ(cache.entries.size(), 1u);
    VSTGUI::CBitmap* kept = first;
    releaseBitmap(&first);
    releaseBitmap(&second);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(kept->getNbReference(), 1);
    clearBitmapCache(cache); // releases it once
    EXPECT_TRUE(cache.entries.empty());
    EXPECT_EQ(cache.enabled, 1);
    cache.enabled = 0;
}

// A load served from the cache gives back what the caller's pointer held, as every other
// load does: a bitmap of the caller's own loses that reference; a cached one keeps the cache's.
TEST(BitmapCache, AHitGivesBackWhatThePointerHeld)
{
    BitmapCache& cache = bitmapCache();
    cache.enabled = 1;
    const ImageSource source = tiny(true);
    ImageSource other = tiny(true);
    other.path.assign(QUILM_GRAPHICS_TEST_DATA "/./200-tiny.png"); // another path: another entry
    VSTGUI::CBitmap* cached = nullptr;
    VSTGUI::CBitmap* otherCached = nullptr;
    ASSERT_TRUE(loadBitmap(&source, &cached));
    ASSERT_TRUE(loadBitmap(&other, &otherCached));
    ASSERT_NE(cached, otherCached);
    VSTGUI::CBitmap* own = makeBitmap(2, 2, Bgra{1, 1, 1, 255});
    own->remember(); // a second reference so that the release can be seen
    struct Case
    {
        VSTGUI::CBitmap* held;
        VSTGUI::CBitmap* watched;
        uint32_t referencesAfter;
    };
    const Case cases[] = {
        {nullptr, cached, 1}, {own, own, 1}, {cached, cached, 1}, {otherCached, otherCached, 1}};
    for (const Case& c : cases)
    {
        VSTGUI::CBitmap* bitmap = c.held;
        ASSERT_TRUE(loadBitmap(&source, &bitmap));
        EXPECT_EQ(bitmap, cached);
        EXPECT_EQ(c.watched->getNbReference(), c.referencesAfter) << (c.held == own ? "own" : "cached");
    }
    EXPECT_EQ(cache.entries.size(), 2u);
    own->forget();
    clearBitmapCache(cache);
    cache.enabled = 0;
}

TEST(ImageLoaderCanvas, MadeFromAnImage)
{
    MessageBoxCapture boxes;
    CPixelCanvas* canvas = nullptr;
    const ImageSource source = tiny(false);
    ASSERT_TRUE(createCanvasFromImage(&source, nullptr, &canvas));
    EXPECT_EQ(canvas->getWidth(), 4u);
    EXPECT_EQ(canvas->getLayerCount(), 2);
    EXPECT_EQ(canvas->getBackground()->bytes[0], 30); // pixel (0, 0): B 30
    delete canvas;
    const ImageSource missing = tiny(false, -1);
    CPixelCanvas* none = nullptr;
    EXPECT_FALSE(createCanvasFromImage(&missing, nullptr, &none));
    EXPECT_EQ(none, nullptr);
}

} // namespace
