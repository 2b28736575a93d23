#pragma once
// One catalogued folder of a CFileCatalog. Owned by the catalogue's folder
// list; UI thread.

#include "graphics/CFixedString.h"

#include <cstdint>

struct FolderEntry
{
    int32_t id = -1;        // the folder list's length + 1 when added (1, 2, 3, ...)
    int32_t parentId = -1;  // the folder in which it was found; 0 for the root
    int32_t fileCount = 0;  // files counted into it (its own and those flattened into it)
    CFixedString name;        // folder name, with the parent's relative name and a backslash when asked
    CFixedString folderName;  // the folder name as found
    CFixedString displayName; // the folder name lower-cased with its first letter upper-cased
    CFixedString path;        // full path, ending in a backslash
};
