#include "platform/ModuleInstance.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>

#include <string>

namespace {

TEST(ModuleInstanceTest, HandleIsKeptOnceAtFirstInit) {
  EXPECT_EQ(moduleInstance(), nullptr);
  HINSTANCE first = initModuleInstance();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(initModuleInstance(), first);
  EXPECT_EQ(moduleInstance(), first);
}

TEST(ModuleInstanceTest, PathIsThisModulesFile) {
  char expected[PATH_MAX];
  ASSERT_NE(realpath("/proc/self/exe", expected), nullptr);  // linked into this test program
  char path[PATH_MAX];
  ASSERT_TRUE(getModulePath(path, sizeof path));
  EXPECT_EQ(std::string(path), std::string(expected));
  EXPECT_FALSE(getModulePath(path, 4));
  EXPECT_FALSE(getModulePath(nullptr, sizeof path));
}

}  // namespace
