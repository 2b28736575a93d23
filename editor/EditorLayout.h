#pragma once
// The editor's layout for one UISize: the scale of the 3000 x 2016 master layout,
// the text size, the control rectangles written into paramControlTable, the
// on-screen keyboard's key rectangles and the shared font. The results are
// process-wide: the editor that opens last sets them. UI thread.

#include <cstdint>

#include "controls/KeyboardGeometry.h"

inline constexpr int32_t kUISizeCount = 4;           // "Small", "Medium", "Large", "Huge"
inline constexpr int32_t kDefaultUISize = 1;
inline constexpr int32_t kMasterWidth = 3000;        // master layout, pixels
inline constexpr int32_t kMasterHeight = 2016;
inline constexpr int32_t kKeyboardKeys = 60;         // key indexes 0..59 = notes 24..83
inline constexpr int32_t kKeyboardLowestNote = 24;

// Layout scale of a size: 0.25, 1/3, 0.5, 0.75; 1/3 for any other index. Any thread.
float getUIScale(int32_t size);
// Text size of a size: floor(2 x scale x 18 + 0.1): 9, 12, 18, 27. Any thread.
int32_t getUITextSize(int32_t size);
// The size index limited to 0..3 (negative indexes give 0). Any thread.
int32_t clampUISize(int32_t size);
// Name of a size ("Small" .. "Huge"); "" outside 0..3. Any thread.
const char* uiSizeName(int32_t size);

// A master rectangle of the layout (left, top, right, bottom; 0 where the picture gives the size).
struct MasterRect {
    int32_t left, top, right, bottom;
};
// The master rectangle of tag 0..91 (all zeros outside). Any thread.
MasterRect masterControlRect(int32_t tag);

// The on-screen keyboard's key rectangles for the current size: process-wide,
// rewritten by every layoutEditor. UI thread.
KeyboardGeometry& keyboardGeometry();

// Lays the editor out for a size: rectangles of all 92 entries of paramControlTable,
// the keyboard geometry and the shared system font (size, "Verdana"). UI thread.
void layoutEditor(int32_t size);
// Only the rectangles and keyboard geometry (no font); for layout arithmetic. Any thread.
void layoutRectangles(int32_t size);
