// Trees whose file and folder names hold a backslash, the separator of the catalogue's
// paths, or other unusual bytes: a scan lists only what lies in the tree, each file
// once, and deleting the tree touches nothing outside it.
#include "CatalogTree.h"
#include "catalogue/FileUtilities.h"

namespace catalogue_test {
namespace {

// The tree a/tree below the root holds in.wav and sub/deep.wav; these lie outside it,
// where a name read as a path (..\x, ..\..\keep) would lead.
const char* const kOutside[] = {"victim.wav", "keep/k.wav", "a/victim.wav", "a/x", "a/tree.wav"};

struct OddTree
{
    std::string name;
    std::vector<std::string> entries; // made inside the tree, '/' separating folder levels
    Rows files;                       // the catalogued files' paths, relative to the tree, in order
    Rows folders;                     // the catalogued folders' paths, likewise
    bool deletable;                   // deleteFolderTree empties and removes the tree
};

const Rows kTreeFiles = {"in.wav", "sub\\deep.wav"};
const Rows kTreeFolders = {"sub\\"};

const OddTree kTrees[] = {
    {"FileNamesLeadingToTheParent", {"..\\victim.wav", "..\\x"}, kTreeFiles, kTreeFolders, false},
    {"FolderNameLeadingTwoLevelsUp", {"..\\..\\keep/inner.wav"}, kTreeFiles, kTreeFolders, false},
    {"FolderNamedBackslash", {"\\/hidden.wav", "\\/\\/deeper.wav"}, kTreeFiles, kTreeFolders, false},
    {"NamesEndingInABackslash", {"x.wav\\", "sub\\/f.wav"}, kTreeFiles, kTreeFolders, false},
    // Every other byte is an ordinary part of a name.
    {"WildcardsBracketsAndLatin1", {"*.wav", "what?.wav", "[a].wav", "\xe9t\xe9.wav", "*/in.wav", "[/b.wav"},
        {"*\\in.wav", "*.wav", "[\\b.wav", "[a].wav", "in.wav", "sub\\deep.wav", "what?.wav", "\xe9t\xe9.wav"},
        {"*\\", "[\\", "sub\\"}, true},
};

class UnusualNames : public CatalogTree, public ::testing::WithParamInterface<OddTree>
{
protected:
    // The path relative to the tree, or "<elsewhere>" and the whole path.
    std::string inTree(const CFixedString& path) const
    {
        const std::string full = text(path), prefix = rootText("a/tree");
        return full.compare(0, prefix.size(), prefix) == 0 ? full.substr(prefix.size()) : "<elsewhere>" + full;
    }
};

TEST_P(UnusualNames, ScanListsOnlyTheTreeAndDeleteStaysInIt)
{
    const OddTree& tree = GetParam();
    for (const char* file : kOutside)
        touch({file});
    touch({"a/tree/in.wav", "a/tree/sub/deep.wav"});
    std::set<std::string> topNames;
    for (const std::string& entry : tree.entries)
    {
        touch({"a/tree/" + entry});
        topNames.insert(entry.substr(0, entry.find('/')));
    }

    for (const ScanOptions& options : {ScanOptions{.recurse = 1},
             ScanOptions{.recurse = 1, .maxDepth = 1, .rescanKnownFolders = 1, .flattenBeyondDepth = 1}})
    {
        ASSERT_EQ(catalog.rescan(rootPath("a/tree"), CFixedString("wav"), options), 0);
        Rows files, folders;
        for (int32_t i = 0; i < catalog.fileCount(); ++i)
            files.push_back(inTree(catalog.entryAt(i)->path));
        for (int32_t k = 0; k < catalog.folderCount(); ++k)
            folders.push_back(inTree(catalog.folderAt(k)->path));
        EXPECT_EQ(files, tree.files);
        EXPECT_EQ(folders, tree.folders);
        expectConsistent();
    }

    EXPECT_EQ(deleteFolderTree(rootPath("a/tree")), tree.deletable);
    for (const char* file : kOutside)
    {
        std::string content;
        std::ifstream(root / file) >> content;
        EXPECT_EQ(content, "x") << file;
    }
    if (tree.deletable)
    {
        EXPECT_FALSE(fs::exists(root / "a/tree"));
        return;
    }
    // What cannot be named stays, with the folders above it; everything else is gone.
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(root / "a/tree"))
        left.insert(entry.path().filename());
    EXPECT_EQ(left, topNames);
    for (const std::string& entry : tree.entries)
        EXPECT_TRUE(fs::exists(root / "a/tree" / entry)) << entry;
}

INSTANTIATE_TEST_SUITE_P(Trees, UnusualNames, ::testing::ValuesIn(kTrees),
    [](const ::testing::TestParamInfo<OddTree>& info) { return info.param.name; });

} // namespace
} // namespace catalogue_test
