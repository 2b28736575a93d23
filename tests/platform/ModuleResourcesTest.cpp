#include "platform/ModuleResources.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"

namespace {

// The embedded bytes are the data files' own, found by the id that leads their names; other
// ids find nothing and leave the outputs alone.
TEST(ModuleResourcesTest, FindsEmbeddedBytesByLeadingId) {
  const std::pair<int32_t, const char*> cases[] = {
      {7, "7-test.png"}, {300, "300-note.txt"}, {128, nullptr}, {0, nullptr}, {-1, nullptr}, {70, nullptr}};
  for (const auto& [id, file] : cases) {
    const uint8_t untouched = 0;
    const uint8_t* data = &untouched;
    size_t size = 12345;
    ASSERT_EQ(findModuleResource(id, &data, &size), file != nullptr) << id;
    const std::string bytes = file != nullptr ? std::string(reinterpret_cast<const char*>(data), size) : "";
    EXPECT_EQ(bytes, file != nullptr ? readFile(std::string(QUILM_TEST_DATA_DIR) + "/" + file) : "") << id;
    EXPECT_TRUE(file != nullptr || (data == &untouched && size == 12345u)) << id;
  }
}

}  // namespace
