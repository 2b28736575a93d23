// Catalogue queries, cursors, sorting, copies and clearing, on temporary folder trees.
#include "CatalogTree.h"

#include <climits>
#include <functional>
#include <memory>
#include <tuple>

namespace catalogue_test {
namespace {

// Files 0 a.wav, 1 B.WAV, 2 Drums\Deep\sub.wav (folder 2), 3 Drums\kick.wav (folder 1),
// 4 KEYS\Kick.wav and 5 KEYS\piano.wav (folder 3); folders 1 Drums, 2 Drums\Deep, 3 KEYS.
class QueryTree : public CatalogTree
{
protected:
    void SetUp() override
    {
        CatalogTree::SetUp();
        touch({"a.wav", "B.WAV", "Drums/kick.wav", "Drums/Deep/sub.wav", "KEYS/piano.wav", "KEYS/Kick.wav"});
        ASSERT_EQ(scan(relativeNames), 0);
    }
    template <class Entry>
    static int idOf(const Entry* e) { return e == nullptr ? -1 : e->id; }

    const ScanOptions relativeNames{.recurse = 1, .relativeFolderNames = 1, .relativeFileNames = 1};
};

TEST_F(QueryTree, FindsEntriesByNameTitleAndPath)
{
    const FolderEntry* drums = catalog.folderAt(0);
    // The query, then the ids found by findFile, countByName, findFileByPath (the root in front),
    // findFolderByName and findFolder (the root in front); -1: none.
    const std::tuple<const char*, int, int, int, int, int> cases[] = {
        {"", -1, 0, -1, -1, -1}, {"a", 0, 1, -1, -1, -1}, {"A.WAV", 0, 1, 0, -1, -1},
        {"kick", 3, 2, -1, -1, -1},           // titles: Drums\kick.wav and KEYS\Kick.wav
        {"drums\\KICK.wav", 3, 1, 3, -1, -1}, // the relative name, any case
        {"keys\\kick.wav", 4, 1, 4, -1, -1},
        {"kick.wav", -1, 0, -1, -1, -1}, // the bare name is not what relative names hold
        {"Drums\\Deep\\sub.wav", 2, 1, 2, -1, -1}, {"nothing", -1, 0, -1, -1, -1},
        {"drums", -1, 0, -1, 1, -1}, // a folder path ends in a backslash
        {"drums\\", -1, 0, -1, -1, 1}, {"DRUMS\\deep", -1, 0, -1, 2, -1}, {"Drums\\Deep\\", -1, 0, -1, -1, 2},
        {"Deep", -1, 0, -1, -1, -1}, // folder names are relative too
        {"keys\\", -1, 0, -1, -1, 3}, {"Keys", -1, 0, -1, 3, -1},
    };
    for (const auto& [query, file, count, fileByPath, folder, folderByPath] : cases)
    {
        SCOPED_TRACE(query);
        const CFixedString name(query), path((rootText() + query).c_str());
        EXPECT_EQ(idOf(catalog.findFile(name)), file);
        EXPECT_EQ(catalog.countByName(name), count);
        EXPECT_EQ(idOf(catalog.findFileByPath(path)), fileByPath);
        EXPECT_EQ(idOf(catalog.findFolderByName(name)), folder);
        EXPECT_EQ(idOf(catalog.findFolder(path)), folderByPath);
    }
    EXPECT_EQ(catalog.findFileByPath(CFixedString()), nullptr);
    EXPECT_EQ(catalog.findFolder(CFixedString()), nullptr);
    EXPECT_EQ(text(drums->folderName), "Drums"); // queries that found nothing freed nothing
}

TEST_F(QueryTree, PositionsAndCursorsCoverEachListOnce)
{
    for (int32_t i : {INT32_MIN, -1, 6, INT32_MAX})
        EXPECT_EQ(catalog.entryAt(i), nullptr) << i;
    for (int32_t i : {INT32_MIN, -1, 3, INT32_MAX})
        EXPECT_EQ(catalog.folderAt(i), nullptr) << i;
    EXPECT_EQ(idOf(catalog.entryAt(5)), 5);
    EXPECT_EQ(idOf(catalog.folderAt(2)), 3);
    CFileCatalog::FileCursor files{};
    std::vector<int> ids;
    while (const FileEntry* f = catalog.nextFile(&files))
        ids.push_back(f->id);
    CFileCatalog::FolderCursor folders{};
    while (const FolderEntry* f = catalog.nextFolder(&folders))
        ids.push_back(f->id);
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 4, 5, 1, 2, 3}));
    EXPECT_EQ(files.finished, 1);
    EXPECT_EQ(catalog.nextFile(&files), nullptr); // and it stays at the end
    EXPECT_EQ(catalog.nextFolder(&folders), nullptr);
    EXPECT_EQ(catalog.nextFile(nullptr), nullptr);
    EXPECT_EQ(catalog.nextFolder(nullptr), nullptr);
}

