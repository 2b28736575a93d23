#pragma once
// Where the keys of the on-screen keyboard lie, in frame pixels of the current
// editor size: the keyboard's origin and the key rectangles of one octave,
// relative to the octave's left edge and the keyboard's top. The editor writes
// it at every open; the keyboard reads it.
// UI thread (the editor and the keyboard view both run there).

#include <cstdint>

#include "vstgui/lib/crect.h"

struct KeyboardGeometry
{
    static constexpr int kBlackKeys = 5; // semitones 1, 3, 6, 8, 10
    static constexpr int kWhiteKeys = 7; // semitones 0, 2, 4, 5, 7, 9, 11

    int32_t originLeft = 0; // left of the keyboard's rectangle
    int32_t originTop = 0;  // top of the keyboard's rectangle
    VSTGUI::CRect black[kBlackKeys];
    // Per white key: [0] the upper narrow part, [1] the lower full-width part.
    VSTGUI::CRect white[kWhiteKeys][2];
};
