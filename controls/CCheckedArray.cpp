#include "controls/CCheckedArray.h"

#include <cstdio>

#include "graphics/CFixedString.h"
#include "platform/MessageBox.h"

void showCheckedArrayMessage(const char* format, int64_t a, int64_t b, int64_t c)
{
    char buffer[CFixedString::kBufferSize];
    int n = std::snprintf(buffer, sizeof buffer, format, static_cast<int>(a), static_cast<int>(b), static_cast<int>(c));
    CFixedString text;
    if (n >= 0 && n < static_cast<int>(sizeof buffer))
        text.assign(buffer);
    // No owner window; stop icon and system-modal (0x1010).
    MessageBoxA(nullptr, text.c_str(), "Error", MB_ICONSTOP | MB_SYSTEMMODAL);
}
