#include "graphics/CFixedString.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CFixedString make(const std::string& s)
{
    return CFixedString(s.c_str());
}

std::string text(CFixedString s)
{
    return std::string(s.c_str(), s.length);
}

TEST(CFixedString, StartsEmptyWithEveryByteZero)
{
    CFixedString s;
    EXPECT_EQ(s.length, 0u);
    for (char c : s.buffer)
        ASSERT_EQ(c, 0);
}

TEST(CFixedString, AssignTruncatesToCapacity)
{
    CFixedString s = make(std::string(600, 'x'));
    EXPECT_EQ(s.length, 511u);
    EXPECT_EQ(std::strlen(s.c_str()), 511u);
    s.assign("");
    EXPECT_EQ(s.length, 0u);
    s.assign("abc");
    s.assign(nullptr);
    EXPECT_EQ(s.length, 0u);
    for (char c : s.buffer)
        ASSERT_EQ(c, 0);
}

struct AppendCase
{
    size_t have;
    size_t add;
    size_t expected;
};

class CFixedStringAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(CFixedStringAppend, WholeOrNothing)
{
    const AppendCase& c = GetParam();
    CFixedString a = make(std::string(c.have, 'a'));
    CFixedString b = make(std::string(c.add, 'b'));
    CFixedString sum = a + b;
    a.append(b);
    EXPECT_EQ(a.length, c.expected);
    EXPECT_EQ(sum.length, c.expected);
    EXPECT_EQ(a.buffer[a.length], 0);
    if (c.expected == c.have)
        EXPECT_EQ(text(a), std::string(c.have, 'a'));
    else
        EXPECT_EQ(text(a), std::string(c.have, 'a') + std::string(c.add, 'b'));
}

INSTANTIATE_TEST_SUITE_P(Capacity, CFixedStringAppend,
    ::testing::Values(AppendCase{450, 100, 450}, AppendCase{411, 100, 511}, AppendCase{412, 100, 412},
        AppendCase{0, 0, 0}, AppendCase{3, 4, 7}, AppendCase{511, 0, 511}),
    [](const ::testing::TestParamInfo<AppendCase>& info) {
        return caseName(info.index, "have", info.param.have, "add", info.param.add);
    });

TEST(CFixedString, AppendCharStopsAtCapacity)
{
    CFixedString s = make(std::string(510, 'a'));
    s.appendChar('z');
    EXPECT_EQ(s.length, 511u);
    s.appendChar('y');
    EXPECT_EQ(s.length, 511u);
    EXPECT_EQ(s.buffer[510], 'z');
    EXPECT_EQ(s.buffer[511], 0);
}

TEST(CFixedString, EmptyStringsNeverCompareEqual)
{
    CFixedString a, b;
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a.equalsIgnoreCase(b));
    EXPECT_FALSE(a == a);
}

struct CompareCase
{
    const char* a;
    const char* b;
    bool equal;
    bool equalIgnoringCase;
    bool aLess;
    bool bLess;
};

class CFixedStringCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CFixedStringCompare, Orders)
{
    const CompareCase& c = GetParam();
    CFixedString a = make(c.a), b = make(c.b);
    EXPECT_EQ(a == b, c.equal);
    EXPECT_EQ(a != b, !c.equal);
    EXPECT_EQ(a.equalsIgnoreCase(b), c.equalIgnoringCase);
    EXPECT_EQ(a.lessIgnoreCase(b), c.aLess);
    EXPECT_EQ(b.lessIgnoreCase(a), c.bLess);
}

INSTANTIATE_TEST_SUITE_P(Cases, CFixedStringCompare,
    ::testing::Values(CompareCase{"abc", "ABC", false, true, false, false},
        CompareCase{"abc", "abc", true, true, false, false},
        CompareCase{"abc", "abd", false, false, true, false},
        CompareCase{"ab", "ABC", false, false, true, false},
        CompareCase{"a_", "AZ", false, false, true, false}, // folded to lower case: '_' (95) < 'z' (122)
        CompareCase{"\xe9", "z", false, false, false, true}, // bytes compare unsigned
        CompareCase{"", "a", false, false, true, false}),
    [](const ::testing::TestParamInfo<CompareCase>& info) {
        return caseName(info.index, info.param.a, "vs", info.param.b);
    });

