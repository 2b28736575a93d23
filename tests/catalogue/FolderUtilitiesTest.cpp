// Folder utilities on temporary trees.
#include "catalogue/FileUtilities.h"
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quilm-catalogue-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }
    void touch(const fs::path& relative)
    {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    // The folder as the utilities take it: backslashes and a trailing one.
    CFixedString folder(const fs::path& relative = {}) const
    {
        std::string s = (relative.empty() ? root : root / relative).string();
        for (char& c : s)
            if (c == '/')
                c = '\\';
        return CFixedString((s + "\\").c_str());
    }

    fs::path root;
};

TEST_F(TempTree, CountsMatchingFilesOneFolderDown)
{
    touch("a.wav");
    touch("B.WAV");
    touch("c.txt");
    touch("wav");
    touch("sub/d.wav");
    touch("sub/deeper/e.wav");
    fs::create_directories(root / "empty.wav"); // a folder is never counted as a file
    const CFixedString wav("wav");
    EXPECT_EQ(countFilesWithExtension(folder(), wav, false), 2);
    EXPECT_EQ(countFilesWithExtension(folder(), wav, true), 3);
    EXPECT_EQ(countFilesWithExtension(folder("missing"), wav, true), 0);
}

TEST_F(TempTree, CreatesAndFindsFolders)
{
    const CFixedString made = folder("new");
    EXPECT_FALSE(folderExists(made));
    EXPECT_TRUE(createFolder(made));
    EXPECT_TRUE(folderExists(made));
    EXPECT_FALSE(createFolder(made)); // exists already
    EXPECT_FALSE(createFolder(folder("no/such/parent")));
    touch("file");
    CFixedString file((root / "file").string().c_str());
    EXPECT_FALSE(folderExists(file));
}

TEST_F(TempTree, UniqueFolderPathSkipsTakenNames)
{
    fs::create_directories(root / "New");
    CFixedString parent((root.string()).c_str()); // without a trailing separator
    CFixedString out("stale");
    ASSERT_TRUE(makeUniqueFolderPath(parent, CFixedString("New"), &out));
    std::string expected = root.string() + "/New (1)/";
    for (char& c : expected)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(std::string(out.c_str()), expected);

    ASSERT_TRUE(makeUniqueFolderPath(parent, CFixedString("Other"), &out));
    EXPECT_EQ(std::string(out.c_str()).substr(out.length - 7), "\\Other\\");
}

TEST_F(TempTree, UniqueFolderPathGivesUpAfterThirtyTwo)
{
    fs::create_directories(root / "N");
    for (int n = 1; n <= 32; ++n)
        fs::create_directories(root / ("N (" + std::to_string(n) + ")"));
    CFixedString out("stale");
    EXPECT_FALSE(makeUniqueFolderPath(folder(), CFixedString("N"), &out));
    EXPECT_EQ(out.length, 0u);
    fs::remove(root / "N (32)");
    EXPECT_TRUE(makeUniqueFolderPath(folder(), CFixedString("N"), &out));
}

TEST_F(TempTree, UniqueFolderPathRefusals)
{
    CFixedString out("kept");
    EXPECT_FALSE(makeUniqueFolderPath(folder(), CFixedString(""), &out));
    EXPECT_EQ(std::string(out.c_str()), "kept");
    EXPECT_FALSE(makeUniqueFolderPath(folder(), CFixedString("N"), nullptr));
    // A path that no longer fits fails with an empty result instead of naming a shorter one.
    CFixedString longName(std::string(500, 'n').c_str());
    EXPECT_FALSE(makeUniqueFolderPath(folder(), longName, &out));
    EXPECT_EQ(out.length, 0u);
}

TEST_F(TempTree, DeletesATreeButNeverFollowsALinkOut)
{
    // Outside the tree: a folder with a file that must survive.
    const fs::path outside = root / "outside";
    touch("outside/keep.txt");
    touch("tree/a.txt");
    touch("tree/sub/b.txt");
    touch("tree/sub/deeper/c.txt");
    fs::create_directory_symlink(outside, root / "tree" / "sub" / "link");
    fs::create_symlink(outside / "keep.txt", root / "tree" / "filelink");

    EXPECT_TRUE(deleteFolderTree(folder("tree")));
    EXPECT_FALSE(fs::exists(root / "tree"));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
}

TEST_F(TempTree, DeleteWithoutTrailingSeparatorStaysInsideTheFolder)
{
    touch("tree/a.txt");
    touch("treeSibling.txt");
    std::string path = (root / "tree").string();
    EXPECT_TRUE(deleteFolderTree(CFixedString(path.c_str())));
    EXPECT_FALSE(fs::exists(root / "tree"));
    EXPECT_TRUE(fs::exists(root / "treeSibling.txt"));
}

TEST_F(TempTree, DeleteReportsAFailureAndKeepsGoing)
{
    touch("tree/a.txt");
    touch("tree/locked/b.txt");
    touch("tree/z.txt");
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    fs::permissions(root / "tree" / "locked", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(deleteFolderTree(folder("tree")));
    EXPECT_FALSE(fs::exists(root / "tree" / "a.txt"));
    EXPECT_FALSE(fs::exists(root / "tree" / "z.txt"));
    EXPECT_TRUE(fs::exists(root / "tree" / "locked" / "b.txt"));
    fs::permissions(root / "tree" / "locked", fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(TempTree, DeleteFailsOnPathsThatNoLongerFit)
{
    // Nest folders until the path passes 511 characters: the deepest entries cannot be
    // named, so the tree is not wholly deleted, but nothing above it is touched.
    fs::path deep = root / "tree";
    while (deep.string().size() < 560)
        deep /= std::string(40, 'd');
    fs::create_directories(deep);
    std::ofstream(deep / "f.txt") << "x";
    touch("keep.txt");
    EXPECT_FALSE(deleteFolderTree(folder("tree")));
    EXPECT_TRUE(fs::exists(root / "keep.txt"));
    EXPECT_TRUE(fs::exists(deep / "f.txt"));
}

TEST(DeleteFolderTree, RefusesEmptyPathsAndRoots)
{
    for (const char* path : {"", "\\", "/", "\\\\", "C:", "C:\\", "c:/"})
        EXPECT_FALSE(deleteFolderTree(CFixedString(path))) << path;
}

TEST_F(TempTree, DeletingAMissingFolderFails)
{
    EXPECT_FALSE(deleteFolderTree(folder("missing")));
}

struct LaunchRecord
{
    std::string program;
    std::string argument;
    int calls = 0;
};

bool recordLaunch(void* context, const char* program, const char* argument)
{
    auto* record = static_cast<LaunchRecord*>(context);
    record->program = program;
    record->argument = argument;
    ++record->calls;
    return true;
}

TEST(OpenFolder, AsksTheShellForTheFolder)
{
    LaunchRecord record;
    void* previousContext = nullptr;
    ShellLauncher previous = setShellLauncher(recordLaunch, &record, &previousContext);
    EXPECT_NE(openFolderInExplorer(CFixedString("\\tmp\\some folder\\")), 0);
    setShellLauncher(previous, previousContext);
    EXPECT_EQ(record.calls, 1);
    EXPECT_NE(record.argument.find("/tmp/some folder"), std::string::npos);
}

} // namespace
