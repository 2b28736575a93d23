// The skin generator: names, sizes and byte-for-byte repeatable output.
#include "SkinSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Frees the font caches after the last test, so the leak checker sees only
// what the generator itself would leak.
class FontCacheEnvironment : public testing::Environment {
public:
    void TearDown() override { skin::releaseSharedCaches(); }
};
const testing::Environment* const kFontCaches = testing::AddGlobalTestEnvironment(new FontCacheEnvironment);

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

std::vector<unsigned char> pngBytes(const skin::Picture& p) {
    std::vector<unsigned char> bytes;
    auto canvas = skin::render(p);
    cairo_surface_write_to_png_stream(canvas->surface(), appendBytes, &bytes);
    return bytes;
}

TEST(SkinGenerator, DrawsEveryPictureAtItsSizeTheSameWayTwice) {
    for (const skin::Picture& p : skin::pictures()) {
        const auto first = pngBytes(p);
        ASSERT_FALSE(first.empty()) << p.id;
        EXPECT_EQ(first, pngBytes(p)) << "picture " << p.id << " differs between two runs";
        auto canvas = skin::render(p);
        EXPECT_EQ(canvas->width(), p.width) << p.id;
        EXPECT_EQ(canvas->height(), p.height) << p.id;
        EXPECT_EQ(p.height % p.framesDown, 0) << p.id;
    }
}

TEST(SkinGenerator, WritesTheSameFileNamesAsCommitted) {
    const auto dir = std::filesystem::temp_directory_path() / ("quilm-skin-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(skin::writeAll(dir.string()));
    std::set<std::string> written, committed;
    for (const auto& e : std::filesystem::directory_iterator(dir)) written.insert(e.path().filename().string());
    for (const auto& e : std::filesystem::directory_iterator(QUILM_RESOURCES_DIR))
        if (e.path().extension() == ".png") committed.insert(e.path().filename().string());
    std::filesystem::remove_all(dir);
    EXPECT_EQ(written.size(), 16u);
    EXPECT_EQ(written, committed);
}

TEST(SkinGenerator, RefusesAFolderThatDoesNotExist) {
    EXPECT_FALSE(skin::writeAll("/nonexistent-quilm-folder/skin"));
}

}  // namespace
