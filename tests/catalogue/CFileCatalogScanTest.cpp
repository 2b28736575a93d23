// Catalogue scans of temporary folder trees: ids, parents, counts, names and paths,
// depth limits, empty folders, same-named folders and scanning again. The extension
// filter, long names, deep trees, links and unlistable roots are in CFileCatalogEdgeTest.cpp.
#include "CatalogTree.h"

namespace catalogue_test {
namespace {

// a.wav, B.WAV, c.txt, wav, Drums/kick.wav, Drums/Deep/sub.wav, KEYS/piano.wav; listed
// in case-blind order, so Drums/Deep is met before Drums/kick.wav.
class BasicTree : public CatalogTree
{
protected:
    void SetUp() override
    {
        CatalogTree::SetUp();
        for (const char* f : {"a.wav", "B.WAV", "c.txt", "wav", "Drums/kick.wav", "Drums/Deep/sub.wav",
                 "KEYS/piano.wav"})
            touch(f);
    }
};

struct BasicCase
{
    const char* label;
    bool relativeFiles;
    bool relativeFolders;
    std::vector<FileRow> files;
    std::vector<FolderRow> folders;
};

TEST_F(BasicTree, IdsParentsCountsNamesAndPaths)
{
    const BasicCase cases[] = {
        {"bare names", false, false,
            {{0, 0, "a.wav", "a", "a.wav"}, {1, 0, "B.WAV", "B", "B.WAV"},
                {2, 2, "sub.wav", "sub", "Drums\\Deep\\sub.wav"}, {3, 1, "kick.wav", "kick", "Drums\\kick.wav"},
                {4, 3, "piano.wav", "piano", "KEYS\\piano.wav"}},
            {{1, 0, 1, "Drums", "Drums", "Drums", "Drums\\"}, {2, 1, 1, "Deep", "Deep", "Deep", "Drums\\Deep\\"},
                {3, 0, 1, "KEYS", "KEYS", "Keys", "KEYS\\"}}},
        {"relative names", true, true,
            {{0, 0, "a.wav", "a", "a.wav"}, {1, 0, "B.WAV", "B", "B.WAV"},
                {2, 2, "Drums\\Deep\\sub.wav", "sub", "Drums\\Deep\\sub.wav"},
                {3, 1, "Drums\\kick.wav", "kick", "Drums\\kick.wav"},
                {4, 3, "KEYS\\piano.wav", "piano", "KEYS\\piano.wav"}},
            {{1, 0, 1, "Drums", "Drums", "Drums", "Drums\\"},
                {2, 1, 1, "Drums\\Deep", "Deep", "Deep", "Drums\\Deep\\"},
                {3, 0, 1, "KEYS", "KEYS", "Keys", "KEYS\\"}}},
        // Relative file names follow the folders' relative paths even when the folders'
        // own names are bare, and the other way round.
        {"relative files only", true, false,
            {{0, 0, "a.wav", "a", "a.wav"}, {1, 0, "B.WAV", "B", "B.WAV"},
                {2, 2, "Drums\\Deep\\sub.wav", "sub", "Drums\\Deep\\sub.wav"},
                {3, 1, "Drums\\kick.wav", "kick", "Drums\\kick.wav"},
                {4, 3, "KEYS\\piano.wav", "piano", "KEYS\\piano.wav"}},
            {{1, 0, 1, "Drums", "Drums", "Drums", "Drums\\"}, {2, 1, 1, "Deep", "Deep", "Deep", "Drums\\Deep\\"},
                {3, 0, 1, "KEYS", "KEYS", "Keys", "KEYS\\"}}},
    };
    for (const BasicCase& c : cases)
    {
        SCOPED_TRACE(c.label);
        ScanOptions options = recursive();
        options.relativeFileNames = c.relativeFiles;
        options.relativeFolderNames = c.relativeFolders;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        EXPECT_EQ(files(catalog), c.files);
        EXPECT_EQ(folders(catalog), c.folders);
        EXPECT_EQ(catalog.fileCount(), 5);
        EXPECT_EQ(catalog.folderCount(), 3);
        EXPECT_EQ(catalog.countInFolder(0), 2);
        EXPECT_EQ(catalog.countInFolder(1), 1);
        EXPECT_EQ(catalog.countInFolder(7), 0);
        EXPECT_EQ(catalog.totalCount(false), 2);
        EXPECT_EQ(catalog.totalCount(true), 5);
        expectConsistent(catalog);
    }
}

// A chain d1/d2/.../d20, each folder holding one file; top.wav at the root. Folder dK
// is met at level K-1.
class ChainTree : public CatalogTree
{
protected:
    void SetUp() override
    {
        CatalogTree::SetUp();
        touch("top.wav");
        std::string path;
        for (int k = 1; k <= 20; ++k)
        {
            path += 'd' + std::to_string(k) + '/';
            touch(path + 'f' + std::to_string(k) + ".wav");
        }
    }
};

constexpr int32_t kOff = INT32_MIN; // marks the case with recursion switched off

struct DepthCase
{
    int32_t maxDepth;
    bool flattenBeyond;
    int entries;       // folder entries: d1..d<entries>
    int files;         // files catalogued
    int deepestCount;  // fileCount of the deepest entry
};

TEST_F(ChainTree, DepthLimitsWithAndWithoutFlattening)
{
    const DepthCase cases[] = {
        {1, false, 1, 2, 1},   // the root's sub-folders only
        {1, true, 1, 21, 20},  // everything below d1 counted into d1
        {2, false, 2, 3, 1},
        {3, true, 3, 21, 18},
        {16, false, 16, 17, 1},
        {0, false, 17, 18, 1}, // any value outside 1..16 allows 17 levels
        {40, false, 17, 18, 1},
        {17, false, 17, 18, 1},
        {0, true, 17, 21, 4},
        {-2, true, 17, 21, 4},
        {kOff, true, 0, 1, 0}, // no recursion at all: the root's files only
    };
    for (const DepthCase& c : cases)
    {
        SCOPED_TRACE("maxDepth " + std::to_string(c.maxDepth) + (c.flattenBeyond ? " flattened" : ""));
        ScanOptions options = recursive(c.maxDepth);
        options.recurse = c.maxDepth != kOff;
        options.flattenBeyondDepth = c.flattenBeyond;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        ASSERT_EQ(catalog.folderCount(), c.entries);
        EXPECT_EQ(catalog.fileCount(), c.files);
        for (int k = 1; k <= c.entries; ++k)
        {
            const FolderEntry* d = catalog.folderAt(k - 1);
            EXPECT_EQ(text(d->folderName), 'd' + std::to_string(k));
            EXPECT_EQ(d->id, k);
            EXPECT_EQ(d->parentId, k - 1);
        }
        if (c.entries > 0)
        {
            EXPECT_EQ(catalog.folderAt(c.entries - 1)->fileCount, c.deepestCount);
        }
        EXPECT_EQ(catalog.countInFolder(0), 1);
        expectConsistent(catalog);
    }
}

// top.wav, hollow/notes.txt, hollow/inner/x.wav, full/y.wav, full/empty/, bare/; listed
// as bare, full, hollow, top.wav.
class HollowTree : public CatalogTree
{
protected:
    void SetUp() override
    {
        CatalogTree::SetUp();
        for (const char* f : {"top.wav", "hollow/notes.txt", "hollow/inner/x.wav", "full/y.wav"})
            touch(f);
        folder("full/empty");
        folder("bare");
    }
};

struct EmptyCase
{
    const char* label;
    bool flattenEmpty;
    bool skipEmpty;
    std::vector<FileRow> files;
    std::vector<FolderRow> folders;
};

TEST_F(HollowTree, EmptyFolderOptionsCatalogueEachFileOnce)
{
    const std::vector<FileRow> allFiles = {{0, 2, "full\\y.wav", "y", "full\\y.wav"},
        {1, 5, "hollow\\inner\\x.wav", "x", "hollow\\inner\\x.wav"}, {2, 0, "top.wav", "top", "top.wav"}};
    const std::vector<FolderRow> allFolders = {{1, 0, 0, "bare", "bare", "Bare", "bare\\"},
        {2, 0, 1, "full", "full", "Full", "full\\"}, {3, 2, 0, "full\\empty", "empty", "Empty", "full\\empty\\"},
        {4, 0, 0, "hollow", "hollow", "Hollow", "hollow\\"},
        {5, 4, 1, "hollow\\inner", "inner", "Inner", "hollow\\inner\\"}};
    const EmptyCase cases[] = {
        {"every folder its entry", false, false, allFiles, allFolders},
        {"skip alone changes nothing", false, true, allFiles, allFolders},
        // hollow gets no entry: inner is found from the root's scan and hangs from it.
        {"flattened", true, false,
            {{0, 1, "full\\y.wav", "y", "full\\y.wav"}, {1, 2, "hollow\\inner\\x.wav", "x", "hollow\\inner\\x.wav"},
                {2, 0, "top.wav", "top", "top.wav"}},
            {{1, 0, 1, "full", "full", "Full", "full\\"},
                {2, 0, 1, "hollow\\inner", "inner", "Inner", "hollow\\inner\\"}}},
        {"flattened and skipped", true, true,
            {{0, 1, "full\\y.wav", "y", "full\\y.wav"}, {1, 0, "top.wav", "top", "top.wav"}},
            {{1, 0, 1, "full", "full", "Full", "full\\"}}},
    };
    for (const EmptyCase& c : cases)
    {
        SCOPED_TRACE(c.label);
        ScanOptions options = recursive();
        options.relativeFileNames = 1;
        options.relativeFolderNames = 1;
        options.flattenEmptyFolders = c.flattenEmpty;
        options.skipEmptyFolders = c.skipEmpty;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        EXPECT_EQ(files(catalog), c.files);
        EXPECT_EQ(folders(catalog), c.folders);
        EXPECT_EQ(catalog.countInFolder(0), 1);
        expectConsistent(catalog);
    }
}

TEST_F(CatalogTree, EmptyFoldersBeyondTheDepthLimit)
{
    // deep is met at level 0 (an entry with maxDepth 1); hollow, at level 1, holds no
    // matching file itself; its sub-folder below does.
    touch("deep/a.wav");
    touch("deep/hollow/below/b.wav");
    touch("deep/full/c.wav");
    struct Case
    {
        bool flattenEmpty;
        bool skipEmpty;
        int files;
    } cases[] = {{false, false, 3}, {true, false, 3}, {true, true, 2}, {false, true, 3}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.flattenEmpty) + std::to_string(c.skipEmpty));
        ScanOptions options = recursive(1);
        options.flattenBeyondDepth = 1;
        options.flattenEmptyFolders = c.flattenEmpty;
        options.skipEmptyFolders = c.skipEmpty;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        ASSERT_EQ(catalog.folderCount(), 1);
        EXPECT_EQ(catalog.folderAt(0)->fileCount, c.files);
        EXPECT_EQ(catalog.fileCount(), c.files);
        expectConsistent(catalog);
    }
}

