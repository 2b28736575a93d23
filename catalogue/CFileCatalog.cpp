// CFileCatalog: lifetime, queries, cursors and copies. The scan is in
// CFileCatalogScan.cpp.
#include "catalogue/CFileCatalog.h"

#include <atomic>
#include <memory>

namespace {

// A value no catalogue state had before, so that a cursor of one state (or of another
// catalogue) is never taken for a position in the current one.
uint64_t newStamp()
{
    static std::atomic<uint64_t> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

template <class Entry>
const Entry* at(const std::list<Entry*>& list, int32_t index)
{
    if (index < 0 || static_cast<uint64_t>(index) >= list.size())
        return nullptr;
    auto it = list.begin();
    std::advance(it, index);
    return *it;
}

template <class Entry, class Cursor>
const Entry* step(const std::list<Entry*>& list, Cursor* cursor, uint64_t stamp)
{
    if (cursor == nullptr)
        return nullptr;
    if (cursor->stamp != stamp)
    {
        // A position in an earlier state means nothing now: start again. A cursor that
        // was never used keeps the finished mark its owner may have set.
        cursor->started = 0;
        if (cursor->stamp != 0)
            cursor->finished = 0;
        cursor->stamp = stamp;
    }
    if (cursor->finished)
        return nullptr;
    if (!cursor->started)
    {
        cursor->node = list.begin();
        cursor->started = 1;
    }
    else
    {
        ++cursor->node;
    }
    if (cursor->node == list.end())
    {
        cursor->finished = 1;
        return nullptr;
    }
    return *cursor->node;
}

int32_t sizeOf(uint64_t n)
{
    return n > static_cast<uint64_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(n);
}

} // namespace

CFileCatalog::CFileCatalog()
    : stamp(newStamp())
{
}

CFileCatalog::~CFileCatalog()
{
    clear();
}

void CFileCatalog::clear()
{
    for (FileEntry* file : files)
        delete file;
    files.clear();
    for (FolderEntry* folder : folders)
        delete folder;
    folders.clear();
    rootFileCount = 0;
    stamp = newStamp();
}

int32_t CFileCatalog::fileCount() const
{
    return sizeOf(files.size());
}

int32_t CFileCatalog::totalCount(bool includeFolders) const
{
    return rootFileCount + (includeFolders ? folderCount() : 0);
}

int32_t CFileCatalog::countInFolder(int32_t folderId) const
{
    if (folderId == 0)
        return rootFileCount;
    int32_t count = 0;
    for (const FileEntry* file : files)
        if (file->folderId == folderId)
            ++count;
    return count;
}

int32_t CFileCatalog::countByName(const CFixedString& name) const
{
    int32_t count = 0;
    for (const FileEntry* file : files)
        if (file->name.equalsIgnoreCase(name) || file->title.equalsIgnoreCase(name))
            ++count;
    return count;
}

const FileEntry* CFileCatalog::entryAt(int32_t index) const
{
    return at(files, index);
}

const FileEntry* CFileCatalog::findFile(const CFixedString& name) const
{
    for (const FileEntry* file : files)
        if (file->name.equalsIgnoreCase(name) || file->title.equalsIgnoreCase(name))
            return file;
    return nullptr;
}

const FileEntry* CFileCatalog::findFileByPath(const CFixedString& path) const
{
    for (const FileEntry* file : files)
        if (file->path.equalsIgnoreCase(path))
            return file;
    return nullptr;
}

const FileEntry* CFileCatalog::nextFile(FileCursor* cursor) const
{
    return step(files, cursor, stamp);
}

void CFileCatalog::copyFrom(const CFileCatalog& other, int32_t folderId)
{
    if (&other == this)
        return; // clearing first would leave nothing to copy
    clear();
    rootFileCount = other.rootFileCount;
    copyFolders(other.folders);
    for (const FileEntry* file : other.files)
    {
        if (folderId >= 0 && file->folderId != folderId)
            continue;
        auto copy = std::make_unique<FileEntry>(*file);
        files.push_back(copy.get());
        copy.release();
    }
}

int32_t CFileCatalog::folderCount() const
{
    return sizeOf(folders.size());
}

const FolderEntry* CFileCatalog::folderAt(int32_t index) const
{
    return at(folders, index);
}

const FolderEntry* CFileCatalog::findFolderByName(const CFixedString& name) const
{
    for (const FolderEntry* folder : folders)
        if (folder->name.equalsIgnoreCase(name))
            return folder;
    return nullptr;
}

const FolderEntry* CFileCatalog::findFolder(const CFixedString& path) const
{
    for (const FolderEntry* folder : folders)
        if (folder->path.equalsIgnoreCase(path))
            return folder;
    return nullptr;
}

const FolderEntry* CFileCatalog::nextFolder(FolderCursor* cursor) const
{
    return step(folders, cursor, stamp);
}

void CFileCatalog::copyFolders(const std::list<FolderEntry*>& other)
{
    for (FolderEntry* folder : folders)
        delete folder;
    folders.clear();
    for (const FolderEntry* folder : other)
    {
        auto copy = std::make_unique<FolderEntry>(*folder);
        folders.push_back(copy.get());
        copy.release();
    }
}

FolderEntry* CFileCatalog::folderWithPath(const CFixedString& path)
{
    // Exact bytes: folders whose names differ only in case are different folders here.
    for (FolderEntry* folder : folders)
        if (folder->path == path)
            return folder;
    return nullptr;
}

FolderEntry* CFileCatalog::folderWithId(int32_t id)
{
    for (FolderEntry* folder : folders)
        if (folder->id == id)
            return folder;
    return nullptr;
}
