#pragma once
// A catalogue of the files of one extension in a folder tree and of the folders
// they lie in, built by recursive scans, with ids that tie each file to its
// folder, and queries over both lists.
//
// Entries handed out by the queries are read-only and stay valid until the
// catalogue next changes (clear, rescan, scanFolder, copyFrom, destruction); a
// query that finds nothing answers null. Cursors are plain records that the
// caller value-initialises; clear, rescan and copyFrom send every cursor back
// to the start. Paths use backslashes (forward slashes are accepted and turned
// into backslashes); a link is never followed into, and an entry whose name
// holds a backslash is never listed (it cannot be named as one path component).
// Not shared between threads: every method runs on the thread that owns the
// catalogue (the UI thread).

#include "catalogue/FileEntry.h"
#include "catalogue/FolderEntry.h"
#include "catalogue/ScanOptions.h"
#include "graphics/CFixedString.h"

#include <cstdint>
#include <list>

class CFileCatalog
{
public:
    // Position in the file list; value-initialise it ({}) before the first nextFile.
    struct FileCursor
    {
        uint8_t finished = 0;
        uint8_t started = 0;
        std::list<FileEntry*>::const_iterator node{};
        uint64_t stamp = 0; // the catalogue state the position belongs to; 0 = never used
    };
    // Position in the folder list; value-initialise it ({}) before the first nextFolder.
    struct FolderCursor
    {
        uint8_t finished = 0;
        uint8_t started = 0;
        std::list<FolderEntry*>::const_iterator node{};
        uint64_t stamp = 0;
    };

    // Empty catalogue. UI thread.
    CFileCatalog();
    // Deletes every entry. UI thread.
    ~CFileCatalog();
    CFileCatalog(const CFileCatalog&) = delete;
    CFileCatalog& operator=(const CFileCatalog&) = delete;

    // Deletes every file and folder entry; rootFileCount becomes 0. UI thread.
    void clear();
    // clear, then scans the tree at rootPath into the catalogue; 0 when the root
    // folder was listed (empty or not), -1 when it cannot be listed. UI thread.
    int32_t rescan(const CFixedString& rootPath, const CFixedString& extension, const ScanOptions& options);
    // Scans one folder (and below it, as the options say) into folder folderId (0 = root),
    // level levels below the root, adding to the catalogue as it stands, and returns the
    // number of files counted into folderId; the caller adds that number where it keeps the
    // folder's count (the counts held here are left as they are). A file already in the
    // catalogue at the same path is not added again; 0 for a folderId the catalogue does
    // not hold. UI thread.
    int32_t scanFolder(const CFixedString& folderPath, const CFixedString& relativePath, const CFixedString& extension,
        const ScanOptions& options, int32_t folderId, int32_t level);

    // Length of the file list. UI thread.
    int32_t fileCount() const;
    // Files counted at the root (into no folder entry), plus the folders when asked. UI thread.
    int32_t totalCount(bool includeFolders) const;
    // rootFileCount for 0, else the number of files with this folderId. UI thread.
    int32_t countInFolder(int32_t folderId) const;
    // Files whose name or title equals name ignoring case; 0 for an empty name. UI thread.
    int32_t countByName(const CFixedString& name) const;
    // The index-th file, or null outside 0..fileCount-1. UI thread.
    const FileEntry* entryAt(int32_t index) const;
    // The first file whose name or title equals name ignoring case, or null. UI thread.
    const FileEntry* findFile(const CFixedString& name) const;
    // The first file whose path equals path ignoring case, or null. UI thread.
    const FileEntry* findFileByPath(const CFixedString& path) const;
    // The next file of the cursor's walk, or null at the end (the cursor is then finished)
    // and for a null or finished cursor. UI thread.
    const FileEntry* nextFile(FileCursor* cursor) const;
    // Becomes a deep copy of other's folders and rootFileCount and of its files: all of
    // them for a negative folderId, else those of that folder. Copying itself changes
    // nothing. UI thread.
    void copyFrom(const CFileCatalog& other, int32_t folderId);

    // Length of the folder list. UI thread.
    int32_t folderCount() const;
    // The index-th folder, or null outside 0..folderCount-1. UI thread.
    const FolderEntry* folderAt(int32_t index) const;
    // The first folder whose name equals name ignoring case, or null. UI thread.
    const FolderEntry* findFolderByName(const CFixedString& name) const;
    // The first folder whose path equals path ignoring case, or null. UI thread.
    const FolderEntry* findFolder(const CFixedString& path) const;
    // The next folder of the cursor's walk, as nextFile. UI thread.
    const FolderEntry* nextFolder(FolderCursor* cursor) const;

private:
    struct Scan;
    int32_t scanTree(const CFixedString& folderPath, const CFixedString& relativePath, const CFixedString& extension,
        const ScanOptions& options, int32_t folderId, int32_t level, bool* listed);
    int32_t scanInto(Scan& scan, const CFixedString& path, const CFixedString& relative, int32_t folderId,
        int32_t level, bool* listed);
    int32_t addFile(Scan& scan, const CFixedString& path, const CFixedString& relative, int32_t folderId,
        const CFixedString& fileName);
    int32_t visitFolder(Scan& scan, const CFixedString& path, const CFixedString& relative, int32_t folderId,
        int32_t level, const CFixedString& folderName);
    FolderEntry* folderWithPath(const CFixedString& path);
    FolderEntry* folderWithId(int32_t id);
    void copyFolders(const std::list<FolderEntry*>& other);

    std::list<FileEntry*> files;     // owned, in the order added or sorted
    int32_t rootFileCount = 0;       // files counted at the root, into no folder entry
    std::list<FolderEntry*> folders; // owned, in the order added
    uint64_t stamp = 0;              // changes whenever entries are removed; cursors compare it
};
