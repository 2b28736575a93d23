#pragma once
// File and folder utilities on Windows-style paths held in CFixedStrings:
// splitting a path, testing an extension, checking a file name, counting,
// creating, finding and deleting folders, choosing a free folder name and
// showing a folder in the file explorer. Paths use backslashes; folder paths
// that get a name appended end in a backslash. UI thread (no shared state).

#include "graphics/CFixedString.h"

#include <cstdint>

// out = text after the last backslash (the whole path without one), cut at its last '.'
// unless keepExtension; nothing for a null out.
void getFileName(CFixedString* out, const CFixedString& path, bool keepExtension);
// out = the path cut at its last backslash (kept when asked); the whole path without one.
void getFolderPart(CFixedString* out, const CFixedString& path, bool keepBackslash);
// out = the name of the folder that holds the last path element ("D:\a\b.txt" gives "a").
void getFolderName(CFixedString* out, const CFixedString& path);
// 1 when both are non-empty and the name ends in '.' + extension (case-blind), else 0.
int32_t hasExtension(const CFixedString& extension, const CFixedString& fileName);
// Files directly in folder that pass hasExtension; withSubFolders adds those one level down.
int32_t countFilesWithExtension(const CFixedString& folder, const CFixedString& extension, bool withSubFolders);
// False for an empty name or one holding any of * / : < > \ |.
bool isValidFileName(const CFixedString& name);
// CreateDirectoryA succeeded.
bool createFolder(const CFixedString& path);
// The path names an existing folder.
bool folderExists(const CFixedString& path);
// Deletes the folder and everything below it; true only without a single failure.
// Refuses an empty path and a root, never follows a link out of the tree, and fails
// for entries whose paths would not fit a CFixedString or whose names hold a '\'
// (they cannot be named, so they and the folders above them stay).
bool deleteFolderTree(const CFixedString& folder);
// out = parent\name\, or parent\name (n)\ for the first n in 1..32 not taken; false
// (out empty) when all are taken or the path does not fit; false with out untouched
// for a null out or an empty name.
bool makeUniqueFolderPath(const CFixedString& parent, const CFixedString& name, CFixedString* out);
// Opens the folder in the file explorer; the result of ShellExecuteExA.
int32_t openFolderInExplorer(const CFixedString& folder);
