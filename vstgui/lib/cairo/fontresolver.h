// Turns a font name into a family that is installed (DejaVu Sans stands in for the rest).
#pragma once

#include <string>

namespace VSTGUI {

/** In a program that has this library linked in (not in a plug-in module), cairo's and
    fontconfig's process-wide data are given back at exit. UI thread. */
void releaseCairoStaticDataAtExit ();

/** The installed family to draw a font called name with. UI thread. */
const std::string& resolveFontFamily (const std::string& name);

} // namespace VSTGUI