TEST_F(CatalogTree, SameNamedFoldersKeepTheirFiles)
{
    touch("A/Loops/one.wav");
    touch("B/Loops/two.wav");
    for (bool relative : {false, true})
        for (bool rescanKnown : {false, true})
        {
            SCOPED_TRACE(std::string(relative ? "relative" : "bare") + (rescanKnown ? ", rescan known" : ""));
            ScanOptions options = recursive();
            options.relativeFolderNames = relative;
            options.rescanKnownFolders = rescanKnown;
            CFileCatalog catalog;
            ASSERT_EQ(scan(catalog, options), 0);
            const std::string loops = relative ? "A\\Loops" : "Loops";
            const std::string otherLoops = relative ? "B\\Loops" : "Loops";
            EXPECT_EQ(folders(catalog),
                (std::vector<FolderRow>{{1, 0, 0, "A", "A", "A", "A\\"}, {2, 1, 1, loops, "Loops", "Loops", "A\\Loops\\"},
                    {3, 0, 0, "B", "B", "B", "B\\"}, {4, 3, 1, otherLoops, "Loops", "Loops", "B\\Loops\\"}}));
            EXPECT_EQ(files(catalog),
                (std::vector<FileRow>{{0, 2, "one.wav", "one", "A\\Loops\\one.wav"},
                    {1, 4, "two.wav", "two", "B\\Loops\\two.wav"}}));
            expectConsistent(catalog);
        }
}

