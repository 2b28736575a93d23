#pragma once
// One catalogued file of a CFileCatalog. Owned by the catalogue's file list;
// UI thread.

#include "graphics/CFixedString.h"

#include <cstdint>

struct FileEntry
{
    int32_t id = 0;       // the file list's length when the entry was added (0, 1, 2, ...)
    int32_t folderId = 0; // the FolderEntry the file is counted in; 0 for the scan's root
    CFixedString name;    // file name, with the relative folder path and a backslash when asked
    CFixedString title;   // file name without its extension
    CFixedString path;    // full path: the scanned folder's path and the file name
};
