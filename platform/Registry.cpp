#include "platform/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

struct RegistryKey {
  std::string folder;
  REGSAM access;
};

namespace {

std::mutex gMutex;
std::string gBaseOverride;       // guarded by gMutex
std::set<RegistryKey*> gOpenKeys;  // guarded by gMutex; only these are valid handles

std::string defaultBaseFolder() {
  // XDG: a relative $XDG_CONFIG_HOME is invalid and must be ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config";
  struct passwd entry;
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);  // bytes for the entry's strings, far more than one passwd line holds
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return std::string(found->pw_dir) + "/.config";
  }
  return "";
}

// The folder that stands for HKEY_CURRENT_USER; gMutex held.
std::string baseFolderLocked() { return gBaseOverride.empty() ? defaultBaseFolder() : gBaseOverride; }

LONG errorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
      return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERROR_DISK_FULL;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ENAMETOOLONG:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_WRITE_FAULT;
  }
}

bool isDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A name that can stand as one file or folder name below the base folder.
bool isSafeName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The folder of `key` and the access it was opened with; false for an unknown handle.
bool lookUpKey(HKEY key, std::string* folder, REGSAM* access) {
  std::lock_guard<std::mutex> lock(gMutex);
  if (key == HKEY_CURRENT_USER) {
    *folder = baseFolderLocked();
    *access = KEY_ALL_ACCESS;
    return !folder->empty();
  }
  if (gOpenKeys.count(key) == 0) return false;
  *folder = key->folder;
  *access = key->access;
  return true;
}

// Splits a backslash-separated key path into folder names; a leading "Software"
// below the root is dropped. False when a part cannot be a folder name.
bool splitSubKey(HKEY key, LPCSTR subKey, std::vector<std::string>* parts) {
  parts->clear();
  if (subKey == nullptr) return true;
  std::string part;
  for (const char* p = subKey;; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (!part.empty()) {
        if (!isSafeName(part)) return false;
        parts->push_back(part);
        part.clear();
      }
      if (*p == '\0') break;
    } else {
      part += *p;
    }
  }
  if (key == HKEY_CURRENT_USER && !parts->empty() && strcasecmp(parts->front().c_str(), "Software") == 0) {
    parts->erase(parts->begin());
  }
  return true;
}

HKEY newKeyHandle(const std::string& folder, REGSAM access) {
  HKEY handle = new RegistryKey{folder, access};
  std::lock_guard<std::mutex> lock(gMutex);
  gOpenKeys.insert(handle);
  return handle;
}

// Creates `path` as a folder when it is missing; true when it now is one.
bool makeFolder(const std::string& path, mode_t mode, bool* created, int* error) {
  if (mkdir(path.c_str(), mode) == 0) {
    *created = true;
    return true;
  }
  *error = errno;
  if (errno == EEXIST && isDirectory(path)) return true;
  if (errno == EEXIST) *error = ENOTDIR;
  return false;
}

// Creates `path` and every missing folder above it, private to the user (0700), as
// the XDG base-directory rules ask for the configuration folder; true when it now is one.
bool makeFolderWithParents(const std::string& path, int* error) {
  bool created = false;
  if (makeFolder(path, 0700, &created, error)) return true;
  if (*error != ENOENT) return false;
  const std::string::size_type slash = path.find_last_of('/');
  // A path that ends in '/' has its folder before the slash; the root always exists.
  if (slash == std::string::npos || slash == 0) return false;
  if (!makeFolderWithParents(path.substr(0, slash), error)) return false;
  return makeFolder(path, 0700, &created, error);
}

// Opens the value file for reading when it is a regular file. Anything else (a FIFO,
// a device, a socket, a folder, a link to one) reads as missing at once: opening a
// FIFO would wait for a writer, so the open itself never waits (O_NONBLOCK) and the
// type is checked before and after it. -1 with errno set when it cannot be read; else
// the descriptor, with the file's status in *info.
int openRegularFile(const std::string& path, struct stat* info) {
  if (stat(path.c_str(), info) != 0) return -1;
  if (!S_ISREG(info->st_mode)) {
    errno = ENOENT;
    return -1;
  }
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  if (fstat(fd, info) != 0 || !S_ISREG(info->st_mode)) {  // replaced between the two looks
    close(fd);
    errno = ENOENT;
    return -1;
  }
  return fd;
}

