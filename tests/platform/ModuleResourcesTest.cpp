#include "platform/ModuleResources.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"

namespace {

struct ResourceCase {
  int32_t id;
  const char* file;  // null: the id is not embedded

  friend void PrintTo(const ResourceCase& c, std::ostream* os) { *os << c.id; }
};

class ModuleResourcesTest : public ::testing::TestWithParam<ResourceCase> {};

TEST_P(ModuleResourcesTest, FindsEmbeddedBytesByLeadingId) {
  const ResourceCase& c = GetParam();
  const uint8_t untouched = 0;
  const uint8_t* data = &untouched;
  size_t size = 12345;
  const bool found = findModuleResource(c.id, &data, &size);
  if (c.file == nullptr) {
    EXPECT_FALSE(found);
    EXPECT_EQ(data, &untouched);
    EXPECT_EQ(size, 12345u);
    return;
  }
  ASSERT_TRUE(found);
  std::string expected;
  ASSERT_TRUE(readFile(std::string(QUILM_TEST_DATA_DIR) + "/" + c.file, &expected));
  ASSERT_EQ(size, expected.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), expected);
}

INSTANTIATE_TEST_SUITE_P(Ids, ModuleResourcesTest,
                         ::testing::Values(ResourceCase{7, "7-test.png"}, ResourceCase{300, "300-note.txt"},
                                           ResourceCase{128, nullptr}, ResourceCase{0, nullptr},
                                           ResourceCase{-1, nullptr}, ResourceCase{70, nullptr}));

TEST(ModuleResourcesPictureTest, EmbeddedPictureIsAWholePng) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(findModuleResource(7, &data, &size));
  const std::string signature("\x89PNG\r\n\x1a\n", 8);
  ASSERT_GE(size, signature.size() + 12);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), signature.size()), signature);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data + size - 8), 4), "IEND");
}

}  // namespace
