#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "TempFolder.h"

namespace {

const char* const kSubKey = "Software\\Corvane Audio\\Quilm\\";

// Every test works below its own folder, never in the real home.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { setRegistryBaseFolder(base_.path().c_str()); }
  void TearDown() override { setRegistryBaseFolder(nullptr); }

  std::string keyFolder() const { return base_ / "Corvane Audio/Quilm"; }

  // Writes a value the way the editor-size setting does.
  LONG write(const std::string& bytes, const char* name = "uisize") {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    return status;
  }

  // Reads a value into a buffer of `capacity` bytes filled with 0xEE beforehand.
  LONG read(DWORD capacity, std::string* bytes, DWORD* size, DWORD* type = nullptr) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS) {
      EXPECT_EQ(key, nullptr);
      return status;
    }
    bytes->assign(capacity, '\xEE');
    *size = capacity;
    status = RegQueryValueExA(key, "uisize", nullptr, type, reinterpret_cast<BYTE*>(bytes->data()), size);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    return status;
  }

  TempFolder base_;
};

struct StoredCase {
  const char* name;
  bool createKey;
  bool storeValue;
  std::string stored;
  LONG expectedStatus;
  DWORD expectedSize;
  std::string expectedBuffer;  // the one-byte buffer after the read

  friend void PrintTo(const StoredCase& c, std::ostream* os) { *os << c.name; }
};

class RegistryReadTest : public RegistryTest, public ::testing::WithParamInterface<StoredCase> {};

// A one-byte read, as the editor-size setting makes it, against each kind of stored state.
TEST_P(RegistryReadTest, OneByteRead) {
  const StoredCase& c = GetParam();
  if (c.createKey) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  if (c.storeValue) {
    ASSERT_EQ(write(c.stored), ERROR_SUCCESS);
  }
  const std::string before = listFolder(base_.path());

  std::string buffer;
  DWORD size = 0;
  EXPECT_EQ(read(1, &buffer, &size), c.expectedStatus);
  if (c.expectedStatus != ERROR_FILE_NOT_FOUND || c.createKey) {
    EXPECT_EQ(size, c.expectedSize);
    EXPECT_EQ(buffer, c.expectedBuffer);
  }
  EXPECT_EQ(listFolder(base_.path()), before) << "reading must create nothing";
}

INSTANTIATE_TEST_SUITE_P(
    States, RegistryReadTest,
    ::testing::Values(StoredCase{"MissingKey", false, false, "", ERROR_FILE_NOT_FOUND, 0, ""},
                      StoredCase{"MissingValue", true, false, "", ERROR_FILE_NOT_FOUND, 1, "\xEE"},
                      StoredCase{"ZeroBytes", true, true, "", ERROR_SUCCESS, 0, "\xEE"},
                      StoredCase{"OneByte", true, true, "\x02", ERROR_SUCCESS, 1, "\x02"},
                      StoredCase{"TwoBytes", true, true, std::string("\x03\x00", 2), ERROR_MORE_DATA, 2, "\xEE"}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, RoundTripStoresOneFilePerValueWithoutSoftware) {
  ASSERT_EQ(write("\x02"), ERROR_SUCCESS);
  std::string file;
  ASSERT_TRUE(readFile(keyFolder() + "/uisize", &file));
  EXPECT_EQ(file, "\x02");
  EXPECT_EQ(listFolder(base_.path()), "Corvane Audio");

  std::string buffer;
  DWORD size = 0;
  DWORD type = REG_NONE;
  EXPECT_EQ(read(1, &buffer, &size, &type), ERROR_SUCCESS);
  EXPECT_EQ(buffer, "\x02");
  EXPECT_EQ(type, REG_BINARY);

  // A second write replaces the bytes and leaves no temporary file behind.
  ASSERT_EQ(write(std::string("\x00", 1)), ERROR_SUCCESS);
  EXPECT_EQ(read(1, &buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(buffer, std::string("\x00", 1));
  EXPECT_EQ(listFolder(keyFolder()), "uisize");
}

TEST_F(RegistryTest, SizeQueryWithoutBuffer) {
  ASSERT_EQ(write("abcde"), ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "uisize", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);
  BYTE byte = 0;
  EXPECT_EQ(RegQueryValueExA(key, "uisize", nullptr, nullptr, &byte, nullptr), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(RegistryTest, CreateReportsDispositionAndOpensExisting) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegCloseKey(key);
}

TEST_F(RegistryTest, AccessRightsOfTheHandleAreHonoured) {
  ASSERT_EQ(write("\x01"), ERROR_SUCCESS);
  HKEY reader = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, &reader), ERROR_SUCCESS);
  const BYTE two = 2;
  EXPECT_EQ(RegSetValueExA(reader, "uisize", 0, REG_BINARY, &two, 1), ERROR_ACCESS_DENIED);
  RegCloseKey(reader);

  HKEY writer = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &writer, nullptr),
            ERROR_SUCCESS);
  BYTE byte = 0;
  DWORD size = 1;
  EXPECT_EQ(RegQueryValueExA(writer, "uisize", nullptr, nullptr, &byte, &size), ERROR_ACCESS_DENIED);
  RegCloseKey(writer);
}

