// File and folder utilities: path splitting and name checks, and folders on temporary trees.
#include "CatalogTree.h"
#include "catalogue/FileUtilities.h"
#include "platform/Shell.h"

#include <tuple>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace catalogue_test {
namespace {

TEST(FileNames, SplitsPaths)
{
    // The path, getFileName without and with the extension, getFolderPart without and with
    // the backslash, getFolderName.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"D:\\a\\b.c.txt", "b.c", "b.c.txt", "D:\\a", "D:\\a\\", "a"},
        {"readme", "readme", "readme", "readme", "readme", "readme"},
        {".cfg", "", ".cfg", ".cfg", ".cfg", ".cfg"},
        {"D:\\a\\b\\", "", "", "D:\\a\\b", "D:\\a\\b\\", "b"},
        {"D:\\a\\b.txt", "b", "b.txt", "D:\\a", "D:\\a\\", "a"},
        {"\\x.y", "x", "x.y", "", "\\", ""},
        {"", "", "", "", "", ""},
    };
    for (const auto& [input, name, nameWithExtension, folder, folderWithBackslash, folderName] : cases)
    {
        SCOPED_TRACE(input);
        const CFixedString path(input);
        CFixedString out("stale");
        getFileName(&out, path, false);
        EXPECT_EQ(text(out), name);
        getFileName(&out, path, true);
        EXPECT_EQ(text(out), nameWithExtension);
        getFolderPart(&out, path, false);
        EXPECT_EQ(text(out), folder);
        getFolderPart(&out, path, true);
        EXPECT_EQ(text(out), folderWithBackslash);
        getFolderName(&out, path);
        EXPECT_EQ(text(out), folderName);
    }
    getFileName(nullptr, CFixedString("a\\b"), true); // a null out is ignored
    getFolderPart(nullptr, CFixedString("a\\b"), true);
    getFolderName(nullptr, CFixedString("a\\b"));
}

TEST(FileNames, ExtensionsIgnoreCase)
{
    const std::tuple<const char*, const char*, int32_t> cases[] = {{"txt", "NOTES.TXT", 1}, {"txt", "notes.txt", 1},
        {"TxT", "a.b.tXt", 1}, {"txt", ".txt", 1}, {"txt", "x.txt.txt", 1}, {"txt", "txt", 0},
        {"txt", "notes.txt.bak", 0}, {"txt", "x.text", 0}, {"txt", "xtxt", 0}, {"", "a.", 0}, {"txt", "", 0}};
    for (const auto& [extension, name, expected] : cases)
        EXPECT_EQ(hasExtension(CFixedString(extension), CFixedString(name)), expected) << extension << " " << name;
}

TEST(FileNames, ValidNames)
{
    for (const char* name : {"what?.txt", "a.b", "\xe9t\xe9"})
        EXPECT_TRUE(isValidFileName(CFixedString(name))) << name;
    for (const char* name : {"", "a|b", "a*", "a/b", "c:", "<a", "a>", "a\\b"})
        EXPECT_FALSE(isValidFileName(CFixedString(name))) << name;
}


TEST_F(CatalogTree, CountsMatchingFilesOneFolderDown)
{
    touch({"a.wav", "B.WAV", "c.txt", "wav", "sub/d.wav", "sub/deeper/e.wav"});
    folder("empty.wav"); // a folder is never counted as a file
    const CFixedString wav("wav");
    EXPECT_EQ(countFilesWithExtension(rootPath(), wav, false), 2);
    EXPECT_EQ(countFilesWithExtension(rootPath(), wav, true), 3);
    EXPECT_EQ(countFilesWithExtension(rootPath("missing"), wav, true), 0);
}

TEST_F(CatalogTree, CreatesAndFindsFolders)
{
    EXPECT_FALSE(folderExists(rootPath("new")));
    EXPECT_TRUE(createFolder(rootPath("new")));
    EXPECT_TRUE(folderExists(rootPath("new")));
    EXPECT_FALSE(createFolder(rootPath("new"))); // exists already
    EXPECT_FALSE(createFolder(rootPath("no/such/parent")));
    touch({"file"});
    EXPECT_FALSE(folderExists(CFixedString((root / "file").c_str())));
}