TEST(CFixedString, CopyToFillsOrLeavesDestinationAlone)
{
    char dest[8];
    std::memset(dest, 'Q', sizeof dest);
    make("hello").copyTo(dest, 3);
    EXPECT_EQ(dest[0], 'h');
    EXPECT_EQ(dest[1], 'e');
    EXPECT_EQ(dest[2], 0);
    EXPECT_EQ(dest[3], 'Q');

    std::memset(dest, 'Q', sizeof dest);
    CFixedString().copyTo(dest, sizeof dest);
    make("hello").copyTo(dest, 1);
    make("hello").copyTo(nullptr, 8);
    for (char c : dest)
        EXPECT_EQ(c, 'Q');

    make("hi").copyTo(dest, sizeof dest);
    EXPECT_STREQ(dest, "hi");
    for (size_t i = 2; i < sizeof dest; ++i)
        EXPECT_EQ(dest[i], 0);
}

struct EditCase
{
    const char* input;
    void (*edit)(CFixedString&);
    const char* expected;
};

class CFixedStringEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(CFixedStringEdit, Gives)
{
    CFixedString s = make(GetParam().input);
    GetParam().edit(s);
    EXPECT_EQ(text(s), GetParam().expected);
    EXPECT_EQ(s.buffer[s.length], 0);
}

void backslash(CFixedString& s) { s.ensureTrailingBackslash(); }
void cut(CFixedString& s) { s.cutExtension(); }
void cap(CFixedString& s) { s.capitalize(); }
void upper(CFixedString& s) { s.toUpper(); }
void lower(CFixedString& s) { s.toLower(); }
void slashes(CFixedString& s) { s.toBackslashes(); }
void trunc0(CFixedString& s) { s.truncate(0); }
void trunc2(CFixedString& s) { s.truncate(2); }
void trunc5(CFixedString& s) { s.truncate(5); }

INSTANTIATE_TEST_SUITE_P(Paths, CFixedStringEdit,
    ::testing::Values(EditCase{"", backslash, ""}, EditCase{"D:\\a", backslash, "D:\\a\\"},
        EditCase{"D:\\a\\", backslash, "D:\\a\\"}, EditCase{"a.b.c", cut, "a.b"}, EditCase{"file", cut, "file"},
        EditCase{"dir.old\\file", cut, "dir"}, EditCase{".cfg", cut, ""}, EditCase{"hELLO", cap, "Hello"},
        EditCase{"", cap, ""}, EditCase{"a1-z\xe9", upper, "A1-Z\xe9"}, EditCase{"A1-Z\xc9", lower, "a1-z\xc9"},
        EditCase{"a/b\\c/", slashes, "a\\b\\c\\"}, EditCase{"abc", trunc0, ""}, EditCase{"abc", trunc2, "ab"},
        EditCase{"abc", trunc5, "abc"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return caseName(info.index, info.param.input); });

TEST(CFixedString, TrailingBackslashRefusedAtCapacity)
{
    CFixedString s = make(std::string(511, 'a'));
    s.ensureTrailingBackslash();
    EXPECT_EQ(s.length, 511u);
    CFixedString t = make(std::string(510, 'a'));
    t.ensureTrailingBackslash();
    EXPECT_EQ(t.length, 511u);
    EXPECT_EQ(t.buffer[510], '\\');
}

TEST(CFixedString, TruncateToZeroClearsEveryByte)
{
    CFixedString s = make("abc");
    s.truncate(0);
    for (char c : s.buffer)
        ASSERT_EQ(c, 0);
}

TEST(CFixedString, CopiesKeepLength)
{
    CFixedString a = make("path\\name");
    CFixedString b(a);
    EXPECT_TRUE(a == b);
    CFixedString c;
    c = a;
    EXPECT_EQ(text(c), "path\\name");
}

} // namespace
