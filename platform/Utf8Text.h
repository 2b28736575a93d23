// The program's texts are 8-bit strings, as the ANSI-family Windows functions take
// them. Here they are UTF-8 wherever their bytes form UTF-8; a byte that does not
// belong to a well-formed character is read as Latin-1, as a Western ANSI code page
// shows it (a bank that names a program "Caf\xe9" shows "Café"). All functions take
// NUL-terminated texts and run on any thread.
#pragma once

#include <cstddef>
#include <string>

// Bytes of the well-formed UTF-8 character that starts at text (1..4; overlong forms,
// surrogates and code points above U+10FFFF are not well-formed), 0 when the bytes
// there form none or text is at its NUL. Reads no further than the character.
std::size_t utf8CharLength(const char* text);

// The text as valid UTF-8 that text drawing accepts: well-formed characters stay as
// they are, every other byte becomes its Latin-1 character. The noncharacters
// (U+FDD0..U+FDEF and U+xFFFE, U+xFFFF in every plane) count as other bytes, because
// the text renderer refuses them. An empty text for null.
std::string displayableUtf8(const char* text);

// How many bytes of text to keep when at most maxBytes fit: the text's length up to
// maxBytes, or less when the kept bytes are well-formed UTF-8 and the cut would split
// a well-formed character, which then goes whole. Other texts are cut byte for byte.
// Reads at most the rest of the split character past maxBytes.
std::size_t utf8CutLength(const char* text, std::size_t maxBytes);
