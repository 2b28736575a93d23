// Dark screens: the wave display and wave chooser frames (the editor draws the
// wave curves into them) and the three frames of the oscillator routing diagram.
// The skin generator is single-threaded.
#pragma once

#include "SkinCanvas.h"

namespace skin {

inline constexpr int kWaveFrames = 40;
inline constexpr int kWaveFrameWidth = 204;
inline constexpr int kWaveFrameHeight = 96;

// Wave screen for wave p (0 = oscillator off) at (x, y), plain or highlighted.
void drawWaveFrame(SkinCanvas& c, double x, double y, int wave, bool highlighted);

// Routing diagram frame (360 x 132) for routing 0, 1 or 2.
void drawRoutingFrame(SkinCanvas& c, double x, double y, int routing);

}  // namespace skin
