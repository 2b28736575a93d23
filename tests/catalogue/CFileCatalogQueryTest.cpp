// Catalogue queries, cursors, sorting, copies and clearing, on temporary folder trees.
#include "CatalogTree.h"

#include <climits>
#include <functional>
#include <memory>

namespace catalogue_test {
namespace {

// a.wav, B.WAV, Drums/kick.wav, Drums/Deep/sub.wav, KEYS/piano.wav, KEYS/Kick.wav:
// files 0 a, 1 B, 2 sub (folder 2), 3 kick (folder 1), 4 Kick (folder 3), 5 piano
// (folder 3); folders 1 Drums, 2 Drums\Deep, 3 KEYS.
class QueryTree : public CatalogTree
{
protected:
    void SetUp() override
    {
        CatalogTree::SetUp();
        for (const char* f : {"a.wav", "B.WAV", "Drums/kick.wav", "Drums/Deep/sub.wav", "KEYS/piano.wav", "KEYS/Kick.wav"})
            touch(f);
        ScanOptions options = recursive();
        options.relativeFileNames = 1;
        options.relativeFolderNames = 1;
        ASSERT_EQ(scan(catalog, options), 0);
        ASSERT_EQ(catalog.fileCount(), 6);
    }
    CFixedString path(const std::string& relativePath) const
    {
        return CFixedString((rootText() + relativePath).c_str());
    }

