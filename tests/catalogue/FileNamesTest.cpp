// Path splitting and name checks.
#include "catalogue/FileUtilities.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(CFixedString s)
{
    return std::string(s.c_str(), s.length);
}

struct SplitCase
{
    const char* path;
    const char* name;
    const char* nameWithExtension;
    const char* folder;
    const char* folderWithBackslash;
    const char* folderName;
};

class PathSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PathSplit, Parts)
{
    const SplitCase& c = GetParam();
    const CFixedString path(c.path);
    CFixedString out("stale");
    getFileName(&out, path, false);
    EXPECT_EQ(text(out), c.name);
    getFileName(&out, path, true);
    EXPECT_EQ(text(out), c.nameWithExtension);
    getFolderPart(&out, path, false);
    EXPECT_EQ(text(out), c.folder);
    getFolderPart(&out, path, true);
    EXPECT_EQ(text(out), c.folderWithBackslash);
    getFolderName(&out, path);
    EXPECT_EQ(text(out), c.folderName);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathSplit,
    ::testing::Values(SplitCase{"D:\\a\\b.c.txt", "b.c", "b.c.txt", "D:\\a", "D:\\a\\", "a"},
        SplitCase{"readme", "readme", "readme", "readme", "readme", "readme"},
        SplitCase{".cfg", "", ".cfg", ".cfg", ".cfg", ".cfg"},
        SplitCase{"D:\\a\\b\\", "", "", "D:\\a\\b", "D:\\a\\b\\", "b"},
        SplitCase{"D:\\a\\b.txt", "b", "b.txt", "D:\\a", "D:\\a\\", "a"},
        SplitCase{"", "", "", "", "", ""}));

TEST(PathSplit, NullOutIsIgnored)
{
    getFileName(nullptr, CFixedString("a\\b"), true);
    getFolderPart(nullptr, CFixedString("a\\b"), true);
    getFolderName(nullptr, CFixedString("a\\b"));
    SUCCEED();
}

struct ExtensionCase
{
    const char* extension;
    const char* name;
    int32_t expected;
};

class Extension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(Extension, Matches)
{
    const ExtensionCase& c = GetParam();
    EXPECT_EQ(hasExtension(CFixedString(c.extension), CFixedString(c.name)), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, Extension,
    ::testing::Values(ExtensionCase{"txt", "NOTES.TXT", 1}, ExtensionCase{"txt", "notes.txt", 1},
        ExtensionCase{"txt", "txt", 0}, ExtensionCase{"txt", "notes.txt.bak", 0}, ExtensionCase{"wav", "Song.WAV", 1},
        ExtensionCase{"wav", "wav", 0}, ExtensionCase{"", "a.", 0}, ExtensionCase{"txt", "", 0},
        ExtensionCase{"txt", ".txt", 1}, ExtensionCase{"TxT", "a.b.tXt", 1}));

struct ValidCase
{
    const char* name;
    bool valid;
};

class ValidName : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ValidName, Checks)
{
    EXPECT_EQ(isValidFileName(CFixedString(GetParam().name)), GetParam().valid) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, ValidName,
    ::testing::Values(ValidCase{"what?.txt", true}, ValidCase{"a.b", true}, ValidCase{"a|b", false},
        ValidCase{"", false}, ValidCase{"a*", false}, ValidCase{"a/b", false}, ValidCase{"c:", false},
        ValidCase{"<a", false}, ValidCase{"a>", false}, ValidCase{"a\\b", false}, ValidCase{"\xe9t\xe9", true}));

} // namespace
