#include <gtest/gtest.h>

#include "platform/ModuleResources.h"

namespace {

// A module built before any picture exists links and finds nothing.
TEST(NoResourcesTest, FindsNothing) {
  for (int32_t id : {-1, 0, 7, 128, 157}) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(findModuleResource(id, &data, &size)) << id;
    EXPECT_TRUE(data == nullptr && size == 0) << id;
  }
}

}  // namespace
