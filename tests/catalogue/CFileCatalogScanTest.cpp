// Catalogue scans of temporary folder trees: ids, parents, counts, names and paths,
// depth limits, empty folders, same-named folders, scanning again, names of 127 and 128
// characters, trees deeper than a path can hold, links and roots that cannot be listed.
#include "CatalogTree.h"

#include <climits>
#include <tuple>

namespace catalogue_test {
namespace {

TEST_F(CatalogTree, IdsParentsCountsNamesAndPaths)
{
    // Listed in case-blind order, so Drums/Deep is met before Drums/kick.wav.
    touch({"a.wav", "B.WAV", "c.txt", "wav", "Drums/kick.wav", "Drums/Deep/sub.wav", "KEYS/piano.wav"});
    const Rows bareFiles = {"0|0|a.wav|a|a.wav", "1|0|B.WAV|B|B.WAV", "2|2|sub.wav|sub|Drums\\Deep\\sub.wav",
        "3|1|kick.wav|kick|Drums\\kick.wav", "4|3|piano.wav|piano|KEYS\\piano.wav"};
    // Relative file names hold the whole path from the root, whatever the folder names hold.
    const Rows relativeFiles = {"0|0|a.wav|a|a.wav", "1|0|B.WAV|B|B.WAV",
        "2|2|Drums\\Deep\\sub.wav|sub|Drums\\Deep\\sub.wav", "3|1|Drums\\kick.wav|kick|Drums\\kick.wav",
        "4|3|KEYS\\piano.wav|piano|KEYS\\piano.wav"};
    const Rows bareFolders = {"1|0|1|Drums|Drums|Drums|Drums\\", "2|1|1|Deep|Deep|Deep|Drums\\Deep\\",
        "3|0|1|KEYS|KEYS|Keys|KEYS\\"};
    Rows relativeFolders = bareFolders;
    relativeFolders[1] = "2|1|1|Drums\\Deep|Deep|Deep|Drums\\Deep\\";
    for (int k = 0; k < 4; ++k)
    {
        SCOPED_TRACE(k);
        ASSERT_EQ(scan({.recurse = 1, .relativeFolderNames = k >= 2, .relativeFileNames = k % 2 == 1}), 0);
        EXPECT_EQ(files(catalog), k % 2 == 1 ? relativeFiles : bareFiles);
        EXPECT_EQ(folders(catalog), k >= 2 ? relativeFolders : bareFolders);
        const int32_t counts[] = {catalog.countInFolder(0), catalog.countInFolder(-1), catalog.countInFolder(7),
            catalog.totalCount(false), catalog.totalCount(true)};
        EXPECT_EQ(std::vector<int32_t>(std::begin(counts), std::end(counts)), (std::vector<int32_t>{2, 0, 0, 2, 5}));
        expectConsistent();
    }
}

TEST_F(CatalogTree, DepthLimitsWithAndWithoutFlattening)
{
    // A chain d1/d2/.../d20, each folder holding one file, and top.wav: dK is met at level K-1.
    touch({"top.wav"});
    std::string path;
    for (int k = 1; k <= 20; ++k)
        touch({(path += 'd' + std::to_string(k) + '/') + 'f' + std::to_string(k) + ".wav"});
    const int32_t off = INT32_MIN; // recursion switched off
    // maxDepth, flattenBeyondDepth, folder entries (d1..d<entries>), files, the deepest entry's fileCount
    const std::tuple<int32_t, bool, int, int, int> cases[] = {
        {1, false, 1, 2, 1}, // the root's sub-folders only
        {1, true, 1, 21, 20}, // everything below d1 counted into d1
        {2, false, 2, 3, 1}, {3, true, 3, 21, 18}, {16, false, 16, 17, 1},
        {0, false, 17, 18, 1}, // any value outside 1..16 allows 17 levels
        {40, false, 17, 18, 1}, {17, false, 17, 18, 1}, {0, true, 17, 21, 4}, {-2, true, 17, 21, 4},
        {off, true, 0, 1, 0}, // the root's files only
    };
    for (const auto& [maxDepth, flattenBeyond, entries, fileCount, deepestCount] : cases)
    {
        SCOPED_TRACE("maxDepth " + std::to_string(maxDepth) + (flattenBeyond ? " flattened" : ""));
        ASSERT_EQ(scan({.recurse = maxDepth != off, .maxDepth = maxDepth, .flattenBeyondDepth = flattenBeyond}), 0);
        EXPECT_EQ(catalog.fileCount(), fileCount);
        Rows expected;
        std::string path;
        for (int k = 1; k <= entries; ++k)
        {
            const std::string d = 'd' + std::to_string(k);
            const int count = k == entries ? deepestCount : 1;
            expected.push_back(row(k, k - 1, count, d, d, 'D' + d.substr(1), path += d + '\\'));
        }
        EXPECT_EQ(folders(catalog), expected);
        EXPECT_EQ(catalog.countInFolder(0), 1);
        expectConsistent();
    }
}

TEST_F(CatalogTree, EmptyFolderOptionsCatalogueEachFileOnce)
{
    // Listed as bare, full, hollow, top.wav; hollow holds no matching file itself.
    touch({"top.wav", "hollow/notes.txt", "hollow/inner/x.wav", "full/y.wav"});
    folder("full/empty");
    folder("bare");
    const Rows allFiles = {"0|2|full\\y.wav|y|full\\y.wav", "1|5|hollow\\inner\\x.wav|x|hollow\\inner\\x.wav",
        "2|0|top.wav|top|top.wav"};
    const Rows allFolders = {"1|0|0|bare|bare|Bare|bare\\", "2|0|1|full|full|Full|full\\",
        "3|2|0|full\\empty|empty|Empty|full\\empty\\", "4|0|0|hollow|hollow|Hollow|hollow\\",
        "5|4|1|hollow\\inner|inner|Inner|hollow\\inner\\"};
    // flattenEmptyFolders, skipEmptyFolders, the files, the folders
    const std::tuple<bool, bool, Rows, Rows> cases[] = {
        {false, false, allFiles, allFolders},
        {false, true, allFiles, allFolders}, // skipping alone changes nothing
        // hollow gets no entry: inner is found from the root's scan and hangs from it.
        {true, false,
            {"0|1|full\\y.wav|y|full\\y.wav", "1|2|hollow\\inner\\x.wav|x|hollow\\inner\\x.wav",
                "2|0|top.wav|top|top.wav"},
            {"1|0|1|full|full|Full|full\\", "2|0|1|hollow\\inner|inner|Inner|hollow\\inner\\"}},
        {true, true, {"0|1|full\\y.wav|y|full\\y.wav", "1|0|top.wav|top|top.wav"}, {"1|0|1|full|full|Full|full\\"}},
    };
    for (const auto& [flattenEmpty, skipEmpty, fileRows, folderRows] : cases)
    {
        SCOPED_TRACE(std::to_string(flattenEmpty) + std::to_string(skipEmpty));
        ASSERT_EQ(scan({.recurse = 1, .relativeFolderNames = 1, .relativeFileNames = 1,
                      .flattenEmptyFolders = flattenEmpty, .skipEmptyFolders = skipEmpty}),
            0);
        EXPECT_EQ(files(catalog), fileRows);
        EXPECT_EQ(folders(catalog), folderRows);
        expectConsistent();
    }
    // Beyond the depth limit: deep (level 0) gets an entry with maxDepth 1; hollow (level 1)
    // holds no matching file itself, its sub-folder does.
    fs::remove_all(root);
    touch({"deep/a.wav", "deep/hollow/below/b.wav", "deep/full/c.wav"});
    for (const auto& [flattenEmpty, skipEmpty, fileRows, folderRows] : cases)
    {
        SCOPED_TRACE("beyond the limit " + std::to_string(flattenEmpty) + std::to_string(skipEmpty));
        ASSERT_EQ(scan({.recurse = 1, .maxDepth = 1, .flattenBeyondDepth = 1, .flattenEmptyFolders = flattenEmpty,
            .skipEmptyFolders = skipEmpty}), 0);
        EXPECT_EQ(folders(catalog), Rows{row(1, 0, flattenEmpty && skipEmpty ? 2 : 3, "deep|deep|Deep|deep\\")});
        expectConsistent();
    }
}

TEST_F(CatalogTree, SameNamedFoldersKeepTheirFiles)
{
    touch({"A/Loops/one.wav", "B/Loops/two.wav", "B/loops/three.wav"}); // case makes another folder
    for (int k = 0; k < 4; ++k)
    {
        SCOPED_TRACE(k);
        const bool relative = k % 2 == 1;
        ASSERT_EQ(scan({.recurse = 1, .rescanKnownFolders = k >= 2, .relativeFolderNames = relative}), 0);
        const std::string a = relative ? "A\\" : "", b = relative ? "B\\" : "";
        EXPECT_EQ(folders(catalog),
            (Rows{"1|0|0|A|A|A|A\\", "2|1|1|" + a + "Loops|Loops|Loops|A\\Loops\\", "3|0|0|B|B|B|B\\",
                "4|3|1|" + b + "Loops|Loops|Loops|B\\Loops\\", "5|3|1|" + b + "loops|loops|Loops|B\\loops\\"}));
        EXPECT_EQ(files(catalog), (Rows{"0|2|one.wav|one|A\\Loops\\one.wav", "1|4|two.wav|two|B\\Loops\\two.wav",
                                      "2|5|three.wav|three|B\\loops\\three.wav"}));
    }
}

// scanFolder adds to the lists as they stand and returns how many files it counted into
// the folder it was given; counting them is its caller's part (rescan's for the root).
TEST_F(CatalogTree, ScanFolderLeavesTheCountingToItsCaller)
{
    const CFixedString wav("wav");
    for (bool rescanKnown : {false, true})
    {
        SCOPED_TRACE(rescanKnown);
        touch({"top.wav", "A/Loops/one.wav", "B/Loops/two.wav"});
        const ScanOptions options{.recurse = 1, .rescanKnownFolders = rescanKnown};
        ASSERT_EQ(scan(options), 0);
        touch({"A/Loops/three.wav", "C/four.wav", "new.wav"}); // a known folder, a new one, the root
        EXPECT_EQ(catalog.scanFolder(rootPath(), CFixedString(), wav, options, 0, 0), 1); // top.wav is known
        EXPECT_EQ(catalog.countInFolder(0), 1);
        const std::string loops = row(2, 1, rescanKnown ? 2 : 1, "Loops|Loops|Loops|A\\Loops\\");
        EXPECT_EQ(folders(catalog), (Rows{"1|0|0|A|A|A|A\\", loops, "3|0|0|B|B|B|B\\",
                                        "4|3|1|Loops|Loops|Loops|B\\Loops\\", "5|0|1|C|C|C|C\\"}));
        const Rows added = files(catalog);
        EXPECT_EQ(Rows(added.begin() + 3, added.end()),
            (rescanKnown ? Rows{"3|2|three.wav|three|A\\Loops\\three.wav", "4|5|four.wav|four|C\\four.wav",
                               "5|0|new.wav|new|new.wav"}
                         : Rows{"3|5|four.wav|four|C\\four.wav", "4|0|new.wav|new|new.wav"}));
        ASSERT_EQ(scan(options), 0); // counts each root file once
        EXPECT_EQ(catalog.countInFolder(0), 2);
        expectConsistent();
        fs::remove_all(root);
    }
    // Into folder entry A, from a folder elsewhere given without a trailing separator.
    touch({"A/a.wav"});
    ASSERT_EQ(scan({.recurse = 1, .maxDepth = 1}), 0);
    touch({"elsewhere/c.wav"});
    const CFixedString elsewhere((rootText() + "elsewhere").c_str()), prefix("A");
    const ScanOptions relativeFiles{.relativeFileNames = 1};
    EXPECT_EQ(catalog.scanFolder(elsewhere, prefix, wav, relativeFiles, 99, 1), 0); // no folder 99
    EXPECT_EQ(catalog.scanFolder(elsewhere, prefix, wav, relativeFiles, 1, 1), 1);
    EXPECT_EQ(catalog.scanFolder(elsewhere, prefix, wav, relativeFiles, 1, 1), 0); // catalogued already
    EXPECT_EQ(files(catalog), (Rows{"0|1|a.wav|a|A\\a.wav", "1|1|A\\c.wav|c|elsewhere\\c.wav"}));
    EXPECT_EQ(folders(catalog), Rows{"1|0|1|A|A|A|A\\"});
}

TEST_F(CatalogTree, NamesOf127AndOf128Characters)
{
    const std::string name127 = std::string(123, 'n') + ".wav", folder127(127, 'f');
    touch({name127, std::string(124, 'm') + ".wav", folder127 + "/in.wav", std::string(128, 'g') + "/lost.wav"});
    for (bool flatten : {false, true})
    {
        ASSERT_EQ(scan({.recurse = 1, .flattenEmptyFolders = flatten}), 0);
        EXPECT_EQ(files(catalog), (Rows{row(0, 1, "in.wav|in", folder127 + "\\in.wav"),
                                      row(1, 0, name127, std::string(123, 'n'), name127)}));
        EXPECT_EQ(folders(catalog),
            Rows{row(1, 0, 1, folder127, folder127, 'F' + folder127.substr(1), folder127 + '\\')});
    }
}

// Files whose paths fit are catalogued, and the scan ends where the paths stop fitting.
TEST_F(CatalogTree, TreesDeeperThanAPathCanHoldFinish)
{
    // Characters per folder name and flattenBeyondDepth: about 240 levels flattened; long names with entries.
    for (const auto& [nameLength, flattenBeyond] : {std::pair{1, true}, std::pair{40, false}})
    {
        SCOPED_TRACE(nameLength);
        fs::path deep = root / "t";
        size_t expected = 0;
        int levels = 0;
        while (deep.string().size() < 560)
        {
            deep /= std::string(nameLength, 'd');
            fs::create_directories(deep);
            std::ofstream(deep / "f.wav") << "x";
            // Listing a folder needs its path, a backslash and "*.*" to fit in 511.
            if (deep.string().size() + 6 <= 511 && (flattenBeyond || ++levels <= 17))
                ++expected;
        }
        const ScanOptions options{
            .recurse = 1, .flattenBeyondDepth = flattenBeyond, .relativeFolderNames = 1, .relativeFileNames = 1};
        ASSERT_EQ(catalog.rescan(rootPath("t"), CFixedString("wav"), options), 0);
        EXPECT_EQ(static_cast<size_t>(catalog.fileCount()), expected);
        EXPECT_GT(expected, 5u);
        EXPECT_LE(catalog.folderCount(), 17);
        expectConsistent();
        fs::remove_all(root / "t");
    }
}

TEST_F(CatalogTree, LinksAreNeverFollowed)
{
    touch({"real/a.wav", "real/deeper/b.wav", "outside/o.wav"});
    fs::create_directory_symlink(root, root / "real/loop");             // back to the root
    fs::create_directory_symlink(root / "outside", root / "real/away"); // out of the tree
    fs::create_symlink(root / "real/a.wav", root / "real/alias.wav");
    ASSERT_EQ(catalog.rescan(rootPath("real"), CFixedString("wav"), {.recurse = 1, .flattenBeyondDepth = 1}), 0);
    // The file link is a file of this folder; the folder links lead nowhere.
    EXPECT_EQ(files(catalog),
        (Rows{"0|0|a.wav|a|real\\a.wav", "1|0|alias.wav|alias|real\\alias.wav", "2|1|b.wav|b|real\\deeper\\b.wav"}));
    EXPECT_EQ(folders(catalog), (Rows{"1|0|1|deeper|deeper|Deeper|real\\deeper\\"}));
}

TEST_F(CatalogTree, RootsThatCannotBeListedFail)
{
    touch({"full/a.wav", "full/sub/b.wav", "file.wav"});
    folder("empty");
    // The root path, rescan's result, files catalogued
    const std::tuple<std::string, int32_t, int> cases[] = {
        {rootText("full"), 0, 2},
        {root.string() + "/full", 0, 2}, // forward slashes, no trailing separator
        {rootText("empty"), 0, 0},
        {rootText("missing"), -1, 0},
        {rootText() + "file.wav", -1, 0},
        {"", -1, 0},
        {rootText() + std::string(520, 'x'), -1, 0}, // does not fit
    };
    for (const auto& [path, result, fileCount] : cases)
    {
        SCOPED_TRACE(path);
        ASSERT_EQ(scan({.recurse = 1}), 0); // filled before, emptied by the rescan
        EXPECT_EQ(catalog.rescan(CFixedString(path.c_str()), CFixedString("wav"), {.recurse = 1}), result);
        const Rows listed = {"0|0|a.wav|a|full\\a.wav", "1|1|b.wav|b|full\\sub\\b.wav"};
        EXPECT_EQ(files(catalog), fileCount ? listed : Rows{});
        EXPECT_EQ(folders(catalog), (fileCount ? Rows{"1|0|1|sub|sub|Sub|full\\sub\\"} : Rows{}));
        EXPECT_EQ(catalog.countInFolder(0), fileCount / 2);
    }
}

} // namespace
} // namespace catalogue_test
