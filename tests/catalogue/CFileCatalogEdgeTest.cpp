// Catalogue scans at the edges: the extension filter, names of 127 and 128 characters,
// trees deeper than a path can hold, links and roots that cannot be listed.
#include "CatalogTree.h"

#include <climits>

#include <unistd.h>

namespace catalogue_test {
namespace {

struct ExtensionCase
{
    const char* fileName;
    const char* extension;
    bool catalogued;
    const char* title;
};

TEST_F(CatalogTree, ExtensionFilterIgnoresCase)
{
    const ExtensionCase cases[] = {
        {"Song.WAV", "wav", true, "Song"},
        {"song.wav", "WAV", true, "song"},
        {"a.Wav", "wAv", true, "a"},
        {"wav", "wav", false, ""},          // the whole name, no dot
        {"WAV", "wav", false, ""},
        {"notes.wav.bak", "wav", false, ""},
        {"x.wave", "wav", false, ""},
        {"swav", "wav", false, ""},
        {"x.wav.wav", "wav", true, "x.wav"},
        {".wav", "wav", true, ""},
        {"take 1.wav", "wav", true, "take 1"},
        {"song.wav", "", false, ""},        // an empty filter passes nothing
    };
    for (const ExtensionCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.fileName) + " / " + c.extension);
        touch(c.fileName);
        folder("dir.wav"); // a folder never passes as a file
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, ScanOptions{}, c.extension), 0);
        ASSERT_EQ(catalog.fileCount(), c.catalogued ? 1 : 0);
        if (c.catalogued)
        {
            EXPECT_EQ(text(catalog.entryAt(0)->name), c.fileName);
            EXPECT_EQ(text(catalog.entryAt(0)->title), c.title);
        }
        fs::remove(root / c.fileName);
    }
}

TEST_F(CatalogTree, NamesOf127AndOf128Characters)
{
    const std::string name127 = std::string(123, 'n') + ".wav";
    const std::string name128 = std::string(124, 'm') + ".wav";
    const std::string folder127(127, 'f');
    const std::string folder128(128, 'g');
    touch(name127);
    touch(name128);
    touch(folder127 + "/in.wav");
    touch(folder128 + "/lost.wav");
    for (bool flatten : {false, true})
    {
        ScanOptions options = recursive();
        options.flattenEmptyFolders = flatten;
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, options), 0);
        EXPECT_EQ(files(catalog),
            (std::vector<FileRow>{{0, 1, "in.wav", "in", folder127 + "\\in.wav"},
                {1, 0, name127, std::string(123, 'n'), name127}}));
        ASSERT_EQ(catalog.folderCount(), 1);
        EXPECT_EQ(text(catalog.folderAt(0)->folderName), folder127);
        expectConsistent(catalog);
    }
}

// Files whose paths fit are catalogued, and the scan ends where the paths stop fitting.
struct DeepCase
{
    const char* label;
    size_t nameLength; // characters per folder name
    bool flattenBeyond;
    bool relativeNames;
};

TEST_F(CatalogTree, TreesDeeperThanAPathCanHoldFinish)
{
    const DeepCase cases[] = {
        {"one-letter folders, flattened", 1, true, true}, // about 240 levels
        {"long folder names, entries", 40, false, true},
    };
    for (const DeepCase& c : cases)
    {
        SCOPED_TRACE(c.label);
        const fs::path tree = root / "t";
        fs::path deep = tree;
        size_t expected = 0;
        int levels = 0;
        while (deep.string().size() < 560)
        {
            deep /= std::string(c.nameLength, 'd');
            ++levels;
            fs::create_directories(deep);
            std::ofstream(deep / "f.wav") << "x";
            // Listing a folder needs its path, a backslash and "*.*" to fit in 511.
            const size_t folderLength = deep.string().size() + 1;
            if (folderLength + 3 <= 511 && folderLength + 5 <= 511 &&
                (c.flattenBeyond || levels <= 17))
                ++expected;
        }
        ScanOptions options = recursive();
        options.flattenBeyondDepth = c.flattenBeyond;
        options.relativeFileNames = c.relativeNames;
        options.relativeFolderNames = c.relativeNames;
        CFileCatalog catalog;
        ASSERT_EQ(catalog.rescan(CFixedString((windows(tree.string()) + "\\").c_str()), CFixedString("wav"), options),
            0);
        EXPECT_EQ(static_cast<size_t>(catalog.fileCount()), expected);
        EXPECT_GT(expected, 0u);
        EXPECT_LT(expected, static_cast<size_t>(levels)); // the deepest files did not fit
        EXPECT_LE(catalog.folderCount(), 17);
        std::set<std::string> paths;
        for (int32_t i = 0; i < catalog.fileCount(); ++i)
        {
            std::string path = text(catalog.entryAt(i)->path);
            EXPECT_TRUE(paths.insert(path).second);
            for (char& ch : path)
                if (ch == '\\')
                    ch = '/';
            EXPECT_TRUE(fs::is_regular_file(path)) << path;
        }
        fs::remove_all(tree);
    }
}

