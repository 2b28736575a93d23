// Turns a font name into a family that is installed (DejaVu Sans stands in for the rest).
#pragma once

#include <string>

namespace VSTGUI {

/** The installed family to draw a font called name with. UI thread. */
const std::string& resolveFontFamily (const std::string& name);

} // namespace VSTGUI