bool readAll(int fd, BYTE* data, size_t size, size_t* done) {
  *done = 0;
  while (*done < size) {
    ssize_t n = read(fd, data + *done, size - *done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    *done += static_cast<size_t>(n);
  }
  return true;
}

bool writeAll(int fd, const BYTE* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM access, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string folder;
  REGSAM parentAccess = 0;
  if (!lookUpKey(key, &folder, &parentAccess)) return ERROR_INVALID_HANDLE;
  std::vector<std::string> parts;
  if (!splitSubKey(key, subKey, &parts)) return ERROR_FILE_NOT_FOUND;
  for (const std::string& part : parts) folder += "/" + part;
  if (!isDirectory(folder)) return ERROR_FILE_NOT_FOUND;
  *result = newKeyHandle(folder, access);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR /*keyClass*/, DWORD /*options*/,
                     REGSAM access, const void* /*security*/, PHKEY result, LPDWORD disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (reserved != 0) return ERROR_INVALID_PARAMETER;
  std::string folder;
  REGSAM parentAccess = 0;
  if (!lookUpKey(key, &folder, &parentAccess)) return ERROR_INVALID_HANDLE;
  std::vector<std::string> parts;
  if (!splitSubKey(key, subKey, &parts)) return ERROR_INVALID_PARAMETER;

  bool created = false;
  int error = 0;
  // The configuration folder and any missing folder above it are private to the user.
  if (key == HKEY_CURRENT_USER && !makeFolderWithParents(folder, &error)) return errorFromErrno(error);
  created = false;
  for (const std::string& part : parts) {
    folder += "/" + part;
    if (!makeFolder(folder, 0777, &created, &error)) return errorFromErrno(error);
  }
  *result = newKeyHandle(folder, access);
  if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
  if (reserved != nullptr) return ERROR_INVALID_PARAMETER;
  if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
  std::string folder;
  REGSAM access = 0;
  if (!lookUpKey(key, &folder, &access)) return ERROR_INVALID_HANDLE;
  if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  // The unnamed default value is never stored, so it is always missing.
  std::string name = valueName != nullptr ? valueName : "";
  if (!isSafeName(name)) return ERROR_FILE_NOT_FOUND;

  struct stat info;
  int fd = openRegularFile(folder + "/" + name, &info);
  if (fd < 0) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
  if (static_cast<uint64_t>(info.st_size) > 0xFFFFFFFFu) {
    close(fd);
    return ERROR_MORE_DATA;
  }
  const DWORD size = static_cast<DWORD>(info.st_size);
  LONG status = ERROR_SUCCESS;
  if (data != nullptr) {
    if (*dataSize < size) {
      status = ERROR_MORE_DATA;
    } else {
      size_t done = 0;
      if (!readAll(fd, data, size, &done)) {
        status = ERROR_ACCESS_DENIED;
      } else {
        *dataSize = static_cast<DWORD>(done);
      }
    }
  }
  close(fd);
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (type != nullptr) *type = REG_BINARY;
    if (dataSize != nullptr && (data == nullptr || status == ERROR_MORE_DATA)) *dataSize = size;
  }
  return status;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD /*type*/, const BYTE* data,
                    DWORD dataSize) {
  if (reserved != 0) return ERROR_INVALID_PARAMETER;
  if (data == nullptr && dataSize != 0) return ERROR_INVALID_PARAMETER;
  std::string folder;
  REGSAM access = 0;
  if (!lookUpKey(key, &folder, &access)) return ERROR_INVALID_HANDLE;
  if ((access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  std::string name = valueName != nullptr ? valueName : "";
  if (!isSafeName(name)) return ERROR_INVALID_PARAMETER;

  // Write beside the value and rename over it: readers see the old or the new bytes.
  std::string target = folder + "/" + name;
  std::string temporary = folder + "/." + name + ".XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return errorFromErrno(errno);
  bool ok = writeAll(fd, data, dataSize) && fsync(fd) == 0;
  int error = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    unlink(temporary.c_str());
    return errorFromErrno(error);
  }
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  if (key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  std::lock_guard<std::mutex> lock(gMutex);
  if (gOpenKeys.erase(key) == 0) return ERROR_INVALID_HANDLE;
  delete key;
  return ERROR_SUCCESS;
}

void setRegistryBaseFolder(const char* folder) {
  std::lock_guard<std::mutex> lock(gMutex);
  gBaseOverride = folder != nullptr ? folder : "";
}

std::string registryBaseFolder() {
  std::lock_guard<std::mutex> lock(gMutex);
  return baseFolderLocked();
}
