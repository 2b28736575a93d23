#include "platform/WildcardMatch.h"

#include <cstring>
#include <vector>

namespace {

enum class Kind { Literal, AnyOne, OptionalRun, Star, DotOrEnd };

struct Token {
  Kind kind;
  char c;     // Literal: the character, folded
  int count;  // OptionalRun: how many '?'
};

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::vector<Token> tokenize(const char* pattern) {
  std::vector<Token> tokens;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (*p == '*') {
      if (tokens.empty() || tokens.back().kind != Kind::Star) tokens.push_back({Kind::Star, 0, 0});
    } else if (*p == '?') {
      const char* end = p;
      while (*end == '?') ++end;
      if (*end == '.' || *end == '\0') {
        tokens.push_back({Kind::OptionalRun, 0, static_cast<int>(end - p)});
      } else {
        for (const char* q = p; q < end; ++q) tokens.push_back({Kind::AnyOne, 0, 0});
      }
      p = end - 1;
    } else if (*p == '.' && (p[1] == '*' || p[1] == '?')) {
      tokens.push_back({Kind::DotOrEnd, 0, 0});
    } else {
      tokens.push_back({Kind::Literal, fold(*p), 0});
    }
  }
  return tokens;
}

}  // namespace

bool matchesWildcard(const char* pattern, const char* name) {
  if (pattern == nullptr || name == nullptr) return false;
  const std::vector<Token> tokens = tokenize(pattern);
  const size_t n = std::strlen(name);
  const size_t columns = n + 1;
  // reach[i * columns + j]: the first i tokens can match the first j characters.
  // Filled forward, so the work stays tokens x characters whatever the pattern.
  std::vector<char> reach((tokens.size() + 1) * columns, 0);
  reach[0] = 1;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    char* next = &reach[(i + 1) * columns];
    for (size_t j = 0; j <= n; ++j) {
      if (!reach[i * columns + j]) continue;
      switch (t.kind) {
        case Kind::Literal:
          if (j < n && fold(name[j]) == t.c) next[j + 1] = 1;
          break;
        case Kind::AnyOne:
          if (j < n) next[j + 1] = 1;
          break;
        case Kind::OptionalRun:
          for (size_t m = 0; m <= static_cast<size_t>(t.count) && j + m <= n; ++m) {
            if (m > 0 && name[j + m - 1] == '.') break;
            next[j + m] = 1;
          }
          break;
        case Kind::Star:
          for (size_t m = j; m <= n; ++m) next[m] = 1;
          break;
        case Kind::DotOrEnd:
          if (j < n && name[j] == '.') next[j + 1] = 1;
          if (j == n) next[j] = 1;
          break;
      }
    }
  }
  return reach[tokens.size() * columns + n] != 0;
}
