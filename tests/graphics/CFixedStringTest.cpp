#include "graphics/CFixedString.h"

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

bool allZero(const CFixedString& s)
{
    for (char c : s.buffer)
        if (c != 0)
            return false;
    return true;
}

TEST(CFixedString, EmptyStringsHoldOnlyZerosAndLongOnesAreCut)
{
    EXPECT_TRUE(allZero(CFixedString()));
    CFixedString s = make(std::string(600, 'x'));
    EXPECT_EQ(s.length, 511u);
    EXPECT_EQ(std::strlen(s.c_str()), 511u);
    s.assign(nullptr);
    EXPECT_EQ(s.length, 0u);
    EXPECT_TRUE(allZero(s));
    s.assign("abc");
    s.truncate(0);
    EXPECT_TRUE(allZero(s));
    CFixedString copy(make("path\\name")), assigned;
    assigned = copy;
    EXPECT_EQ(text(assigned), "path\\name");
}

struct AppendCase
{
    size_t have, add, expected;
};

class CFixedStringAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(CFixedStringAppend, WholeOrNothing)
{
    const AppendCase& c = GetParam();
    CFixedString a = make(std::string(c.have, 'a'));
    CFixedString b = make(std::string(c.add, 'b'));
    CFixedString sum = a + b;
    a.append(b);
    EXPECT_EQ(sum.length, c.expected);
    EXPECT_EQ(a.buffer[a.length], 0);
    EXPECT_EQ(text(a), std::string(c.have, 'a') + std::string(c.expected - c.have, 'b'));
    CFixedString chars = make(std::string(c.have, 'a')); // one character at a time
    for (size_t i = 0; i < c.add; ++i)
        chars.appendChar('b');
    EXPECT_EQ(chars.length, std::min<size_t>(c.have + c.add, 511));
    EXPECT_EQ(text(chars), std::string(c.have, 'a') + std::string(chars.length - c.have, 'b'));
}

INSTANTIATE_TEST_SUITE_P(Capacity, CFixedStringAppend,
    ::testing::Values(AppendCase{450, 100, 450}, AppendCase{411, 100, 511}, AppendCase{412, 100, 412},
        AppendCase{0, 0, 0}, AppendCase{3, 4, 7}, AppendCase{511, 0, 511}, AppendCase{510, 2, 510}));

struct CompareCase
{
    const char* a;
    const char* b;
    bool equal, equalIgnoringCase, aLess, bLess;
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
        CompareCase{"abc", "abc", true, true, false, false}, CompareCase{"abc", "abd", false, false, true, false},
        CompareCase{"ab", "ABC", false, false, true, false},
        CompareCase{"a_", "AZ", false, false, true, false}, // folded to lower case: '_' (95) < 'z' (122)
        CompareCase{"\xe9", "z", false, false, false, true}, // bytes compare unsigned
        CompareCase{"", "a", false, false, true, false},
        CompareCase{"", "", false, false, false, false})); // empty strings never compare equal

TEST(CFixedString, CopyToFillsOrLeavesDestinationAlone)
{
    char dest[8];
    std::memset(dest, 'Q', sizeof dest);
    CFixedString().copyTo(dest, sizeof dest);
    make("hello").copyTo(dest, 1);
    make("hello").copyTo(nullptr, 8);
    EXPECT_EQ(std::string(dest, 8), "QQQQQQQQ");
    make("hello").copyTo(dest, 3);
    EXPECT_EQ(std::string(dest, 4), std::string("he\0Q", 4));
    make("hi").copyTo(dest, sizeof dest);
    EXPECT_EQ(std::string(dest, 8), std::string("hi\0\0\0\0\0\0", 8));
}

struct EditCase
{
    std::string input;
    void (*edit)(CFixedString&);
    std::string expected;
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

const std::string full(511, 'a'), almost(510, 'a');

INSTANTIATE_TEST_SUITE_P(Paths, CFixedStringEdit,
    ::testing::Values(EditCase{"", backslash, ""}, EditCase{"D:\\a", backslash, "D:\\a\\"},
        EditCase{"D:\\a\\", backslash, "D:\\a\\"}, EditCase{full, backslash, full},
        EditCase{almost, backslash, almost + "\\"}, EditCase{"a.b.c", cut, "a.b"}, EditCase{"file", cut, "file"},
        EditCase{"dir.old\\file", cut, "dir"}, EditCase{".cfg", cut, ""}, EditCase{"hELLO", cap, "Hello"},
        EditCase{"", cap, ""}, EditCase{"a1-z\xe9", upper, "A1-Z\xe9"}, EditCase{"A1-Z\xc9", lower, "a1-z\xc9"},
        EditCase{"a/b\\c/", slashes, "a\\b\\c\\"}, EditCase{"abc", trunc0, ""}, EditCase{"abc", trunc2, "ab"},
        EditCase{"abc", trunc5, "abc"}));

} // namespace