TEST_F(RegistryTest, UnknownHandlesAndHostileNamesAreRefused) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const BYTE one = 1;
  EXPECT_EQ(RegSetValueExA(key, "../escape", 0, REG_BINARY, &one, 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(key, "..", 0, REG_BINARY, &one, 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExA(key, "uisize", 0, REG_BINARY, nullptr, 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  HKEY escaped = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\..\\..\\escape", 0, nullptr, 0, KEY_WRITE, nullptr,
                            &escaped, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(escaped, nullptr);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "a/..\\b", 0, KEY_READ, &escaped), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(listFolder(base_.path()), "Corvane Audio");
  EXPECT_EQ(listFolder(keyFolder()), "");

  HKEY bogus = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234));
  BYTE byte = 0;
  DWORD size = 1;
  EXPECT_EQ(RegQueryValueExA(bogus, "uisize", nullptr, nullptr, &byte, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

// The key's folder cannot be written: the write fails and the old value stays.
// As root, permissions do not bind, so a child process drops to "nobody" first.
TEST_F(RegistryTest, WriteIntoUnwritableFolderKeepsOldValue) {
  ASSERT_EQ(write("\x01"), ERROR_SUCCESS);
  ASSERT_EQ(chmod(base_.path().c_str(), 0755), 0);
  ASSERT_EQ(chmod((base_ / "Corvane Audio").c_str(), 0755), 0);
  ASSERT_EQ(chmod(keyFolder().c_str(), 0555), 0);

  LONG status = ERROR_SUCCESS;
  if (geteuid() == 0) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
      _exit(write("\x03") == ERROR_ACCESS_DENIED ? 0 : 1);
    }
    int wstatus = 0;
    ASSERT_EQ(waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFEXITED(wstatus));
    ASSERT_NE(WEXITSTATUS(wstatus), 100) << "could not drop privileges";
    EXPECT_EQ(WEXITSTATUS(wstatus), 0) << "the write should be refused with ERROR_ACCESS_DENIED";
  } else {
    status = write("\x03");
    EXPECT_EQ(status, ERROR_ACCESS_DENIED);
  }
  chmod(keyFolder().c_str(), 0755);

  std::string buffer;
  DWORD size = 0;
  EXPECT_EQ(read(1, &buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(buffer, "\x01");
  EXPECT_EQ(listFolder(keyFolder()), "uisize");
}

// A write that fails half-way (here: the file size limit) leaves the old value whole.
TEST_F(RegistryTest, WriteFailingHalfWayKeepsOldValue) {
  ASSERT_EQ(write("old value"), ERROR_SUCCESS);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct sigaction ignore = {};
  struct sigaction previous = {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
  struct rlimit tight = saved;
  tight.rlim_cur = 4;  // bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const LONG status = write("a much longer new value");
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_NE(status, ERROR_SUCCESS);
  std::string file;
  ASSERT_TRUE(readFile(keyFolder() + "/uisize", &file));
  EXPECT_EQ(file, "old value");
  EXPECT_EQ(listFolder(keyFolder()), "uisize");
}

TEST(RegistryBaseFolderTest, FollowsXdgConfigHomeElseHome) {
  TempFolder home;
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const char* savedHome = std::getenv("HOME");
  const std::string xdgCopy = savedXdg != nullptr ? savedXdg : "";
  const std::string homeCopy = savedHome != nullptr ? savedHome : "";
  setRegistryBaseFolder(nullptr);

  setenv("HOME", home.path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  EXPECT_EQ(registryBaseFolder(), home / "config");
  setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
  EXPECT_EQ(registryBaseFolder(), home / ".config");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(registryBaseFolder(), home / ".config");

  setRegistryBaseFolder("/somewhere/else");
  EXPECT_EQ(registryBaseFolder(), "/somewhere/else");
  setRegistryBaseFolder("");
  EXPECT_EQ(registryBaseFolder(), home / ".config");

  if (savedXdg != nullptr) {
    setenv("XDG_CONFIG_HOME", xdgCopy.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
  if (savedHome != nullptr) {
    setenv("HOME", homeCopy.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
}

}  // namespace
