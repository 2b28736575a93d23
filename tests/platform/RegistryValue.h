// One value of the plug-in's settings key, written and read the way the editor-size
// setting does it, for the registry tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/Registry.h"

inline const char* const kSubKey = "Software\\Corvane Audio\\Quilm\\";

// Writes `bytes` as value `name` through a key made (or opened) with `access`.
inline LONG writeValue(const std::string& bytes, const char* name = "uisize", REGSAM access = KEY_SET_VALUE) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, access, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  return status;
}

using Read = std::tuple<LONG, DWORD, std::string>;  // status, size, the whole buffer afterwards

// Reads value `name` into `capacity` bytes filled with 0xEE (capacity 0: no buffer, a query
// of the size), through a key opened with `access`.
inline Read readValue(DWORD capacity, const char* name = "uisize", REGSAM access = KEY_READ, DWORD* type = nullptr) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, access, &key);
  EXPECT_EQ(key == nullptr, status != ERROR_SUCCESS);
  if (status != ERROR_SUCCESS) return {status, 0, ""};
  std::string bytes(capacity, '\xEE');
  DWORD size = capacity;
  BYTE* data = capacity > 0 ? reinterpret_cast<BYTE*>(bytes.data()) : nullptr;
  status = RegQueryValueExA(key, name, nullptr, type, data, &size);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  return {status, size, bytes};
}
