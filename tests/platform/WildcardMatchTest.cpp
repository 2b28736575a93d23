#include "platform/WildcardMatch.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;

  friend void PrintTo(const WildcardCase& c, std::ostream* os) {
    *os << '"' << c.pattern << "\" vs \"" << c.name << '"';
  }
};

class WildcardMatchTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardMatchTest, FollowsWindowsRules) {
  EXPECT_EQ(matchesWildcard(GetParam().pattern, GetParam().name), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WildcardMatchTest,
    ::testing::Values(
        // "*.*" lists everything, names without a dot and "." / ".." included.
        WildcardCase{"*.*", "song.wav", true}, WildcardCase{"*.*", "readme", true},
        WildcardCase{"*.*", ".", true}, WildcardCase{"*.*", "..", true}, WildcardCase{"*", "readme", true},
        WildcardCase{"*", ".hidden", true},
        // Case does not matter, on either side.
        WildcardCase{"*.wav", "SONG.WAV", true}, WildcardCase{"*.WAV", "song.wav", true},
        WildcardCase{"*.wav", "song.wav.bak", false}, WildcardCase{"*.wav", "wav", false},
        WildcardCase{"*.wav", ".", false},
        // '?' is one character; a run before '.' or the end may match fewer.
        WildcardCase{"?.txt", "a.txt", true}, WildcardCase{"?.txt", "ab.txt", false},
        WildcardCase{"a?.txt", "a.txt", true}, WildcardCase{"a??", "a", true}, WildcardCase{"a??", "abc", true},
        WildcardCase{"a??", "abcd", false}, WildcardCase{"a??", "a.b", false}, WildcardCase{"a?c", "abc", true},
        WildcardCase{"a?c", "ac", false}, WildcardCase{"a?c", "a.c", true},
        // ".*" and ".?" also match the end of the name.
        WildcardCase{"readme.*", "readme", true}, WildcardCase{"readme.*", "readme.txt", true},
        WildcardCase{"readme.*", "readmes", false}, WildcardCase{"a.?", "a", true}, WildcardCase{"a.?", "a.b", true},
        // Stars anywhere, and literal names.
        WildcardCase{"*song*", "my Song 2.wav", true}, WildcardCase{"s*g*.w?v", "song.wav", true},
        WildcardCase{"Song.wav", "song.WAV", true}, WildcardCase{"Song.wav", "song.wa", false},
        WildcardCase{"", "a", false}, WildcardCase{"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false}));

}  // namespace
