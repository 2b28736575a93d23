#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "platform/Registry.h"

namespace {

// While one thread keeps replacing a value, readers on other threads only ever
// see one of the whole values, never a mix or a missing value.
TEST(RegistryThreadTest, ReadersSeeWholeOldOrNewValues) {
  TempFolder base;
  setRegistryBaseFolder(base.path().c_str());
  const std::string values[2] = {std::string(4096, 'a'), std::string(8192, 'b')};
  auto write = [](const std::string& bytes) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvane Audio\\Quilm\\", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExA(key, "blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return status;
  };
  ASSERT_EQ(write(values[0]), ERROR_SUCCESS);

  std::atomic<bool> done{false};
  std::atomic<int> bad{0};
  std::atomic<int> reads{0};
  auto reader = [&] {
    std::string buffer(8192, '\0');
    while (!done.load()) {
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvane Audio\\Quilm\\", 0, KEY_READ, &key) !=
          ERROR_SUCCESS) {
        ++bad;
        continue;
      }
      DWORD size = static_cast<DWORD>(buffer.size());
      const LONG status =
          RegQueryValueExA(key, "blob", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
      RegCloseKey(key);
      const std::string seen = buffer.substr(0, size);
      if (status != ERROR_SUCCESS || (seen != values[0] && seen != values[1])) ++bad;
      ++reads;
    }
  };
  std::thread first(reader);
  std::thread second(reader);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(write(values[i % 2]), ERROR_SUCCESS);
  while (reads.load() < 50) std::this_thread::yield();
  done = true;
  first.join();
  second.join();
  EXPECT_EQ(bad.load(), 0);
  setRegistryBaseFolder(nullptr);
}

}  // namespace
