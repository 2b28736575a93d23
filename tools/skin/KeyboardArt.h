// One octave of the on-screen keyboard (504 x 368), at rest or with its white
// or black keys lit. The background draws five resting octaves with the same
// code, so a lit key copied over it fits exactly. The skin generator is single-threaded.
#pragma once

#include "SkinCanvas.h"

namespace skin {

// One octave with its top-left corner at (x, y); whiteHeld / blackHeld light those keys.
void drawOctave(SkinCanvas& c, double x, double y, bool whiteHeld, bool blackHeld);

}  // namespace skin
