// The pictures of the editor's controls, one frame at a time: knob, wheel,
// on/off button, options button, step buttons and the vertical switches.
// Every frame keeps an 8 px border of one even colour, because scaling the
// strips averages neighbouring frames into each other. The skin generator is single-threaded.
#pragma once

#include "SkinCanvas.h"

namespace skin {

inline constexpr int kKnobFrames = 63;
inline constexpr int kWheelFrames = 91;
inline constexpr int kFrameBorder = 8;   // master pixels of even colour at frame edges

// Knob frame (156 x 156) at (x, y); frame 0 points to about 7 o'clock, the
// last one to about 5 o'clock.
void drawKnobFrame(SkinCanvas& c, double x, double y, int frame);

// Wheel frame (48 x 296); frame 0 is fully up, 45 centred, 90 fully down.
void drawWheelFrame(SkinCanvas& c, double x, double y, int frame);

// On/off button (60 x 48 per state).
void drawOnOffButton(SkinCanvas& c, double x, double y, bool on);

// Options menu button (132 x 84 per state).
void drawOptionsButton(SkinCanvas& c, double x, double y, bool pressed);

// Step buttons (up above down): state 0 upper half pressed, 1 at rest, 2 lower pressed.
void drawStepButton(SkinCanvas& c, const Rect& r, int state);

// Vertical switches: one frame per position, position 0 at the top.
void drawFourWaySwitch(SkinCanvas& c, double x, double y, int position);   // 120 x 192
void drawThreeWaySwitch(SkinCanvas& c, double x, double y, int position);  // 204 x 144

}  // namespace skin
