// The skin is taken up without decoding: a new editor knows its window size from the
// pictures' headers, decodes and scales when it opens, shares what it decoded with
// every editor of the process and frees it with the last one. The pictures of each
// size are pinned by a hash of their bytes (the same bytes the set made when it still
// decoded everything at construction), so that a faster path cannot change a pixel.
#include "EditorTestSupport.h"
#include "editor/SkinBitmapSet.h"
#include "vstgui/lib/cbitmap.h"

using namespace VSTGUI;

namespace {

// FNV-1a over the visible bytes of every copy of a size, picture by picture, row by row.
uint64_t skinHash(int32_t size) {
    uint64_t hash = 14695981039346656037ull;
    for (int32_t p = 0; p < kSkinPictureCount; ++p) {
        CBitmapPixelAccess* access = CBitmapPixelAccess::create(getSkinBitmap(static_cast<SkinPicture>(p), size));
        if (access == nullptr) return 0;
        for (uint32_t y = 0; y < access->getBitmapHeight(); ++y) {
            const uint8_t* row = access->getAddress() + static_cast<size_t>(y) * access->getBytesPerRow();
            for (uint32_t i = 0; i < 4 * access->getBitmapWidth(); ++i) hash = (hash ^ row[i]) * 1099511628211ull;
        }
        access->forget();
    }
    return hash;
}

struct SizeCase {
    uint8_t size;
    int32_t width, height;  // the editor rectangle
    uint64_t hash;          // skinHash of the size
};

class SkinLazyLoad : public EditorFixture, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SkinLazyLoad, RectangleBeforeAnyDecodingPicturesAtTheFirstOpen) {
    const SizeCase& c = GetParam();
    const int32_t decodesBefore = skinBitmapStats().decodes;
    make(c.size, false);
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, c.width);
    EXPECT_EQ(rect->bottom - rect->top, c.height);
    // Every copy's size is known from the headers alone.
    double width[kSkinPictureCount], height[kSkinPictureCount];
    for (int32_t p = 0; p < kSkinPictureCount; ++p) {
        width[p] = skinBitmapWidth(static_cast<SkinPicture>(p), c.size);
        height[p] = skinBitmapHeight(static_cast<SkinPicture>(p), c.size);
    }
    EXPECT_EQ(skinBitmapStats().decodes, decodesBefore) << "construction and sizes decode nothing";
    EXPECT_EQ(skinBitmapStats().decoded, 0);

    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(frame()->getWidth(), c.width);
    EXPECT_EQ(frame()->getHeight(), c.height);
    EXPECT_EQ(skinBitmapStats().decoded, kSkinPictureCount);
    for (int32_t p = 0; p < kSkinPictureCount; ++p) {
        CBitmap* copy = getSkinBitmap(static_cast<SkinPicture>(p), c.size);
        ASSERT_NE(copy, nullptr) << p;
        EXPECT_EQ(copy->getWidth(), width[p]) << p;
        EXPECT_EQ(copy->getHeight(), height[p]) << p;
    }
    const uint64_t hash = skinHash(c.size);
    EXPECT_EQ(hash, c.hash) << std::hex << "0x" << hash;

    // A second open builds nothing and decodes nothing.
    const SkinBitmapStats opened = skinBitmapStats();
    editor->close();
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(skinBitmapStats().decodes, opened.decodes);
    EXPECT_EQ(skinBitmapStats().fullBuilds[c.size], opened.fullBuilds[c.size]);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, SkinLazyLoad,
                         ::testing::Values(SizeCase{0, 750, 504, 0x56f5812c561849ecull},
                                           SizeCase{1, 1000, 672, 0x2606ec2553dd936bull},
                                           SizeCase{2, 1500, 1008, 0x14fbbe1b70f5aa18ull},
                                           SizeCase{3, 2250, 1512, 0x78fc3317008f7104ull}),
                         SizeCaseName());

// The first of the two stages of a size: its background alone, the size left unbuilt
// so that the open makes the rest.
TEST_F(EditorFixture, BackgroundStageDecodesTheBackgroundAlone) {
    make(2, false);
    buildSkinBitmaps(2, true);
    EXPECT_EQ(skinBitmapStats().decoded, 1);
    EXPECT_FALSE(skinBitmapStats().built[2]);
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(frame()->getWidth(), 1500);
    EXPECT_EQ(skinBitmapStats().decoded, kSkinPictureCount);
    EXPECT_TRUE(skinBitmapStats().built[2]);
}

TEST_F(EditorFixture, PicturesDecodedOnceAndFreedWithTheLastEditor) {
    make(0);
    const SkinBitmapStats first = skinBitmapStats();
    EXPECT_EQ(first.decoded, kSkinPictureCount);
    // A second plug-in in the process, its editor at another size: scaled, not decoded again.
    writeUISizeSetting(1);
    auto* second = new VstXSynth(&RecordingHost::callback, &ADEditor::make);
    auto* other = dynamic_cast<ADEditor*>(second->getEditor());
    ASSERT_NE(other, nullptr);
    other->setFramePlatform(PlatformType::kHeadless);
    ASSERT_TRUE(other->open(fakeParent()));
    EXPECT_EQ(skinBitmapStats().refCount, 2);
    EXPECT_EQ(skinBitmapStats().decodes, first.decodes);
    EXPECT_TRUE(skinBitmapStats().built[1]);

    AEffect* e = second->getAeffect();
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);  // closes and deletes the second plug-in
    EXPECT_EQ(skinBitmapStats().decoded, kSkinPictureCount) << "the first editor still holds them";
    EXPECT_NE(getSkinBitmap(kKnobBitmap, 0), nullptr);
    destroy();
    EXPECT_EQ(skinBitmapStats().decoded, 0);
    EXPECT_FALSE(skinBitmapStats().loaded);
    EXPECT_EQ(getSkinBitmap(kBackgroundBitmap, 1), nullptr) << "nothing is made without a reference";
    EXPECT_EQ(skinBitmapWidth(kBackgroundBitmap, 1), 0.0);
}

}  // namespace