TEST_F(CatalogTree, ScanningAgainSkipsOrRescansKnownFolders)
{
    touch("top.wav");
    touch("A/Loops/one.wav");
    touch("B/Loops/two.wav");
    struct Case
    {
        bool rescanKnown;
        int files;       // after the second scan
        int loopsCount;  // A/Loops' count after it
    } cases[] = {{false, 4, 1}, {true, 5, 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.rescanKnown ? "rescan known" : "skip known");
        ScanOptions options = recursive();
        options.rescanKnownFolders = c.rescanKnown;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        ASSERT_EQ(catalog.fileCount(), 3);
        touch("A/Loops/three.wav"); // in a known folder
        touch("C/four.wav");        // in a new one
        touch("new.wav");           // at the root
        const int32_t added = catalog.scanFolder(rootPath(), CFixedString(), CFixedString("wav"), options, 0, 0);
        EXPECT_EQ(added, 1); // top.wav is catalogued already
        EXPECT_EQ(catalog.countInFolder(0), 1); // the caller counts what scanFolder returns
        EXPECT_EQ(catalog.fileCount(), c.files + 1);
        EXPECT_EQ(catalog.folderCount(), 5);
        EXPECT_EQ(catalog.folderAt(1)->fileCount, c.loopsCount);
        const FolderEntry* newFolder = catalog.folderAt(4);
        EXPECT_EQ(text(newFolder->folderName), "C");
        EXPECT_EQ(newFolder->id, 5);
        EXPECT_EQ(newFolder->fileCount, 1);
        EXPECT_EQ(catalog.entryAt(c.files)->id, c.files);
        ASSERT_EQ(scan(catalog, options), 0); // a rescan counts every root file once
        EXPECT_EQ(catalog.countInFolder(0), 2);
        expectConsistent(catalog);
        fs::remove(root / "new.wav");
        fs::remove(root / "A/Loops/three.wav");
        fs::remove_all(root / "C");
    }
}

