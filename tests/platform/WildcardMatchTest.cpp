#include "platform/WildcardMatch.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(WildcardMatchTest, FollowsWindowsRules) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      // "*.*" lists everything, names without a dot and "." / ".." included.
      {"*.*", "song.wav", true}, {"*.*", "readme", true}, {"*.*", ".", true}, {"*.*", "..", true},
      {"*", "readme", true}, {"*", ".hidden", true},
      // Case does not matter, on either side.
      {"*.wav", "SONG.WAV", true}, {"*.WAV", "song.wav", true}, {"*.wav", "song.wav.bak", false},
      {"*.wav", "wav", false}, {"*.wav", ".", false},
      // '?' is one character; a run before '.' or the end may match fewer.
      {"?.txt", "a.txt", true}, {"?.txt", "ab.txt", false}, {"a?.txt", "a.txt", true}, {"a??", "a", true},
      {"a??", "abc", true}, {"a??", "abcd", false}, {"a??", "a.b", false}, {"a?c", "abc", true},
      {"a?c", "ac", false}, {"a?c", "a.c", true},
      // ".*" and ".?" also match the end of the name.
      {"readme.*", "readme", true}, {"readme.*", "readme.txt", true}, {"readme.*", "readmes", false},
      {"a.?", "a", true}, {"a.?", "a.b", true},
      // Stars anywhere, and literal names.
      {"*song*", "my Song 2.wav", true}, {"s*g*.w?v", "song.wav", true}, {"Song.wav", "song.WAV", true},
      {"Song.wav", "song.wa", false}, {"", "a", false}, {"ZETA", "zeta", true},
      {"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false}};
  for (const auto& [pattern, name, matches] : cases) {
    EXPECT_EQ(matchesWildcard(pattern, name), matches) << '"' << pattern << "\" vs \"" << name << '"';
  }
  EXPECT_FALSE(matchesWildcard(nullptr, "a"));
  EXPECT_FALSE(matchesWildcard("*", nullptr));
}

}  // namespace
