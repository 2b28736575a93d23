// Readable, stable names for table-driven cases: gtest otherwise shows a case's raw bytes
// (pointers included), which change from run to run.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>

// "<index>_<parts...>" with every character that gtest refuses in a name turned into '_';
// the index keeps names apart that differ only in such characters.
template <typename... Parts>
std::string caseName(size_t index, const Parts&... parts)
{
    std::ostringstream text;
    text << index;
    ((text << '_' << parts), ...);
    std::string name = text.str();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}