TEST_F(QueryTree, ChangesSendCursorsBackToTheStart)
{
    const Rows initialFolders = folders(catalog);
    const std::function<void()> changes[] = {
        [this] { catalog.clear(); },
        [this] { ASSERT_EQ(scan({.recurse = 1}), 0); },
        [this] {
            CFileCatalog other;
            ASSERT_EQ(scan({.recurse = 1, .maxDepth = 1}, &other), 0);
            catalog.copyFrom(other, -1);
        },
    };
    for (size_t k = 0; k < std::size(changes); ++k)
    {
        SCOPED_TRACE(k);
        CFileCatalog::FileCursor fileCursor{};
        CFileCatalog::FolderCursor folderCursor{};
        ASSERT_NE(catalog.nextFile(&fileCursor), nullptr);
        ASSERT_NE(catalog.nextFile(&fileCursor), nullptr);
        for (int k = 0; k < 4; ++k) // to the end of the folders
            catalog.nextFolder(&folderCursor);
        changes[k]();
        EXPECT_EQ(catalog.nextFile(&fileCursor), catalog.entryAt(0));
        EXPECT_EQ(catalog.nextFolder(&folderCursor), catalog.folderAt(0));
        ASSERT_EQ(scan(relativeNames), 0);
        EXPECT_EQ(folders(catalog), initialFolders); // the same ids again
    }
    // A cursor of another catalogue starts this one from its first entry.
    CFileCatalog other;
    ASSERT_EQ(scan({.recurse = 1}, &other), 0);
    CFileCatalog::FileCursor foreign{};
    ASSERT_NE(other.nextFile(&foreign), nullptr);
    EXPECT_EQ(catalog.nextFile(&foreign), catalog.entryAt(0));
    EXPECT_EQ(catalog.nextFile(&foreign), catalog.entryAt(1));
}

TEST_F(QueryTree, CopiesOutliveTheirSource)
{
    const Rows sourceFiles = files(catalog), sourceFolders = folders(catalog);
    // The folder copied, the ids of the files copied
    const std::pair<int32_t, std::vector<int>> cases[] = {
        {-1, {0, 1, 2, 3, 4, 5}}, {-7, {0, 1, 2, 3, 4, 5}}, {0, {0, 1}}, {1, {3}}, {3, {4, 5}}, {99, {}}};
    for (const auto& [folderId, fileIds] : cases)
    {
        SCOPED_TRACE(folderId);
        auto source = std::make_unique<CFileCatalog>();
        ASSERT_EQ(scan(relativeNames, source.get()), 0);
        CFileCatalog copy;
        ASSERT_EQ(scan({.recurse = 1, .maxDepth = 1}, &copy), 0); // replaced by the copy
        copy.copyFrom(*source, folderId);
        source.reset(); // the copy owns its own entries
        Rows expected;
        for (int id : fileIds)
            expected.push_back(sourceFiles[static_cast<size_t>(id)]);
        EXPECT_EQ(files(copy), expected);
        EXPECT_EQ(folders(copy), sourceFolders);
        EXPECT_EQ(copy.countInFolder(0), 2); // the root count, whatever was copied
    }
    // Copying itself changes nothing, and a walk goes on.
    const FileEntry* first = catalog.entryAt(0);
    CFileCatalog::FileCursor cursor{};
    ASSERT_EQ(catalog.nextFile(&cursor), first);
    for (int32_t folderId : {-1, 0, 3})
        catalog.copyFrom(catalog, folderId);
    EXPECT_EQ(files(catalog), sourceFiles);
    EXPECT_EQ(folders(catalog), sourceFolders);
    EXPECT_EQ(catalog.entryAt(0), first);
    EXPECT_EQ(catalog.nextFile(&cursor), catalog.entryAt(1));
}

TEST_F(CatalogTree, StableCaseBlindSortByTitle)
{
    // Listed and added as: b (0), sub/A (1), sub/a (2), sub2/alpha (3), sub2/B (4), Zeta (5).
    touch({"b.wav", "sub/A.wav", "sub/a.WAV", "sub2/alpha.wav", "sub2/B.wav", "Zeta.wav"});
    for (bool sort : {false, true})
    {
        ASSERT_EQ(scan({.sortByTitle = sort, .recurse = 1}), 0);
        std::vector<int> ids;
        for (int32_t i = 0; i < catalog.fileCount(); ++i)
            ids.push_back(catalog.entryAt(i)->id);
        EXPECT_EQ(ids, (sort ? std::vector<int>{1, 2, 3, 0, 4, 5} : std::vector<int>{0, 1, 2, 3, 4, 5}));
        expectConsistent();
    }
}

TEST_F(CatalogTree, ClearDropsFoldersEvenWithoutFiles)
{
    folder("one/two");
    folder("three");
    ASSERT_EQ(scan({.recurse = 1}), 0);
    ASSERT_EQ(catalog.folderCount(), 3);
    catalog.clear();
    EXPECT_EQ(catalog.totalCount(true), 0);
    ASSERT_EQ(scan({.recurse = 1}), 0); // ids start again at 1
    EXPECT_EQ(folders(catalog),
        (Rows{"1|0|0|one|one|One|one\\", "2|1|0|two|two|Two|one\\two\\", "3|0|0|three|three|Three|three\\"}));
}

} // namespace
} // namespace catalogue_test
