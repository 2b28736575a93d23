// The Windows file-system calls of the file catalogue and its utilities.
//
// Paths may use '\' and '/' as separators (both mean '/'). Attributes come from
// lstat: a folder is FILE_ATTRIBUTE_DIRECTORY, a symbolic link is
// FILE_ATTRIBUTE_REPARSE_POINT and never a directory (so nothing recurses
// through a link), any other entry FILE_ATTRIBUTE_NORMAL; an entry that cannot
// be written (no write permission bit, or not writable by this process) adds
// FILE_ATTRIBUTE_READONLY in place of NORMAL.
#pragma once

#include <string>

#include "platform/WinTypes.h"

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x0001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x0002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x0004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x0010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x0020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x0080;
constexpr DWORD FILE_ATTRIBUTE_REPARSE_POINT = 0x0400;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// One entry of a listing: the fields that the program's code reads.
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  char cFileName[MAX_PATH];
};

// Lists the folder part of `pattern` ("folder\*.*"; without a separator: the
// current folder) and answers the first entry whose name matches the last part
// (see matchesWildcard). The listing is a snapshot taken now, "." and ".."
// first when they match, then sorted ignoring ASCII case; names holding a '\'
// are left out (they cannot be named as one path component). INVALID_HANDLE_VALUE
// when the folder cannot be listed or nothing matches. UI thread (any thread
// for its own handle).
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);

// The next entry of the snapshot; FALSE at its end or for an unknown handle.
// Any thread for its own handle.
BOOL FindNextFileA(HANDLE find, WIN32_FIND_DATAA* data);

// Frees a listing; FALSE for an unknown handle. Any thread for its own handle.
BOOL FindClose(HANDLE find);

// The entry's attributes, or INVALID_FILE_ATTRIBUTES when it does not exist.
// A trailing separator is allowed on a folder or link, not on a file. Any thread.
DWORD GetFileAttributesA(LPCSTR path);

// Makes one folder (its parent must exist); FALSE when it exists already or
// cannot be made. `security` is ignored. Any thread.
BOOL CreateDirectoryA(LPCSTR path, void* security);

// Removes an empty folder (not a link to one). Any thread.
BOOL RemoveDirectoryA(LPCSTR path);

namespace win {

// The standard library's remove as on Windows: deletes a file or a link (never
// what it points to) and refuses a folder. 0 on success, else -1 with errno.
// Any thread.
int remove(const char* path);

}  // namespace win

// `path` with every '\' turned into '/'. Any thread.
std::string posixPath(const char* path);
