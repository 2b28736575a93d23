#pragma once
// A temporary folder tree for the catalogue tests, removed with everything in it,
// and helpers that read a catalogue back as plain values.
#include "catalogue/CFileCatalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <stdlib.h>

namespace catalogue_test {

namespace fs = std::filesystem;

// The path with every '/' turned into a backslash, as the catalogue stores paths.
inline std::string windows(std::string s)
{
    for (char& c : s)
        if (c == '/')
            c = '\\';
    return s;
}

inline std::string text(const CFixedString& s)
{
    return std::string(s.buffer, s.length);
}

// A file as read back from a catalogue; path relative to the tree's root.
struct FileRow
{
    int id;
    int folderId;
    std::string name;
    std::string title;
    std::string path;
    bool operator==(const FileRow&) const = default;
};

// A folder as read back; path relative to the tree's root, with a trailing backslash.
struct FolderRow
{
    int id;
    int parentId;
    int fileCount;
    std::string name;
    std::string folderName;
    std::string displayName;
    std::string path;
    bool operator==(const FolderRow&) const = default;
};

inline void PrintTo(const FileRow& r, std::ostream* os)
{
    *os << "{" << r.id << ", " << r.folderId << ", \"" << r.name << "\", \"" << r.title << "\", \"" << r.path << "\"}";
}

inline void PrintTo(const FolderRow& r, std::ostream* os)
{
    *os << "{" << r.id << ", " << r.parentId << ", " << r.fileCount << ", \"" << r.name << "\", \""
        << r.folderName << "\", \"" << r.displayName << "\", \"" << r.path << "\"}";
}

class CatalogTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quilm-scan-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    void touch(const std::string& relative)
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    void folder(const std::string& relative) { fs::create_directories(root / relative); }

    // The root as the catalogue takes it: backslashes and a trailing one.
    CFixedString rootPath() const { return CFixedString((windows(root.string()) + "\\").c_str()); }
    std::string rootText() const { return windows(root.string()) + "\\"; }

    int32_t scan(CFileCatalog& catalog, const ScanOptions& options, const char* extension = "wav") const
    {
        return catalog.rescan(rootPath(), CFixedString(extension), options);
    }

    // A path of the catalogue relative to the root ("" when it lies elsewhere).
    std::string relative(const CFixedString& path) const
    {
        const std::string full = text(path);
        const std::string prefix = rootText();
        return full.compare(0, prefix.size(), prefix) == 0 ? full.substr(prefix.size()) : "<elsewhere>" + full;
    }

    std::vector<FileRow> files(const CFileCatalog& catalog) const
    {
        std::vector<FileRow> rows;
        for (int32_t i = 0; i < catalog.fileCount(); ++i)
        {
            const FileEntry* f = catalog.entryAt(i);
            rows.push_back({f->id, f->folderId, text(f->name), text(f->title), relative(f->path)});
        }
        return rows;
    }

    std::vector<FolderRow> folders(const CFileCatalog& catalog) const
    {
        std::vector<FolderRow> rows;
        for (int32_t i = 0; i < catalog.folderCount(); ++i)
        {
            const FolderEntry* f = catalog.folderAt(i);
            rows.push_back({f->id, f->parentId, f->fileCount, text(f->name), text(f->folderName),
                text(f->displayName), relative(f->path)});
        }
        return rows;
    }

    // What must hold after any scan: every file once, on disk, in a folder of the same
    // catalogue (or the root), and the folders' counts adding up to the file list.
    void expectConsistent(const CFileCatalog& catalog) const
    {
        std::set<std::string> paths;
        int32_t counted = catalog.countInFolder(0);
        for (int32_t i = 0; i < catalog.fileCount(); ++i)
        {
            const FileEntry* f = catalog.entryAt(i);
            const std::string path = text(f->path);
            EXPECT_TRUE(paths.insert(path).second) << "catalogued twice: " << path;
            EXPECT_LE(path.size(), 511u);
            std::string onDisk = path;
            for (char& c : onDisk)
                if (c == '\\')
                    c = '/';
            EXPECT_TRUE(fs::is_regular_file(onDisk)) << path;
            if (f->folderId != 0)
            {
                bool named = false;
                for (int32_t k = 0; k < catalog.folderCount(); ++k)
                    named = named || catalog.folderAt(k)->id == f->folderId;
                EXPECT_TRUE(named) << "folderId " << f->folderId << " of " << path;
            }
        }
        for (int32_t k = 0; k < catalog.folderCount(); ++k)
        {
            const FolderEntry* d = catalog.folderAt(k);
            EXPECT_EQ(d->fileCount, catalog.countInFolder(d->id)) << text(d->path);
            counted += d->fileCount;
        }
        EXPECT_EQ(counted, catalog.fileCount());
    }

    fs::path root;
};

// Options with recursion on and everything else as given.
inline ScanOptions recursive(int32_t maxDepth = 0)
{
    ScanOptions o;
    o.recurse = 1;
    o.maxDepth = maxDepth;
    return o;
}

} // namespace catalogue_test
