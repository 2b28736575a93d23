#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "platform/WildcardMatch.h"

namespace {

struct FoundEntry {
  std::string name;
  DWORD attributes;
};

// A listing taken at FindFirstFileA; the handle points at one of these.
struct FindSnapshot {
  std::vector<FoundEntry> entries;
  size_t next = 0;
};

std::mutex gMutex;
std::set<FindSnapshot*> gSnapshots;  // guarded by gMutex; only these are valid handles

DWORD attributesOf(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return INVALID_FILE_ATTRIBUTES;
  if (S_ISLNK(info.st_mode)) return FILE_ATTRIBUTE_REPARSE_POINT;
  const bool readOnly = (info.st_mode & 0222) == 0 || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY | (readOnly ? FILE_ATTRIBUTE_READONLY : 0);
  return readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

// `path` as POSIX, trailing separators removed (but "/" stays); *hadTrailing tells.
std::string withoutTrailingSeparators(const char* path, bool* hadTrailing) {
  std::string result = posixPath(path);
  *hadTrailing = false;
  while (result.size() > 1 && result.back() == '/') {
    result.pop_back();
    *hadTrailing = true;
  }
  return result;
}

bool listedBefore(const FoundEntry& a, const FoundEntry& b) {
  auto rank = [](const std::string& name) { return name == "." ? 0 : name == ".." ? 1 : 2; };
  if (rank(a.name) != rank(b.name)) return rank(a.name) < rank(b.name);
  const int folded = strcasecmp(a.name.c_str(), b.name.c_str());
  if (folded != 0) return folded < 0;
  return a.name < b.name;  // names that differ only in case keep a fixed order
}

void fill(WIN32_FIND_DATAA* data, const FoundEntry& entry) {
  data->dwFileAttributes = entry.attributes;
  const size_t length = std::min(entry.name.size(), static_cast<size_t>(MAX_PATH - 1));
  std::memcpy(data->cFileName, entry.name.data(), length);
  data->cFileName[length] = '\0';
}

}  // namespace

std::string posixPath(const char* path) {
  std::string result = path != nullptr ? path : "";
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
  if (pattern == nullptr || data == nullptr) return INVALID_HANDLE_VALUE;
  const std::string path = posixPath(pattern);
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
  if (mask.empty()) return INVALID_HANDLE_VALUE;

  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return INVALID_HANDLE_VALUE;
  auto* snapshot = new FindSnapshot;
  bool sawDot = false;
  bool sawDotDot = false;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    sawDot = sawDot || name == ".";
    sawDotDot = sawDotDot || name == "..";
    // '\' is a separator in every path these calls take, so a name holding one cannot be
    // a single component: "..\x" would be read back as the parent's x, and "\" as this
    // folder again. Such entries are left out, so nothing walks out through them.
    if (name.find('\\') != std::string::npos) continue;
    if (!matchesWildcard(mask.c_str(), name.c_str())) continue;
    const DWORD attributes = attributesOf(folder + "/" + name);
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;  // gone since readdir
    snapshot->entries.push_back({name, attributes});
  }
  closedir(dir);
  // Every folder lists "." and ".." (a file system might leave them out).
  for (const char* special : {".", ".."}) {
    const bool seen = special[1] == '\0' ? sawDot : sawDotDot;
    if (!seen && matchesWildcard(mask.c_str(), special)) {
      snapshot->entries.push_back({special, FILE_ATTRIBUTE_DIRECTORY});
    }
  }
  if (snapshot->entries.empty()) {
    delete snapshot;
    return INVALID_HANDLE_VALUE;
  }
  std::sort(snapshot->entries.begin(), snapshot->entries.end(), listedBefore);
  fill(data, snapshot->entries[0]);
  snapshot->next = 1;
  std::lock_guard<std::mutex> lock(gMutex);
  gSnapshots.insert(snapshot);
  return snapshot;
}

BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data) {
  if (data == nullptr) return FALSE;
  std::lock_guard<std::mutex> lock(gMutex);
  auto* snapshot = static_cast<FindSnapshot*>(find);
  if (gSnapshots.count(snapshot) == 0) return FALSE;
  if (snapshot->next >= snapshot->entries.size()) return FALSE;
  fill(data, snapshot->entries[snapshot->next++]);
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  std::lock_guard<std::mutex> lock(gMutex);
  auto* snapshot = static_cast<FindSnapshot*>(find);
  if (gSnapshots.erase(snapshot) == 0) return FALSE;
  delete snapshot;
  return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) {
  if (path == nullptr || path[0] == '\0') return INVALID_FILE_ATTRIBUTES;
  bool hadTrailing = false;
  const std::string clean = withoutTrailingSeparators(path, &hadTrailing);
  const DWORD attributes = attributesOf(clean);
  if (hadTrailing && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
    return INVALID_FILE_ATTRIBUTES;  // "file\" names nothing
  }
  return attributes;
}

BOOL CreateDirectoryA(LPCSTR path, void* /*security*/) {
  if (path == nullptr || path[0] == '\0') return FALSE;
  bool hadTrailing = false;
  return mkdir(withoutTrailingSeparators(path, &hadTrailing).c_str(), 0777) == 0 ? TRUE : FALSE;
}

BOOL RemoveDirectoryA(LPCSTR path) {
  if (path == nullptr || path[0] == '\0') return FALSE;
  bool hadTrailing = false;
  const std::string clean = withoutTrailingSeparators(path, &hadTrailing);
  struct stat info;
  if (lstat(clean.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return FALSE;
  return rmdir(clean.c_str()) == 0 ? TRUE : FALSE;
}

namespace win {

int remove(const char* path) {
  if (path == nullptr || path[0] == '\0') {
    errno = ENOENT;
    return -1;
  }
  const std::string clean = posixPath(path);
  struct stat info;
  if (lstat(clean.c_str(), &info) != 0) return -1;
  if (S_ISDIR(info.st_mode)) {
    errno = EACCES;  // what Windows' C library reports for a folder
    return -1;
  }
  return unlink(clean.c_str());
}

}  // namespace win
