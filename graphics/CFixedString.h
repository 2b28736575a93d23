#pragma once
// Fixed-capacity 8-bit string: at most 511 characters in a buffer inside the
// object, no heap use. Assignment truncates; appends that would pass the
// capacity are refused whole. Used by value in records and as a temporary.
// Any thread may use its own instances; nothing is shared.

#include <cstddef>
#include <cstdint>

class CFixedString
{
public:
    static constexpr uint64_t kBufferSize = 512; // bytes, the last one for the NUL
    static constexpr uint64_t kCapacity = kBufferSize - 1; // characters

    // Empty string, all bytes 0. Any thread.
    CFixedString();
    // Copy of the other's characters and length. Any thread.
    CFixedString(const CFixedString& other);
    // Same as assign(s). Any thread.
    explicit CFixedString(const char* s);
    // Copies the other's characters and length. Any thread.
    CFixedString& operator=(const CFixedString& other);
    // Sets the length to 0; owns nothing. Any thread.
    ~CFixedString();

    // Replaces the text by s, cut to 511 characters; null gives the empty string. Any thread.
    CFixedString& assign(const char* s);
    // NUL-terminated text (writes the NUL at length first). Any thread.
    const char* c_str();
    // Read-only text; the NUL at length is kept by every operation. Any thread.
    const char* data() const { return buffer; }

    // True only for equal, non-empty texts (byte comparison). Any thread.
    bool operator==(const CFixedString& other) const;
    // Negation of operator==, so two empty strings differ. Any thread.
    bool operator!=(const CFixedString& other) const;

    // Appends the other's text when the sum stays below 512, else nothing. Any thread.
    void append(const CFixedString& other);
    // Appends one character when there is room, else nothing. Any thread.
    void appendChar(char c);
    // Copy of this with the other appended when the sum fits, else the copy alone. Any thread.
    CFixedString operator+(const CFixedString& other) const;
    // Copies min(length, n - 1) characters NUL-filled into dest; touches nothing when that is 0. Any thread.
    void copyTo(char* dest, size_t n) const;

    // Case-blind equality; empty strings are never equal. Any thread.
    bool equalsIgnoreCase(const CFixedString& other) const;
    // Case-blind ordering (A-Z folded to a-z, bytes unsigned). Any thread.
    bool lessIgnoreCase(const CFixedString& other) const;

    // Upper-cases the characters (A-Z only in the C locale). Any thread.
    void toUpper();
    // Lower-cases the characters. Any thread.
    void toLower();
    // Lower-cases everything, then upper-cases the first character. Any thread.
    void capitalize();
    // Turns every '/' into a backslash. Any thread.
    void toBackslashes();
    // Appends a backslash unless empty, already ending in one, or at 511 characters. Any thread.
    void ensureTrailingBackslash();
    // Cuts the text at its last '.' (anywhere in the text). Any thread.
    void cutExtension();
    // Shortens to n characters; 0 clears; n >= length changes nothing. Any thread.
    void truncate(uint64_t n);
    // Length 0, all bytes 0. Any thread.
    void clear();

    char buffer[kBufferSize];
    uint64_t length;
};