TEST_F(CatalogTree, ScanningIntoAFolderEntry)
{
    touch("A/a.wav");
    touch("elsewhere/b.wav");
    CFileCatalog catalog;
    ASSERT_EQ(scan(catalog, recursive(1)), 0);
    const CFixedString elsewhere((rootText() + "elsewhere").c_str()); // no trailing separator
    const int32_t a = catalog.findFolderByName(CFixedString("A"))->id;
    EXPECT_EQ(catalog.scanFolder(elsewhere, CFixedString("A"), CFixedString("wav"), ScanOptions{}, 99, 1), 0);
    EXPECT_EQ(catalog.fileCount(), 2); // no folder 99: nothing added
    EXPECT_EQ(catalog.scanFolder(elsewhere, CFixedString("A"), CFixedString("wav"), ScanOptions{}, a, 1), 0);
    EXPECT_EQ(catalog.fileCount(), 2); // the same files again are not added twice
    fs::remove_all(root / "elsewhere");
    touch("other/c.wav");
    ScanOptions relativeFiles;
    relativeFiles.relativeFileNames = 1;
    const CFixedString other((rootText() + "other").c_str());
    EXPECT_EQ(catalog.scanFolder(other, CFixedString("A"), CFixedString("wav"), relativeFiles, a, 1), 1);
    const FileEntry* c = catalog.findFile(CFixedString("c"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->folderId, a);
    EXPECT_EQ(text(c->name), "A\\c.wav");
    EXPECT_EQ(relative(c->path), "other\\c.wav");
    EXPECT_EQ(catalog.findFolderByName(CFixedString("A"))->fileCount, 1); // left to the caller
}

} // namespace
} // namespace catalogue_test
