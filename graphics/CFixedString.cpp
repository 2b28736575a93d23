#include "graphics/CFixedString.h"

#include <cctype>
#include <cstring>

CFixedString::CFixedString()
{
    clear();
}

CFixedString::CFixedString(const CFixedString& other)
{
    *this = other;
}

CFixedString::CFixedString(const char* s)
{
    assign(s);
}

CFixedString& CFixedString::operator=(const CFixedString& other)
{
    if (this != &other)
    {
        clear();
        std::memcpy(buffer, other.buffer, kCapacity);
        length = other.length;
    }
    return *this;
}

CFixedString::~CFixedString()
{
    length = 0;
}

CFixedString& CFixedString::assign(const char* s)
{
    clear();
    if (s == nullptr)
        return *this;
    size_t n = strnlen(s, kCapacity);
    std::memcpy(buffer, s, n);
    length = n;
    return *this;
}

const char* CFixedString::c_str()
{
    buffer[length] = 0;
    return buffer;
}

bool CFixedString::operator==(const CFixedString& other) const
{
    return length != 0 && length == other.length && std::memcmp(buffer, other.buffer, length) == 0;
}

bool CFixedString::operator!=(const CFixedString& other) const
{
    return !(*this == other);
}

void CFixedString::append(const CFixedString& other)
{
    if (length + other.length >= kBufferSize)
        return;
    std::memmove(buffer + length, other.buffer, other.length);
    length += other.length;
    buffer[length] = 0;
}

void CFixedString::appendChar(char c)
{
    if (length + 1 >= kBufferSize)
        return;
    buffer[length] = c;
    ++length;
    buffer[length] = 0;
}

CFixedString CFixedString::operator+(const CFixedString& other) const
{
    CFixedString result(*this);
    result.append(other);
    return result;
}

void CFixedString::copyTo(char* dest, size_t n) const
{
    if (dest == nullptr || n == 0)
        return;
    uint64_t m = length < n - 1 ? length : n - 1;
    if (m == 0)
        return;
    std::memset(dest, 0, n);
    std::memcpy(dest, buffer, m);
}

bool CFixedString::equalsIgnoreCase(const CFixedString& other) const
{
    if (length != other.length || length == 0)
        return false;
    CFixedString a(*this);
    CFixedString b(other);
    a.toUpper();
    b.toUpper();
    return a == b;
}

bool CFixedString::lessIgnoreCase(const CFixedString& other) const
{
    // Compares up to and including the first NUL, folding A-Z to a-z, bytes unsigned.
    for (uint64_t i = 0; i < kBufferSize; ++i)
    {
        unsigned char a = static_cast<unsigned char>(i < length ? buffer[i] : 0);
        unsigned char b = static_cast<unsigned char>(i < other.length ? other.buffer[i] : 0);
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a + ('a' - 'A'));
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b + ('a' - 'A'));
        if (a != b)
            return a < b;
        if (a == 0)
            return false;
    }
    return false;
}

void CFixedString::toUpper()
{
    // Characters go to toupper as unsigned char: a negative value is undefined there.
    for (uint64_t i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(buffer[i])));
}

void CFixedString::toLower()
{
    for (uint64_t i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(buffer[i])));
}

void CFixedString::capitalize()
{
    if (length == 0)
        return;
    toLower();
    buffer[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(buffer[0])));
}

void CFixedString::toBackslashes()
{
    for (uint64_t i = 0; i < length; ++i)
        if (buffer[i] == '/')
            buffer[i] = '\\';
}

void CFixedString::ensureTrailingBackslash()
{
    if (length == 0 || buffer[length - 1] == '\\' || length >= kCapacity)
        return;
    buffer[length] = '\\';
    ++length;
    buffer[length] = 0;
}

void CFixedString::cutExtension()
{
    if (length == 0)
        return;
    buffer[length] = 0;
    char* dot = std::strrchr(buffer, '.');
    if (dot == nullptr)
        return;
    *dot = 0;
    uint64_t now = std::strlen(buffer);
    length = length < now ? length : now;
}

void CFixedString::truncate(uint64_t n)
{
    if (n == 0)
    {
        clear();
        return;
    }
    if (n < length)
    {
        length = n;
        buffer[n] = 0;
    }
}

void CFixedString::clear()
{
    length = 0;
    std::memset(buffer, 0, kBufferSize);
}
