#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "RegistryValue.h"
#include "TempFolder.h"

namespace {

// While one thread keeps replacing a value, readers on other threads only ever
// see one of the whole values, never a mix or a missing value.
TEST(RegistryThreadTest, ReadersSeeWholeOldOrNewValues) {
  TempFolder base;
  setRegistryBaseFolder(base.path().c_str());
  const std::string values[2] = {std::string(4096, 'a'), std::string(8192, 'b')};
  ASSERT_EQ(writeValue(values[0], "blob"), ERROR_SUCCESS);
  std::atomic<bool> done{false};
  std::atomic<int> bad{0}, reads{0};
  auto reader = [&] {
    while (!done.load()) {
      const auto [status, size, bytes] = readValue(8192, "blob");
      const std::string seen = bytes.substr(0, size);
      bad += status != ERROR_SUCCESS || (seen != values[0] && seen != values[1]);
      ++reads;
    }
  };
  std::thread first(reader), second(reader);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(writeValue(values[i % 2], "blob"), ERROR_SUCCESS);
  while (reads.load() < 50) std::this_thread::yield();
  done = true;
  first.join();
  second.join();
  EXPECT_EQ(bad.load(), 0);
  setRegistryBaseFolder(nullptr);
}

}  // namespace
