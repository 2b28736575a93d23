// Image loading, the bitmap cache and the error box (the once-per-process message
// has its own executables: ImageLoaderMessageTest.cpp).
#include "BitmapHelpers.h"
#include "graphics/CPixelCanvas.h"
#include "graphics/ImageLoader.h"
#include "platform/MessageBoxCapture.h"

#include <gtest/gtest.h>

using testing_helpers::Bgra;
using testing_helpers::makeBitmap;
using testing_helpers::pixelAt;

namespace {

constexpr int kTinyId = 200; // data/200-tiny.png, 4 x 2

ImageSource resource(int id)
{
    ImageSource source;
    source.resourceId = id;
    return source;
}

ImageSource file(const char* path)
{
    ImageSource source;
    source.isPath = 1;
    source.path.assign(path);
    return source;
}

class ImageLoader : public ::testing::Test
{
protected:
    MessageBoxCapture boxes; // keeps the one-time failure message off the test output
};

TEST_F(ImageLoader, LoadsAResourceById)
{
    VSTGUI::CBitmap* bitmap = nullptr;
    const ImageSource source = resource(kTinyId);
    ASSERT_TRUE(loadBitmap(&source, &bitmap));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->getWidth(), 4);
    EXPECT_EQ(bitmap->getHeight(), 2);
    // PNG pixel (1, 1) is R 50, G 70, B 30.
    EXPECT_EQ(pixelAt(bitmap, 1, 1), (Bgra{30, 70, 50, 255}));
    releaseBitmap(&bitmap);
    EXPECT_EQ(bitmap, nullptr);
}

TEST_F(ImageLoader, LoadsAFileByPath)
{
    VSTGUI::CBitmap* bitmap = nullptr;
    const ImageSource source = file(QUILM_GRAPHICS_TEST_DATA "/200-tiny.png");
    ASSERT_TRUE(loadBitmap(&source, &bitmap));
    EXPECT_EQ(bitmap->getWidth(), 4);
    releaseBitmap(&bitmap);
}

TEST_F(ImageLoader, FailureLeavesThePointerAlone)
{
    VSTGUI::CBitmap* held = makeBitmap(2, 2, [](int, int) { return Bgra{1, 1, 1, 255}; });
    VSTGUI::CBitmap* bitmap = held;
    for (const ImageSource& source : {resource(-1), resource(9999), file("/no/such/folder/none.png")})
    {
        EXPECT_FALSE(loadBitmap(&source, &bitmap));
        EXPECT_EQ(bitmap, held);
    }
    EXPECT_FALSE(loadBitmap(nullptr, &bitmap));
    EXPECT_EQ(held->getNbReference(), 1);
    held->forget();
}

TEST_F(ImageLoader, SuccessReleasesThePreviousBitmapAfterStoringTheNewOne)
{
    VSTGUI::CBitmap* old = makeBitmap(2, 2, [](int, int) { return Bgra{1, 1, 1, 255}; });
    old->remember(); // a second reference so that the release can be seen
    VSTGUI::CBitmap* bitmap = old;
    const ImageSource source = resource(kTinyId);
    ASSERT_TRUE(loadBitmap(&source, &bitmap));
    EXPECT_NE(bitmap, old);
    EXPECT_EQ(old->getNbReference(), 1);
    old->forget();
    releaseBitmap(&bitmap);
}

TEST_F(ImageLoader, CacheOffNeverAddsAndReleaseAlwaysReleases)
{
    BitmapCache& cache = bitmapCache();
    ASSERT_EQ(cache.enabled, 0);
    VSTGUI::CBitmap* bitmap = nullptr;
    const ImageSource source = resource(kTinyId);
    ASSERT_TRUE(loadBitmap(&source, &bitmap));
    EXPECT_TRUE(cache.entries.empty());
    VSTGUI::CBitmap* none = nullptr;
    releaseBitmap(&none);
    releaseBitmap(nullptr);
    releaseBitmap(&bitmap);
    EXPECT_EQ(bitmap, nullptr);
}

TEST_F(ImageLoader, CacheKeepsItsBitmapsUntilCleared)
{
    BitmapCache cache;
    VSTGUI::CBitmap* a = makeBitmap(2, 2, [](int, int) { return Bgra{1, 1, 1, 255}; });
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

TEST_F(ImageLoader, EnabledCacheServesPathsAndOnlyForgetsPointers)
{
    BitmapCache& cache = bitmapCache();
    cache.enabled = 1;
    const ImageSource source = file(QUILM_GRAPHICS_TEST_DATA "/200-tiny.png");
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

TEST_F(ImageLoader, CanvasFromAnImage)
{
    CPixelCanvas* canvas = nullptr;
    const ImageSource source = resource(kTinyId);
    ASSERT_TRUE(createCanvasFromImage(&source, nullptr, &canvas));
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->getWidth(), 4u);
    EXPECT_EQ(canvas->getLayerCount(), 2);
    ASSERT_NE(canvas->getBackground(), nullptr);
    EXPECT_EQ(canvas->getBackground()->bytes[0], 30); // pixel (0, 0): B 30
    delete canvas;
    const ImageSource missing = resource(-1);
    CPixelCanvas* none = nullptr;
    EXPECT_FALSE(createCanvasFromImage(&missing, nullptr, &none));
    EXPECT_EQ(none, nullptr);
}

TEST_F(ImageLoader, ErrorBoxIsSystemModalWithAStopIcon)
{
    showErrorBox("Something failed");
    ASSERT_EQ(boxes.messages().size(), 1u);
    const auto& m = boxes.messages()[0];
    EXPECT_EQ(m.owner, nullptr);
    EXPECT_EQ(m.text, "Something failed");
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.style, 0x1010u);
}

} // namespace
