#include "platform/Utf8Text.h"

#include <cstdint>
#include <cstring>

namespace {

bool inRange(char c, unsigned lowest, unsigned highest) {
  const auto b = static_cast<unsigned char>(c);
  return b >= lowest && b <= highest;
}

// The code point of a character that utf8CharLength measured as `length` bytes.
uint32_t codePoint(const char* text, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
  uint32_t value = static_cast<unsigned char>(text[0]) & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3f);
  return value;
}

bool isNoncharacter(uint32_t cp) { return (cp >= 0xfdd0 && cp <= 0xfdef) || (cp & 0xfffe) == 0xfffe; }

void appendLatin1(std::string& out, unsigned char byte) {
  out += static_cast<char>(0xc0 | (byte >> 6));
  out += static_cast<char>(0x80 | (byte & 0x3f));
}

}  // namespace

std::size_t utf8CharLength(const char* text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead == 0) return 0;
  if (lead < 0x80) return 1;
  if (lead < 0xc2) return 0;  // a continuation byte, or the lead of an overlong 2-byte form
  if (lead < 0xe0) return inRange(text[1], 0x80, 0xbf) ? 2 : 0;
  if (lead < 0xf0) {
    // E0 must not start an overlong form; ED must not start a surrogate (D800..DFFF).
    const unsigned lowest = lead == 0xe0 ? 0xa0 : 0x80;
    const unsigned highest = lead == 0xed ? 0x9f : 0xbf;
    return inRange(text[1], lowest, highest) && inRange(text[2], 0x80, 0xbf) ? 3 : 0;
  }
  if (lead < 0xf5) {
    // F0 must not start an overlong form; F4 must stay at or below U+10FFFF.
    const unsigned lowest = lead == 0xf0 ? 0x90 : 0x80;
    const unsigned highest = lead == 0xf4 ? 0x8f : 0xbf;
    return inRange(text[1], lowest, highest) && inRange(text[2], 0x80, 0xbf) && inRange(text[3], 0x80, 0xbf) ? 4
                                                                                                             : 0;
  }
  return 0;
}

std::string displayableUtf8(const char* text) {
  std::string out;
  if (text == nullptr) return out;
  while (*text != '\0') {
    const std::size_t length = utf8CharLength(text);
    if (length > 0 && !isNoncharacter(codePoint(text, length))) {
      out.append(text, length);
      text += length;
    } else {
      appendLatin1(out, static_cast<unsigned char>(*text));
      ++text;
    }
  }
  return out;
}

std::size_t utf8CutLength(const char* text, std::size_t maxBytes) {
  if (text == nullptr) return 0;
  std::size_t kept = 0;
  while (kept < maxBytes && text[kept] != '\0') {
    const std::size_t length = utf8CharLength(text + kept);
    if (length == 0) return strnlen(text, maxBytes);  // not UTF-8: cut byte for byte
    if (kept + length > maxBytes) return kept;        // the cut would split this character
    kept += length;
  }
  return kept;
}
