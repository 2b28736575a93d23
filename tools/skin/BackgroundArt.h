// The editor's 3000 x 2016 background: body, panels, section titles, every
// control's name, the screens' surrounds, the program field, the logo, the
// wheel slots and the five-octave keyboard at rest. The skin generator is single-threaded.
#pragma once

#include "SkinCanvas.h"

namespace skin {

// Draws the whole background onto a canvas of master size.
void drawBackground(SkinCanvas& c);

}  // namespace skin