TEST_F(CatalogTree, UniqueFolderPaths)
{
    folder("New");
    CFixedString out("stale");
    ASSERT_TRUE(makeUniqueFolderPath(CFixedString(root.c_str()), CFixedString("New"), &out)); // no separator
    EXPECT_EQ(text(out), rootText("New (1)"));
    ASSERT_TRUE(makeUniqueFolderPath(rootPath(), CFixedString("Other"), &out));
    EXPECT_EQ(text(out), rootText("Other"));
    for (int n = 1; n <= 32; ++n)
        folder("New (" + std::to_string(n) + ")");
    EXPECT_FALSE(makeUniqueFolderPath(rootPath(), CFixedString("New"), &out)); // all 33 names taken
    EXPECT_EQ(out.length, 0u);
    fs::remove(root / "New (32)");
    ASSERT_TRUE(makeUniqueFolderPath(rootPath(), CFixedString("New"), &out));
    EXPECT_EQ(text(out), rootText("New (32)"));
    // Refusals: an empty name or no out leave out alone; a path that does not fit empties it.
    out = CFixedString("kept");
    EXPECT_FALSE(makeUniqueFolderPath(rootPath(), CFixedString(""), &out));
    EXPECT_EQ(text(out), "kept");
    EXPECT_FALSE(makeUniqueFolderPath(rootPath(), CFixedString("N"), nullptr));
    EXPECT_FALSE(makeUniqueFolderPath(rootPath(), CFixedString(std::string(500, 'n').c_str()), &out));
    EXPECT_EQ(out.length, 0u);
}

TEST_F(CatalogTree, DeletesATreeButNothingOutsideIt)
{
    touch({"outside/keep.txt", "treeSibling.txt", "tree/a.txt", "tree/sub/deeper/c.txt", "long/a.txt", "long/z.txt"});
    fs::create_directory_symlink(root / "outside", root / "tree/sub/link"); // removed, never followed
    fs::create_symlink(root / "outside/keep.txt", root / "tree/filelink");
    EXPECT_TRUE(deleteFolderTree(CFixedString((root / "tree").c_str()))); // without a trailing separator
    EXPECT_FALSE(fs::exists(root / "tree"));
    EXPECT_FALSE(deleteFolderTree(rootPath("missing")));
    // Folders nested until the path passes 511 characters: the deepest entries cannot be
    // named, so that tree is not wholly deleted, but its other entries are.
    fs::path deep = root / "long";
    while (deep.string().size() < 560)
        deep /= std::string(40, 'd');
    fs::create_directories(deep);
    std::ofstream(deep / "f.txt") << "x";
    EXPECT_FALSE(deleteFolderTree(rootPath("long")));
    EXPECT_FALSE(fs::exists(root / "long/a.txt"));
    EXPECT_FALSE(fs::exists(root / "long/z.txt"));
    EXPECT_TRUE(fs::exists(deep / "f.txt"));
    EXPECT_TRUE(fs::exists(root / "outside/keep.txt"));
    EXPECT_TRUE(fs::exists(root / "treeSibling.txt"));
}

// Drive and file-system roots are refused. The calls run in a child process shut into
// the temporary tree (chroot; without that right only the relative paths are tried, from
// inside the tree), so a fault could never reach a file outside it.
TEST_F(CatalogTree, DeleteRefusesRoots)
{
    const std::initializer_list<std::string> files = {"keep.txt", "C:/keep.txt", "c:/keep.txt", "D:/keep.txt"};
    touch(files);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        if (geteuid() != 0)
            unshare(CLONE_NEWUSER | CLONE_NEWNS); // lets a plain user chroot where allowed
        const bool shut = chroot(root.c_str()) == 0;
        if (chdir(shut ? "/" : root.c_str()) != 0)
            _exit(100);
        int deleted = 0;
        for (const char* path : {"C:", "C:\\", "c:/", "D:\\\\", "", "\\", "/", "\\\\"})
            if (shut || (path[0] != '\\' && path[0] != '/'))
                deleted += deleteFolderTree(CFixedString(path)) ? 1 : 0;
        _exit(deleted);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    for (const std::string& f : files)
        EXPECT_TRUE(fs::exists(root / f)) << f;
}

TEST(OpenFolder, AsksTheShellForTheFolder)
{
    std::string argument;
    void* previousContext = nullptr;
    const auto record = [](void* context, const char*, const char* folder) {
        *static_cast<std::string*>(context) = folder;
        return true;
    };
    const ShellLauncher previous = setShellLauncher(record, &argument, &previousContext);
    EXPECT_NE(openFolderInExplorer(CFixedString("\\tmp\\some folder\\")), 0);
    setShellLauncher(previous, previousContext);
    EXPECT_EQ(argument, "/tmp/some folder/");
}

} // namespace
} // namespace catalogue_test