TEST_F(CatalogTree, LinksAreNeverFollowed)
{
    touch("real/a.wav");
    touch("real/deeper/b.wav");
    touch("outside/o.wav");
    fs::create_directory_symlink(root, root / "real" / "loop");             // back to the root
    fs::create_directory_symlink(root / "outside", root / "real" / "away"); // out of the tree
    fs::create_symlink(root / "real" / "a.wav", root / "real" / "alias.wav");
    ScanOptions options = recursive();
    options.flattenBeyondDepth = 1;
    CFileCatalog catalog;
    ASSERT_EQ(catalog.rescan(CFixedString((rootText() + "real\\").c_str()), CFixedString("wav"), options), 0);
    // The file link is a file of this folder; the folder links lead nowhere.
    std::vector<std::string> names;
    for (int32_t i = 0; i < catalog.fileCount(); ++i)
        names.push_back(text(catalog.entryAt(i)->name));
    EXPECT_EQ(names, (std::vector<std::string>{"a.wav", "alias.wav", "b.wav"}));
    ASSERT_EQ(catalog.folderCount(), 1);
    EXPECT_EQ(text(catalog.folderAt(0)->folderName), "deeper");
}

struct RootCase
{
    const char* label;
    std::string path; // below the tree's root, '/' separators
    int32_t result;
    int files;
    int rootFiles;
};

TEST_F(CatalogTree, RootsThatCannotBeListedFail)
{
    touch("full/a.wav");
    touch("full/sub/b.wav");
    folder("empty");
    touch("file.wav");
    const std::string base = root.string();
    const RootCase cases[] = {
        {"a folder", windows(base) + "\\full\\", 0, 2, 1},
        {"forward slashes, no trailing separator", base + "/full", 0, 2, 1},
        {"an empty folder", windows(base) + "\\empty\\", 0, 0, 0},
        {"a missing folder", windows(base) + "\\missing\\", -1, 0, 0},
        {"a file", windows(base) + "\\file.wav", -1, 0, 0},
        {"an empty path", "", -1, 0, 0},
        {"a path that does not fit", windows(base) + "\\" + std::string(520, 'x'), -1, 0, 0},
    };
    for (const RootCase& c : cases)
    {
        SCOPED_TRACE(c.label);
        CFileCatalog catalog;
        ASSERT_EQ(scan(catalog, recursive()), 0); // filled before, emptied by the rescan
        EXPECT_EQ(catalog.rescan(CFixedString(c.path.c_str()), CFixedString("wav"), recursive()), c.result);
        EXPECT_EQ(catalog.fileCount(), c.files);
        EXPECT_EQ(catalog.countInFolder(0), c.rootFiles);
        EXPECT_EQ(catalog.folderCount(), c.files > 0 ? 1 : 0);
        if (c.files > 0)
        {
            EXPECT_EQ(relative(catalog.entryAt(0)->path), "full\\a.wav");
            EXPECT_EQ(relative(catalog.folderAt(0)->path), "full\\sub\\");
        }
    }
}

TEST_F(CatalogTree, AFolderThatCannotBeListedContributesNothing)
{
    touch("a.wav");
    touch("locked/b.wav");
    touch("open/c.wav");
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    fs::permissions(root / "locked", fs::perms::owner_read, fs::perm_options::remove);
    CFileCatalog catalog;
    EXPECT_EQ(scan(catalog, recursive()), 0);
    fs::permissions(root / "locked", fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(catalog.fileCount(), 2);
    EXPECT_EQ(catalog.folderCount(), 2);
    EXPECT_EQ(catalog.findFolderByName(CFixedString("locked"))->fileCount, 0);
}

} // namespace
} // namespace catalogue_test
