// Texts of any bytes made fit for drawing, and cuts that keep characters whole.
#include <gtest/gtest.h>

#include <string>

#include "platform/Utf8Text.h"

namespace {

struct ShownCase {
    const char* name;
    const char* text;
    const char* shown;
};

// "é" is C3 A9, "ÿ" C3 BF, "þ" C3 BE, "À" C3 80, "¯" C2 AF, U+0080 C2 80.
const ShownCase kShown[] = {
    {"Ascii", "Warm Pad 12", "Warm Pad 12"},
    {"TwoByte", "Caf\xc3\xa9", "Caf\xc3\xa9"},
    {"ThreeByte", "\xe2\x82\xac 5", "\xe2\x82\xac 5"},
    {"FourByte", "Keys \xf0\x9f\x8e\xb9", "Keys \xf0\x9f\x8e\xb9"},
    {"HighestCodePoint", "\xf4\x8f\xbf\xbd", "\xf4\x8f\xbf\xbd"},
    {"ControlBytesStay", "a\x01\x1f", "a\x01\x1f"},
    {"Latin1", "Caf\xe9 Bass", "Caf\xc3\xa9 Bass"},
    {"StrayBytes", "\xff\xfeLead \x80\xc0\xaf Pad", "\xc3\xbf\xc3\xbeLead \xc2\x80\xc3\x80\xc2\xaf Pad"},
    {"LoneContinuation", "\xa9", "\xc2\xa9"},
    {"CutTwoByteAtEnd", "ab\xc3", "ab\xc3\x83"},
    {"LeadAfterLead", "\xc3\xc3\xa9", "\xc3\x83\xc3\xa9"},
    {"CutThreeByte", "\xe2\x82x", "\xc3\xa2\xc2\x82x"},
    {"CutFourByteAtEnd", "Bell \xf0\x9f\x8e", "Bell \xc3\xb0\xc2\x9f\xc2\x8e"},
    {"OverlongTwoByte", "\xc1\xbf", "\xc3\x81\xc2\xbf"},
    {"OverlongThreeByte", "\xe0\x80\xaf", "\xc3\xa0\xc2\x80\xc2\xaf"},
    {"OverlongFourByte", "\xf0\x8f\xbf\xbf", "\xc3\xb0\xc2\x8f\xc2\xbf\xc2\xbf"},
    {"Surrogate", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80"},
    {"LastBeforeSurrogates", "\xed\x9f\xbf", "\xed\x9f\xbf"},
    {"AboveUnicode", "\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xc2\x80\xc2\x80"},
    {"FiveByteLead", "\xf8\x88\x80\x80\x80", "\xc3\xb8\xc2\x88\xc2\x80\xc2\x80\xc2\x80"},
    {"NoncharacterFFFE", "x\xef\xbf\xbe", "x\xc3\xaf\xc2\xbf\xc2\xbe"},
    {"NoncharacterFDD0", "\xef\xb7\x90", "\xc3\xaf\xc2\xb7\xc2\x90"},
    {"NoncharacterFDEF", "\xef\xb7\xaf", "\xc3\xaf\xc2\xb7\xc2\xaf"},
    {"AfterNoncharactersFDF0", "\xef\xb7\xb0", "\xef\xb7\xb0"},
    {"HalfwidthKatakanaFF7E", "\xef\xbd\xbe", "\xef\xbd\xbe"},
    {"NoncharacterInPlane16", "\xf4\x8f\xbf\xbf", "\xc3\xb4\xc2\x8f\xc2\xbf\xc2\xbf"},
    {"Empty", "", ""},
};

class DisplayableText : public ::testing::TestWithParam<ShownCase> {};

TEST_P(DisplayableText, ShowsEveryByte) { EXPECT_EQ(displayableUtf8(GetParam().text), GetParam().shown); }

// What is shown is itself well-formed: shown again, it stays as it is.
TEST_P(DisplayableText, ShownTextIsWellFormed) {
    const std::string shown = displayableUtf8(GetParam().text);
    EXPECT_EQ(displayableUtf8(shown.c_str()), shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, DisplayableText, ::testing::ValuesIn(kShown),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayableText, NullIsEmpty) { EXPECT_EQ(displayableUtf8(nullptr), ""); }

struct CutCase {
    const char* name;
    const char* text;
    std::size_t maxBytes;
    std::size_t kept;
};

const CutCase kCuts[] = {
    {"ShortTextWhole", "Pad", 31, 3},
    {"AsciiAtTheLimit", "abcdef", 4, 4},
    {"CharacterEndsAtTheLimit", "Nigh\xc3\xa9", 6, 6},
    {"TwoByteSplitGoesWhole", "Warm Strings for the Long Nigh\xc3\xa9 End", 31, 30},
    {"ThreeByteSplitAfterOne", "ab\xe2\x82\xac", 3, 2},
    {"ThreeByteSplitAfterTwo", "ab\xe2\x82\xac", 4, 2},
    {"FourByteSplit", "12345678901234567890123456789\xf0\x9f\x8e\xb9", 31, 29},
    {"Latin1ByteForByte", "Caf\xe9\xe9\xe9", 5, 5},
    {"InvalidBeforeTheCutByteForByte", "\xff" "ab\xc3\xa9", 4, 4},
    {"InvalidStraddlerByteForByte", "ab\xc3" "x", 3, 3},
    {"CutSequenceAtTheEndKept", "ab\xc3", 3, 3},
    {"NothingFits", "\xc3\xa9", 0, 0},
};

class CutAtCharacter : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutAtCharacter, KeepsCharactersWhole) {
    EXPECT_EQ(utf8CutLength(GetParam().text, GetParam().maxBytes), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Texts, CutAtCharacter, ::testing::ValuesIn(kCuts),
                         [](const auto& info) { return std::string(info.param.name); });

// A text that is not terminated within the limit is read no further than the character
// that the cut would split.
TEST(CutAtCharacter, ReadsNoFurtherThanTheSplitCharacter) {
    const char field[4] = {'a', 'b', '\xc3', '\xa9'};  // no NUL: the bytes after it are not ours
    EXPECT_EQ(utf8CutLength(field, 3), 2u);
    EXPECT_EQ(utf8CutLength(field, 2), 2u);
    EXPECT_EQ(utf8CutLength(nullptr, 8), 0u);
}

}  // namespace
