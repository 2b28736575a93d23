#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "RegistryValue.h"
#include "TempFolder.h"

namespace {

// Every test works below its own folder, never in the real home.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { setRegistryBaseFolder(base_.path().c_str()); }
  void TearDown() override { setRegistryBaseFolder(nullptr); }
  std::string keyFolder() const { return base_ / "Corvane Audio/Quilm"; }

  TempFolder base_;
};

TEST_F(RegistryTest, ReadsEachStoredStateAndCreatesNothing) {
  EXPECT_EQ(readValue(1), Read(ERROR_FILE_NOT_FOUND, 0, ""));  // no key
  EXPECT_EQ(listFolder(base_.path()), "");
  HKEY key = nullptr;
  DWORD disposition = 0;
  for (DWORD expected : {REG_CREATED_NEW_KEY, REG_OPENED_EXISTING_KEY}) {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, expected);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  }
  EXPECT_EQ(readValue(1), Read(ERROR_FILE_NOT_FOUND, 1, "\xEE"));  // no value
  EXPECT_EQ(listFolder(keyFolder()), "");
  // One-byte reads, as the editor-size setting makes them; each write replaces the value.
  const std::pair<std::string, Read> cases[] = {{"", {ERROR_SUCCESS, 0, "\xEE"}},
                                                {"\x02", {ERROR_SUCCESS, 1, "\x02"}},
                                                {std::string("\x03\x00", 2), {ERROR_MORE_DATA, 2, "\xEE"}},
                                                {std::string("\x00", 1), {ERROR_SUCCESS, 1, std::string("\x00", 1)}}};
  for (const auto& [stored, expected] : cases) {
    ASSERT_EQ(writeValue(stored), ERROR_SUCCESS);
    EXPECT_EQ(readValue(1), expected) << stored.size();
    EXPECT_EQ(readFile(keyFolder() + "/uisize"), stored);
    EXPECT_EQ(listFolder(keyFolder()), "uisize") << "one file per value, no temporary file left";
  }
  EXPECT_EQ(listFolder(base_.path()), "Corvane Audio");  // "Software" is left out
  DWORD type = REG_NONE;
  EXPECT_EQ(readValue(3, "uisize", KEY_READ, &type), Read(ERROR_SUCCESS, 1, std::string("\x00\xEE\xEE", 3)));
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(readValue(0), Read(ERROR_SUCCESS, 1, ""));  // without a buffer: the size
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  BYTE byte = 0;  // a buffer without its size is refused
  EXPECT_EQ(RegQueryValueExA(key, "uisize", nullptr, nullptr, &byte, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, RefusesWhatTheHandleOrTheNamesDoNotAllow) {
  ASSERT_EQ(writeValue("\x01"), ERROR_SUCCESS);
  EXPECT_EQ(writeValue("\x02", "uisize", KEY_READ), ERROR_ACCESS_DENIED);
  EXPECT_EQ(std::get<0>(readValue(1, "uisize", KEY_SET_VALUE)), ERROR_ACCESS_DENIED);
  for (const char* name : {"../escape", ".."}) EXPECT_EQ(writeValue("\x02", name), ERROR_INVALID_PARAMETER) << name;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSubKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "uisize", 0, REG_BINARY, nullptr, 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  const char* escape = "Software\\..\\..\\escape";
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, escape, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "a/..\\b", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(readValue(1), Read(ERROR_SUCCESS, 1, "\x01"));
  EXPECT_EQ(listFolder(base_.path()), "Corvane Audio");
  EXPECT_EQ(listFolder(keyFolder()), "uisize");
  HKEY bogus = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234));
  BYTE byte = 0;
  DWORD size = 1;
  EXPECT_EQ(RegQueryValueExA(bogus, "uisize", nullptr, nullptr, &byte, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

// A write that cannot be made leaves the old value whole: into a folder it may not write
// (from a child that, as root, drops to "nobody" first, as permissions do not bind root),
// and one that fails half-way (here: at the file size limit).
TEST_F(RegistryTest, FailedWritesKeepTheOldValue) {
  ASSERT_EQ(writeValue("\x01"), ERROR_SUCCESS);
  for (const std::string& folder : {base_.path(), base_ / "Corvane Audio"}) ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
  ASSERT_EQ(chmod(keyFolder().c_str(), 0555), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);  // could not drop privileges
    _exit(writeValue("\x03") == ERROR_ACCESS_DENIED ? 0 : 1);
  }
  int wait = 0;
  ASSERT_EQ(waitpid(child, &wait, 0), child);
  EXPECT_TRUE(WIFEXITED(wait) && WEXITSTATUS(wait) == 0) << "the write should be refused with ERROR_ACCESS_DENIED";
  ASSERT_EQ(chmod(keyFolder().c_str(), 0755), 0);
  EXPECT_EQ(readFile(keyFolder() + "/uisize"), "\x01");

  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct sigaction ignore = {}, previous = {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
  const struct rlimit tight = {4, saved.rlim_max};  // bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const LONG status = writeValue("a much longer new value");
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_NE(status, ERROR_SUCCESS);
  EXPECT_EQ(readFile(keyFolder() + "/uisize"), "\x01");
  EXPECT_EQ(listFolder(keyFolder()), "uisize");
}

// A value that is not a regular file reads as missing at once; a FIFO used to wait for
// a writer forever (a host scanning its plug-ins hung). The alarm ends a hanging test.
TEST_F(RegistryTest, ValueThatIsNoFileReadsAsMissingAtOnce) {
  ASSERT_EQ(writeValue("\x02"), ERROR_SUCCESS);
  const std::string value = keyFolder() + "/uisize", fifo = base_ / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::function<int()> makers[] = {
      [&] { return mkfifo(value.c_str(), 0600); },
      [&] { return symlink(fifo.c_str(), value.c_str()); },
      [&] { return mkdir(value.c_str(), 0700); },
      [&] { return symlink("/dev/null", value.c_str()); },  // a device
      [&] { return symlink((base_ / "nothing").c_str(), value.c_str()); },
      [&] {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        value.copy(address.sun_path, sizeof(address.sun_path) - 1);
        const int status = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        close(fd);
        return status;
      },
  };
  for (size_t row = 0; row < std::size(makers); ++row) {
    std::filesystem::remove(value);
    ASSERT_EQ(makers[row](), 0) << row;
    alarm(20);  // seconds
    EXPECT_EQ(readValue(1), Read(ERROR_FILE_NOT_FOUND, 1, "\xEE")) << row;
    EXPECT_EQ(readValue(0), Read(ERROR_FILE_NOT_FOUND, 0, "")) << row;
    alarm(0);
  }
}

// A configuration folder whose parents are missing is made with them, each private to
// the user; the size written there is kept. A parent that is a file refuses the write.
TEST_F(RegistryTest, MissingParentsOfTheBaseFolderAreMade) {
  std::ofstream(base_ / "file") << "x";
  const struct {
    const char* base;  // below the test's folder
    const char* made;  // the folders the write makes, outermost first
    LONG status;
  } cases[] = {
      {"a/b/c", "a a/b a/b/c", ERROR_SUCCESS},
      {"d//e/", "d d/e", ERROR_SUCCESS},
      {"file/f", "", ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) {
    const std::string folder = base_ / c.base;
    setRegistryBaseFolder(folder.c_str());
    EXPECT_EQ(writeValue("\x03"), c.status) << c.base;
    EXPECT_EQ(std::get<0>(readValue(1)), c.status == ERROR_SUCCESS ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND) << c.base;
    std::istringstream made(c.made);
    for (std::string name; made >> name;) {
      struct stat info {};
      ASSERT_EQ(stat((base_ / name).c_str(), &info), 0) << name;
      EXPECT_EQ(info.st_mode & 0777, 0700u) << name;
    }
    if (c.status == ERROR_SUCCESS) {
      EXPECT_EQ(readFile(folder + "/Corvane Audio/Quilm/uisize"), "\x03") << c.base;
    }
  }
  EXPECT_EQ(listFolder(base_.path()), "a d file");
}

TEST(RegistryBaseFolderTest, FollowsXdgConfigHomeElseHome) {
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  };
  const std::pair<const char*, std::optional<std::string>> saved[] = {
      {"XDG_CONFIG_HOME", variable("XDG_CONFIG_HOME")}, {"HOME", variable("HOME")}};
  TempFolder home;
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
  for (const auto& [name, value] : saved) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
}

}  // namespace
