#pragma once
// Helpers shared by the folder utilities and the catalogue scan: appending to a path
// without silently shortening it, and listing one folder. UI thread (no shared state).

#include "graphics/CFixedString.h"
#include "platform/FileSystem.h"

namespace folder_listing {

// Appends part; false when not all of it fitted (CFixedString holds 511 characters). A
// refused append would otherwise leave a shorter path that names another entry, and a
// folder path that names its own parent again would never stop recursing.
inline bool appendFits(CFixedString& out, const CFixedString& part)
{
    const uint64_t before = out.length;
    out.append(part);
    return out.length == before + part.length;
}

// "", "." and "..": names a listing returns that are no entries of their own.
inline bool isDotEntry(const char* name)
{
    return name[0] == 0 || (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)));
}

// Calls visit(data) for each entry the pattern finds, apart from "", "." and "..".
// False when the folder cannot be listed (nothing is visited then).
template <typename Visit>
bool forEachEntry(CFixedString& pattern, Visit visit)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do
    {
        if (!isDotEntry(data.cFileName))
            visit(static_cast<const WIN32_FIND_DATAA&>(data));
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

} // namespace folder_listing
