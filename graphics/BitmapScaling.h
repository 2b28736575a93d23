#pragma once
// Scaled copies of VSTGUI bitmaps for the editor sizes: target size from a
// factor, film strips kept divisible by their frame counts, area-averaging
// resampling over a box with fractional edges, optional sharpening.
// UI thread; no state.

#include "vstgui/lib/vstguifwd.h"

#include <cstdint>

// Target size of a source of srcWidth x srcHeight scaled by factor, each axis cut to a
// multiple of its frame count (counts 0 and 1: no frames). False when a side comes out
// at 0 or below, or the factor is not a positive finite number. Any thread.
bool computeScaledSize(double srcWidth, double srcHeight, float factor, int32_t verticalFrames,
    int32_t horizontalFrames, int32_t& width, int32_t& height);

// New bitmap (one reference, owned by the caller) scaled by factor, or null without a
// source, its platform bitmap, or a usable size. UI thread.
VSTGUI::CBitmap* scaleBitmap(VSTGUI::CBitmap* source, float factor, int32_t verticalFrames, int32_t horizontalFrames,
    bool sharpen);

// The same computation; the editor uses both names. UI thread.
VSTGUI::CBitmap* scaleBitmapToFrames(VSTGUI::CBitmap* source, float factor, int32_t verticalFrames,
    int32_t horizontalFrames, bool sharpen);

// Resamples the source into a new width x height bitmap (one reference, owned by the
// caller); null without a source accessor. UI thread.
VSTGUI::CBitmap* resampleBitmap(VSTGUI::CBitmap* source, int32_t width, int32_t height, bool sharpen);
