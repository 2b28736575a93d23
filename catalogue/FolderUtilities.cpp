// Folder utilities: counting, creating, finding, deleting and naming folders,
// and showing one in the file explorer.
#include "catalogue/FileUtilities.h"
#include "catalogue/FolderListing.h"

#include "platform/FileSystem.h"
#include "platform/Shell.h"

#include <cstdio>

namespace {

using folder_listing::appendFits;

// True when every character of every part fitted (see appendFits).
bool appendAll(CFixedString& out, std::initializer_list<const CFixedString*> parts)
{
    for (const CFixedString* part : parts)
        if (!appendFits(out, *part))
            return false;
    return true;
}

// The folder path with '/' turned into backslashes, then "*.*"; false when it does not fit.
bool listingPattern(const CFixedString& folder, CFixedString& pattern)
{
    pattern = folder;
    pattern.toBackslashes();
    const CFixedString all("*.*");
    return appendAll(pattern, {&all});
}

// Makes a non-empty path end in a backslash; false when one was missing and no longer fits.
bool endWithBackslash(CFixedString& path)
{
    path.ensureTrailingBackslash();
    return path.length == 0 || path.buffer[path.length - 1] == '\\';
}

// A real sub-folder: links to folders are treated as files, so nothing walks out of the tree.
bool isFolder(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// Calls visit(name, isFolder) for each entry that the listing pattern finds, skipping
// ".", ".." and empty names. A folder that cannot be listed visits nothing.
template <typename Visit>
void forEachEntry(CFixedString& pattern, Visit visit)
{
    folder_listing::forEachEntry(pattern, [&](const WIN32_FIND_DATAA& data) {
        visit(CFixedString(data.cFileName), isFolder(data.dwFileAttributes));
    });
}

// "", "\", "\\", "C:", "C:\": paths whose deletion would take a whole drive.
bool isRoot(const CFixedString& path)
{
    CFixedString p(path);
    p.toBackslashes();
    uint64_t n = p.length;
    while (n > 0 && p.buffer[n - 1] == '\\')
        --n;
    if (n == 0)
        return true;
    return n == 2 && p.buffer[1] == ':';
}

bool deleteTree(const CFixedString& folder)
{
    int failures = 0;
    CFixedString pattern;
    if (listingPattern(folder, pattern))
    {
        const CFixedString backslash("\\");
        forEachEntry(pattern, [&](const CFixedString& name, bool subFolder) {
            CFixedString path(folder);
            if (!appendAll(path, {&name}))
                ++failures; // would no longer fit: never act on a shortened path
            else if (subFolder)
                failures += appendAll(path, {&backslash}) && deleteTree(path) ? 0 : 1;
            else if (win::remove(path.c_str()) != 0) // files and links (never their targets)
                ++failures;
        });
    }
    else
    {
        ++failures;
    }
    CFixedString self(folder);
    self.toBackslashes();
    if (!RemoveDirectoryA(self.c_str()))
        ++failures;
    return failures == 0;
}

} // namespace

int32_t countFilesWithExtension(const CFixedString& folder, const CFixedString& extension, bool withSubFolders)
{
    CFixedString pattern;
    if (!listingPattern(folder, pattern))
        return 0;
    int32_t count = 0;
    forEachEntry(pattern, [&](const CFixedString& name, bool subFolder) {
        if (!subFolder)
        {
            count += hasExtension(extension, name);
            return;
        }
        CFixedString sub(folder);
        const CFixedString backslash("\\");
        if (withSubFolders && appendAll(sub, {&name, &backslash}))
            count += countFilesWithExtension(sub, extension, false);
    });
    return count;
}

bool createFolder(const CFixedString& path)
{
    CFixedString p(path);
    return CreateDirectoryA(p.c_str(), nullptr) == 1;
}

bool folderExists(const CFixedString& path)
{
    CFixedString p(path);
    const DWORD attributes = GetFileAttributesA(p.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool deleteFolderTree(const CFixedString& folder)
{
    if (isRoot(folder))
        return false;
    // Entries are named by appending to the folder path, so it must end in a separator;
    // without one the listing would be of the parent's entries that start with the name.
    CFixedString path(folder);
    path.toBackslashes();
    return endWithBackslash(path) && deleteTree(path);
}

bool makeUniqueFolderPath(const CFixedString& parent, const CFixedString& name, CFixedString* out)
{
    if (out == nullptr || name.length == 0)
        return false;
    out->clear();
    CFixedString folder(parent);
    folder.toBackslashes();
    if (!endWithBackslash(folder))
        return false;
    const CFixedString backslash("\\");
    for (int n = 0; n <= 32; ++n) // the name alone, then "name (1)" .. "name (32)"
    {
        CFixedString candidate(folder);
        CFixedString number;
        if (n > 0)
        {
            char text[16];
            std::snprintf(text, sizeof text, " (%d)", n);
            number.assign(text);
        }
        if (!appendAll(candidate, {&name, &number, &backslash}))
            break; // the path does not fit: no name would be right
        candidate.toBackslashes();
        if (!folderExists(candidate))
        {
            *out = candidate;
            return true;
        }
    }
    out->clear();
    return false;
}

int32_t openFolderInExplorer(const CFixedString& folder)
{
    CFixedString parameters(folder);
    SHELLEXECUTEINFOA info{};
    info.cbSize = 112; // size of the Windows record
    info.fMask = 0;
    info.lpVerb = "open";
    info.lpFile = "C:\\Windows\\explorer.exe";
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info);
}
