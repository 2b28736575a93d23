#pragma once
// Test helper shared by the plug-in and editor tests: readable names for the cases of a
// parameterised suite, which GoogleTest takes in letters, digits and '_' only. Single-threaded.

#include <cctype>
#include <string>
#include <string_view>

// The words of text (runs of letters and digits) joined, each begun with a capital:
// "note off and velocity 0" -> "NoteOffAndVelocity0", "Image-Line" -> "ImageLine".
inline std::string camelCaseName(std::string_view text) {
    std::string name;
    bool wordStart = true;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) == 0) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(u)) : c;
        wordStart = false;
    }
    return name;
}
