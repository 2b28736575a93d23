#pragma once
// A temporary folder tree for the catalogue tests, removed with everything in it,
// and helpers that read a catalogue back as text rows.
#include "catalogue/CFileCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <stdlib.h>

namespace catalogue_test {

namespace fs = std::filesystem;
using Rows = std::vector<std::string>;

// The path with its separators turned into `separator`.
inline std::string separated(std::string s, char separator)
{
    std::replace(s.begin(), s.end(), separator == '/' ? '\\' : '/', separator);
    return s;
}
inline std::string text(const CFixedString& s) { return std::string(s.buffer, s.length); }
inline std::string field(int32_t n) { return std::to_string(n); }
inline std::string field(const std::string& s) { return s; }
inline std::string field(const char* s) { return s; }
inline std::string field(const CFixedString& s) { return text(s); }
// The fields joined by '|'.
template <class... Fields>
std::string row(const Fields&... fields)
{
    std::string out;
    int n = 0;
    (out.append(n++ > 0 ? "|" : "").append(field(fields)), ...);
    return out;
}

class CatalogTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quilm-catalogue-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root, ignoredError); }

    // Makes each file (and the folders above it) below the root.
    void touch(std::initializer_list<std::string> files)
    {
        for (const std::string& f : files)
        {
            fs::create_directories((root / f).parent_path());
            std::ofstream(root / f) << "x";
        }
    }
    void folder(const std::string& relative) { fs::create_directories(root / relative); }

    // A folder below the root as the catalogue takes it: backslashes and a trailing one.
    std::string rootText(const std::string& relative = "") const
    {
        return separated((relative.empty() ? root : root / relative).string(), '\\') + "\\";
    }
    CFixedString rootPath(const std::string& relative = "") const { return CFixedString(rootText(relative).c_str()); }

    // Rescans the tree for .wav files into `into`, else into the fixture's catalogue.
    int32_t scan(const ScanOptions& options, CFileCatalog* into = nullptr)
    {
        return (into != nullptr ? *into : catalog).rescan(rootPath(), CFixedString("wav"), options);
    }

    // A path of the catalogue relative to the root.
    std::string relative(const CFixedString& path) const
    {
        const std::string full = text(path), prefix = rootText();
        return full.compare(0, prefix.size(), prefix) == 0 ? full.substr(prefix.size()) : "<elsewhere>" + full;
    }

    // One "id|folderId|name|title|path" row per file, paths relative to the root.
    Rows files(const CFileCatalog& c) const
    {
        Rows rows;
        CFileCatalog::FileCursor at{};
        while (const FileEntry* f = c.nextFile(&at))
            rows.push_back(row(f->id, f->folderId, f->name, f->title, relative(f->path)));
        return rows;
    }
    // One "id|parentId|fileCount|name|folderName|displayName|path" row per folder.
    Rows folders(const CFileCatalog& c) const
    {
        Rows rows;
        CFileCatalog::FolderCursor at{};
        while (const FolderEntry* f = c.nextFolder(&at))
            rows.push_back(
                row(f->id, f->parentId, f->fileCount, f->name, f->folderName, f->displayName, relative(f->path)));
        return rows;
    }

    // What must hold after any rescan: every file once, on disk, in a folder of the same
    // catalogue (or the root), and the folders' counts adding up to the file list.
    void expectConsistent() const
    {
        std::set<std::string> paths, folderIds{"0"};
        int32_t counted = catalog.countInFolder(0);
        for (int32_t k = 0; k < catalog.folderCount(); ++k)
        {
            const FolderEntry* d = catalog.folderAt(k);
            EXPECT_EQ(d->fileCount, catalog.countInFolder(d->id)) << text(d->path);
            counted += d->fileCount;
            folderIds.insert(std::to_string(d->id));
        }
        EXPECT_EQ(counted, catalog.fileCount());
        for (int32_t i = 0; i < catalog.fileCount(); ++i)
        {
            const FileEntry* f = catalog.entryAt(i);
            EXPECT_TRUE(paths.insert(text(f->path)).second) << "catalogued twice: " << text(f->path);
            EXPECT_TRUE(fs::is_regular_file(separated(text(f->path), '/'))) << text(f->path);
            EXPECT_EQ(folderIds.count(std::to_string(f->folderId)), 1u) << text(f->path);
        }
    }

    fs::path root;
    std::error_code ignoredError;
    CFileCatalog catalog; // the catalogue under test
};

} // namespace catalogue_test