    CFileCatalog catalog;
};

TEST_F(QueryTree, PositionsAtAndBeyondTheEnds)
{
    struct Case
    {
        int32_t index;
        int fileId;   // -1: no file
        int folderId; // -1: no folder
    } cases[] = {{INT32_MIN, -1, -1}, {-1, -1, -1}, {0, 0, 1}, {2, 2, 3}, {3, 3, -1}, {5, 5, -1}, {6, -1, -1},
        {INT32_MAX, -1, -1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.index);
        const FileEntry* file = catalog.entryAt(c.index);
        const FolderEntry* folder = catalog.folderAt(c.index);
        EXPECT_EQ(file == nullptr ? -1 : file->id, c.fileId);
        EXPECT_EQ(folder == nullptr ? -1 : folder->id, c.folderId);
    }
}

TEST_F(QueryTree, FindsFilesByNameTitleAndPath)
{
    struct Case
    {
        const char* query;
        int byName;   // id found by findFile, -1 for none
        int count;    // countByName
        int byPath;   // id found by findFileByPath with the root in front, -1 for none
    } cases[] = {
        {"", -1, 0, -1},
        {"a", 0, 1, -1},
        {"A.WAV", 0, 1, 0},
        {"kick", 3, 2, -1},              // titles: Drums\kick.wav and KEYS\Kick.wav
        {"drums\\KICK.wav", 3, 1, 3},    // the relative name, any case
        {"keys\\kick.wav", 4, 1, 4},
        {"kick.wav", -1, 0, -1},         // the bare name is not what relative names hold
        {"Drums\\Deep\\sub.wav", 2, 1, 2},
        {"nothing", -1, 0, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.query);
        const FileEntry* found = catalog.findFile(CFixedString(c.query));
        EXPECT_EQ(found == nullptr ? -1 : found->id, c.byName);
        EXPECT_EQ(catalog.countByName(CFixedString(c.query)), c.count);
        const FileEntry* byPath = catalog.findFileByPath(path(c.query));
        EXPECT_EQ(byPath == nullptr ? -1 : byPath->id, c.byPath);
    }
    EXPECT_EQ(catalog.findFileByPath(CFixedString()), nullptr);
}

TEST_F(QueryTree, FindsFoldersByNameAndPath)
{
    struct Case
    {
        const char* query;
        int byName;
        int byPath;
    } cases[] = {
        {"", -1, -1},
        {"drums", 1, -1},          // the path lacks its trailing backslash
        {"drums\\", -1, 1},
        {"DRUMS\\deep", 2, -1},
        {"Drums\\Deep\\", -1, 2},
        {"Deep", -1, -1},           // names are relative
        {"keys\\", -1, 3},
        {"Keys", 3, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.query);
        const FolderEntry* byName = catalog.findFolderByName(CFixedString(c.query));
        EXPECT_EQ(byName == nullptr ? -1 : byName->id, c.byName);
        const FolderEntry* byPath = catalog.findFolder(path(c.query));
        EXPECT_EQ(byPath == nullptr ? -1 : byPath->id, c.byPath);
    }
    EXPECT_EQ(catalog.findFolder(CFixedString()), nullptr);
}

TEST_F(QueryTree, EntriesStayValidAcrossQueriesThatFindNothing)
{
    const FolderEntry* drums = catalog.findFolderByName(CFixedString("Drums"));
    const FileEntry* first = catalog.entryAt(0);
    ASSERT_NE(drums, nullptr);
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(catalog.findFolderByName(CFixedString("none")), nullptr);
        EXPECT_EQ(catalog.findFolder(CFixedString("none")), nullptr);
        EXPECT_EQ(catalog.folderAt(-1), nullptr);
        EXPECT_EQ(catalog.entryAt(99), nullptr);
        EXPECT_EQ(catalog.findFile(CFixedString("none")), nullptr);
    }
    // Read through the pointers handed out before (a freed entry shows under ASan).
    EXPECT_EQ(text(drums->folderName), "Drums");
    EXPECT_EQ(text(first->name), "a.wav");
    EXPECT_EQ(catalog.folderAt(0), drums);
}

TEST_F(QueryTree, CountInFolderZeroIsTheRootCount)
{
    EXPECT_EQ(catalog.countInFolder(0), 2);
    EXPECT_EQ(catalog.countInFolder(1), 1);
    EXPECT_EQ(catalog.countInFolder(3), 2);
    EXPECT_EQ(catalog.countInFolder(-1), 0);
    // A copy of folder 3 alone holds no file of folder 0, yet keeps the root count.
    CFileCatalog copy;
    copy.copyFrom(catalog, 3);
    EXPECT_EQ(copy.fileCount(), 2);
    EXPECT_EQ(copy.countInFolder(0), 2);
    EXPECT_EQ(copy.totalCount(true), 5);
}

TEST_F(QueryTree, CursorsWalkEachListOnceAndThenStay)
{
    CFileCatalog::FileCursor files{};
    std::vector<int> ids;
    while (const FileEntry* f = catalog.nextFile(&files))
        ids.push_back(f->id);
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(files.finished, 1);
    EXPECT_EQ(catalog.nextFile(&files), nullptr);
    EXPECT_EQ(catalog.nextFile(nullptr), nullptr);

    CFileCatalog::FolderCursor folders{};
    ids.clear();
    while (const FolderEntry* f = catalog.nextFolder(&folders))
        ids.push_back(f->id);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(catalog.nextFolder(&folders), nullptr);
    EXPECT_EQ(catalog.nextFolder(nullptr), nullptr);

    CFileCatalog empty;
    CFileCatalog::FileCursor none{};
    EXPECT_EQ(empty.nextFile(&none), nullptr);
    EXPECT_EQ(none.finished, 1);
}

TEST_F(QueryTree, ChangesSendCursorsBackToTheStart)
{
    const std::function<void(CFileCatalog&)> changes[] = {
        [](CFileCatalog& c) { c.clear(); },
        [this](CFileCatalog& c) { ASSERT_EQ(scan(c, recursive()), 0); },
        [this](CFileCatalog& c) {
            CFileCatalog other;
            ASSERT_EQ(scan(other, recursive(1)), 0);
            c.copyFrom(other, -1);
        },
    };
    for (size_t k = 0; k < std::size(changes); ++k)
    {
        SCOPED_TRACE(k);
        CFileCatalog::FileCursor files{};
        CFileCatalog::FolderCursor folders{};
        ASSERT_NE(catalog.nextFile(&files), nullptr);
        ASSERT_NE(catalog.nextFile(&files), nullptr);
        while (catalog.nextFolder(&folders) != nullptr)
        {
        }
        changes[k](catalog);
        const FileEntry* again = catalog.nextFile(&files);
        const FolderEntry* folderAgain = catalog.nextFolder(&folders);
        EXPECT_EQ(again, catalog.entryAt(0));
        EXPECT_EQ(folderAgain, catalog.folderAt(0));
        ScanOptions options = recursive();
        options.relativeFileNames = 1;
        options.relativeFolderNames = 1;
        ASSERT_EQ(scan(catalog, options), 0);
    }
    // A cursor of another catalogue starts this one from its first entry.
    CFileCatalog other;
    ASSERT_EQ(scan(other, recursive()), 0);
    CFileCatalog::FileCursor foreign{};
    ASSERT_NE(other.nextFile(&foreign), nullptr);
    EXPECT_EQ(catalog.nextFile(&foreign), catalog.entryAt(0));
    EXPECT_EQ(catalog.nextFile(&foreign), catalog.entryAt(1));
}

struct CopyCase
{
    int32_t folderId;
    std::vector<int> fileIds;
};

TEST_F(QueryTree, CopiesOutliveTheirSource)
{
    const CopyCase cases[] = {
        {-1, {0, 1, 2, 3, 4, 5}},
        {-7, {0, 1, 2, 3, 4, 5}},
        {0, {0, 1}},
        {1, {3}},
        {3, {4, 5}},
        {99, {}},
    };
    for (const CopyCase& c : cases)
    {
        SCOPED_TRACE(c.folderId);
        auto source = std::make_unique<CFileCatalog>();
        ScanOptions options = recursive();
        options.relativeFileNames = 1;
        ASSERT_EQ(scan(*source, options), 0);
        const std::vector<FileRow> sourceFiles = files(*source);
        const std::vector<FolderRow> sourceFolders = folders(*source);

        CFileCatalog copy;
        ASSERT_EQ(scan(copy, recursive(1)), 0); // replaced by the copy
        copy.copyFrom(*source, c.folderId);
        source.reset(); // the copy owns its own entries

        std::vector<FileRow> expected;
        for (int id : c.fileIds)
            expected.push_back(sourceFiles[static_cast<size_t>(id)]);
        EXPECT_EQ(files(copy), expected);
        EXPECT_EQ(folders(copy), sourceFolders);
        EXPECT_EQ(copy.countInFolder(0), 2);
        EXPECT_EQ(copy.folderCount(), 3);
    }
}

TEST_F(QueryTree, CopyingItselfChangesNothing)
{
    const std::vector<FileRow> before = files(catalog);
    const std::vector<FolderRow> foldersBefore = folders(catalog);
    const FileEntry* first = catalog.entryAt(0);
    CFileCatalog::FileCursor cursor{};
    ASSERT_EQ(catalog.nextFile(&cursor), first);
    for (int32_t folderId : {-1, 0, 3})
        catalog.copyFrom(catalog, folderId);
    EXPECT_EQ(files(catalog), before);
    EXPECT_EQ(folders(catalog), foldersBefore);
    EXPECT_EQ(catalog.entryAt(0), first);
    EXPECT_EQ(catalog.nextFile(&cursor), catalog.entryAt(1)); // the walk goes on
}

TEST_F(CatalogTree, StableCaseBlindSortByTitle)
{
    // Listed and added as: b (0), sub/A (1), sub/a (2), sub2/alpha (3), sub2/B (4), Zeta (5).
    for (const char* f : {"b.wav", "sub/A.wav", "sub/a.WAV", "sub2/alpha.wav", "sub2/B.wav", "Zeta.wav"})
        touch(f);
    struct Case
    {
        bool sort;
        std::vector<int> ids;
    } cases[] = {{false, {0, 1, 2, 3, 4, 5}}, {true, {1, 2, 3, 0, 4, 5}}};
    for (const Case& c : cases)
    {
        ScanOptions options = recursive();
        options.sortByTitle = c.sort;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        std::vector<int> ids;
        for (const FileRow& row : files(catalog))
            ids.push_back(row.id);
        EXPECT_EQ(ids, c.ids);
        expectConsistent(catalog);
    }
}

TEST_F(CatalogTree, ClearDropsFoldersSoARescanStartsAfresh)
{
    folder("one/two");
    folder("three");
    CFileCatalog catalog;
    ASSERT_EQ(scan(catalog, recursive()), 0);
    ASSERT_EQ(catalog.fileCount(), 0);
    ASSERT_EQ(catalog.folderCount(), 3);
    const FolderEntry* before = catalog.folderAt(2);
    EXPECT_EQ(before->id, 3);
    catalog.clear();
    EXPECT_EQ(catalog.folderCount(), 0);
    EXPECT_EQ(catalog.totalCount(true), 0);
    ASSERT_EQ(scan(catalog, recursive()), 0);
    ASSERT_EQ(catalog.folderCount(), 3);
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(catalog.folderAt(i)->id, i + 1);
    // A rescan alone starts afresh as well.
    touch("one/x.wav");
    ASSERT_EQ(scan(catalog, recursive()), 0);
    EXPECT_EQ(folders(catalog),
        (std::vector<FolderRow>{{1, 0, 1, "one", "one", "One", "one\\"}, {2, 1, 0, "two", "two", "Two", "one\\two\\"},
            {3, 0, 0, "three", "three", "Three", "three\\"}}));
    EXPECT_EQ(catalog.totalCount(false), 0);
    EXPECT_EQ(catalog.totalCount(true), 3);
}

} // namespace
} // namespace catalogue_test
