// CFileCatalog: the recursive folder scan.
#include "catalogue/CFileCatalog.h"

#include "catalogue/FileUtilities.h"
#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_set>

namespace {

// Names longer than this are left out of the catalogue (characters).
constexpr size_t kLongestName = 127;
// Deepest level whose sub-folders get entries when maxDepth is outside 1..16.
constexpr int32_t kDeepestLimit = 16;

using folder_listing::appendFits;

bool appendCharFits(CFixedString& out, char c)
{
    const uint64_t before = out.length;
    out.appendChar(c);
    return out.length == before + 1;
}

// relative, a backslash when asked for and relative is not empty, then name.
bool relativeName(CFixedString& out, const CFixedString& relative, bool withRelative, const CFixedString& name)
{
    out.clear();
    if (withRelative && relative.length > 0)
        if (!appendFits(out, relative) || !appendCharFits(out, '\\'))
            return false;
    return appendFits(out, name);
}

std::string_view viewOf(const CFixedString& s)
{
    return std::string_view(s.buffer, s.length);
}

} // namespace

struct CFileCatalog::Scan
{
    CFixedString filter;
    ScanOptions options;
    int32_t limit = 0; // deepest level whose sub-folders get their own entries
    std::unordered_set<std::string_view> paths; // every file path in the catalogue
};

int32_t CFileCatalog::rescan(const CFixedString& rootPath, const CFixedString& extension, const ScanOptions& options)
{
    clear();
    bool listed = false;
    rootFileCount += scanTree(rootPath, CFixedString(), extension, options, 0, 0, &listed);
    return listed ? 0 : -1;
}

int32_t CFileCatalog::scanFolder(const CFixedString& folderPath, const CFixedString& relativePath,
    const CFixedString& extension, const ScanOptions& options, int32_t folderId, int32_t level)
{
    bool listed = false;
    return scanTree(folderPath, relativePath, extension, options, folderId, level, &listed);
}

int32_t CFileCatalog::scanTree(const CFixedString& folderPath, const CFixedString& relativePath,
    const CFixedString& extension, const ScanOptions& options, int32_t folderId, int32_t level, bool* listed)
{
    *listed = false;
    if (folderId != 0 && folderWithId(folderId) == nullptr)
        return 0; // a file's folderId always names one of this catalogue's folders
    CFixedString root(folderPath);
    root.toBackslashes();
    if (root.length == 0)
        return 0; // no folder: listing "*.*" alone would list the working folder
    if (root.buffer[root.length - 1] != '\\' && !appendCharFits(root, '\\'))
        return 0;

    Scan scan;
    scan.filter = extension;
    scan.options = options;
    scan.limit = options.maxDepth < 1 || options.maxDepth > kDeepestLimit ? kDeepestLimit : options.maxDepth - 1;
    scan.paths.reserve(files.size());
    for (const FileEntry* file : files)
        scan.paths.insert(viewOf(file->path));

    const int32_t count = scanInto(scan, root, relativePath, folderId, level < 0 ? 0 : level, listed);
    // Sorting once here gives the same order as sorting after every folder: each sort is
    // stable and files are only ever appended, so equal titles stay in the order added.
    if (*listed && options.sortByTitle)
        files.sort([](const FileEntry* a, const FileEntry* b) { return a->title.lessIgnoreCase(b->title); });
    return count;
}

int32_t CFileCatalog::scanInto(Scan& scan, const CFixedString& path, const CFixedString& relative, int32_t folderId,
    int32_t level, bool* listed)
{
    *listed = false;
    CFixedString pattern(path);
    if (!appendFits(pattern, CFixedString("*.*")))
        return 0;
    int32_t count = 0;
    *listed = folder_listing::forEachEntry(pattern, [&](const WIN32_FIND_DATAA& data) {
        if (strnlen(data.cFileName, sizeof data.cFileName) > kLongestName)
            return;
        const CFixedString name(data.cFileName);
        const DWORD attributes = data.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return; // a link to a folder is never followed
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            count += visitFolder(scan, path, relative, folderId, level, name);
        else
            count += addFile(scan, path, relative, folderId, name); // files and file links
    });
    return count;
}

int32_t CFileCatalog::addFile(Scan& scan, const CFixedString& path, const CFixedString& relative, int32_t folderId,
    const CFixedString& fileName)
{
    if (!hasExtension(scan.filter, fileName))
        return 0;
    auto entry = std::make_unique<FileEntry>();
    entry->path = path;
    if (!appendFits(entry->path, fileName))
        return 0;
    if (!relativeName(entry->name, relative, scan.options.relativeFileNames != 0, fileName))
        return 0;
    if (scan.paths.count(viewOf(entry->path)) != 0)
        return 0; // catalogued by an earlier scan of this folder
    entry->id = static_cast<int32_t>(files.size());
    entry->folderId = folderId;
    getFileName(&entry->title, fileName, false);
    files.push_back(entry.get());
    FileEntry* added = entry.release();
    scan.paths.insert(viewOf(added->path));
    return 1;
}

int32_t CFileCatalog::visitFolder(Scan& scan, const CFixedString& path, const CFixedString& relative,
    int32_t folderId, int32_t level, const CFixedString& folderName)
{
    const ScanOptions& options = scan.options;
    if (!options.recurse)
        return 0;
    const bool beyondLimit = level > scan.limit;
    if (beyondLimit && !options.flattenBeyondDepth)
        return 0;
    // The path from the root goes down whatever the folder names hold, so that relative
    // file names are relative to the root and not only to the folder above.
    CFixedString subRelative;
    if (!relativeName(subRelative, relative, true, folderName))
        return 0;
    CFixedString subPath(path);
    if (!appendFits(subPath, folderName) || !appendCharFits(subPath, '\\'))
        return 0; // the branch ends where its paths no longer fit
    bool listed = false;

    // A folder is known by where it is: two folders of one name in different places are
    // different folders. Known ones are skipped, or scanned again into their entries.
    FolderEntry* known = folderWithPath(subPath);
    if (known != nullptr && !options.rescanKnownFolders)
        return 0;
    const bool flattenIfEmpty = options.flattenEmptyFolders != 0;
    if (!beyondLimit)
    {
        if (known != nullptr)
        {
            known->fileCount += scanInto(scan, subPath, subRelative, known->id, level + 1, &listed);
            return 0;
        }
        if (!flattenIfEmpty || countFilesWithExtension(subPath, scan.filter, false) != 0)
        {
            auto entry = std::make_unique<FolderEntry>();
            entry->id = static_cast<int32_t>(folders.size()) + 1;
            entry->parentId = folderId;
            entry->name = options.relativeFolderNames ? subRelative : folderName;
            entry->folderName = folderName;
            entry->displayName = folderName;
            entry->displayName.capitalize();
            entry->path = subPath;
            folders.push_back(entry.get());
            FolderEntry* added = entry.release();
            added->fileCount = scanInto(scan, subPath, subRelative, added->id, level + 1, &listed);
            return 0;
        }
    }
    else if (!flattenIfEmpty || countFilesWithExtension(subPath, scan.filter, false) != 0)
    {
        return scanInto(scan, subPath, subRelative, folderId, level + 1, &listed);
    }
    // No matching file directly in it: its deeper files are counted here, or with
    // skipEmptyFolders it is left alone. Reached only from the two cases above, so
    // every file is counted exactly once.
    if (options.skipEmptyFolders)
        return 0;
    return scanInto(scan, subPath, subRelative, folderId, level + 1, &listed);
}
