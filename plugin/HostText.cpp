#include "plugin/HostText.h"

#include <cstring>

#include "platform/Utf8Text.h"

void copyHostText(char* dest, const char* source, std::size_t maxLen) {
    if (dest == nullptr) return;
    std::size_t n = utf8CutLength(source, maxLen);
    std::memcpy(dest, source, n);
    dest[n] = '\0';
}

void appendHostText(char* dest, const char* source, std::size_t maxLen) {
    if (dest == nullptr || source == nullptr) return;
    std::size_t used = strnlen(dest, maxLen);
    std::size_t n = utf8CutLength(source, maxLen - used);
    std::memcpy(dest + used, source, n);
    dest[used + n] = '\0';
}
