// Scales, master rectangles and key geometry of the editor layout.
#include "editor/EditorLayout.h"

#include <cmath>

#include "engine/ParamControlTable.h"
#include "vstgui/lib/cfont.h"

namespace {

// Master rectangles in pixels of the 3000 x 2016 background, by tag.
constexpr MasterRect kMasterRects[kNumControls] = {
    {516, 108, 0, 0},     {672, 108, 0, 0},     {828, 108, 0, 0},     {1296, 372, 0, 0},    // 0..3
    {1632, 108, 0, 0},    {1944, 108, 0, 0},    {1788, 108, 0, 0},    {1296, 636, 0, 0},    // 4..7
    {864, 1164, 0, 0},    {1008, 1164, 0, 0},   {1152, 1164, 0, 0},   {1296, 1164, 0, 0},   // 8..11
    {516, 372, 0, 0},     {672, 372, 0, 0},     {828, 372, 0, 0},     {984, 372, 0, 0},     // 12..15
    {216, 900, 0, 0},     {372, 900, 0, 0},     {528, 1092, 0, 0},    {528, 900, 0, 0},     // 16..19
    {864, 900, 0, 0},     {1008, 900, 0, 0},    {1152, 900, 0, 0},    {1296, 900, 0, 0},    // 20..23
    {240, 132, 444, 228}, {240, 396, 444, 492}, {372, 1092, 0, 0},    {2100, 48, 2256, 96}, // 24..27
    {1068, 132, 1428, 264}, {2436, 1116, 2700, 1164}, {2100, 840, 2256, 888}, {2100, 108, 0, 0},  // 28..31
    {2436, 1272, 2640, 1416}, {228, 1140, 348, 1332}, {1320, 840, 1452, 888}, {1632, 372, 0, 0},  // 32..35
    {1788, 372, 0, 0},    {1944, 372, 0, 0},    {2100, 372, 0, 0},    {1632, 636, 0, 0},    // 36..39
    {1788, 636, 0, 0},    {1944, 636, 0, 0},    {2100, 636, 0, 0},    {1632, 900, 0, 0},    // 40..43
    {1788, 900, 0, 0},    {1944, 900, 0, 0},    {2100, 900, 0, 0},    {1632, 1080, 0, 0},   // 44..47
    {1788, 1080, 0, 0},   {1944, 1080, 0, 0},   {2100, 1080, 0, 0},   {1632, 1344, 0, 0},   // 48..51
    {1788, 1344, 0, 0},   {1944, 1344, 0, 0},   {2100, 1344, 0, 0},   {2592, 900, 0, 0},    // 52..55
    {2748, 1080, 0, 0},   {2748, 900, 0, 0},    {2436, 900, 0, 0},    {0, 0, 0, 0},         // 56..59
    {0, 0, 0, 0},         {0, 0, 0, 0},         {2436, 1164, 2700, 1212}, {0, 0, 0, 0},     // 60..63
    {0, 0, 0, 0},         {216, 636, 0, 0},     {372, 636, 0, 0},     {528, 636, 0, 0},     // 64..67
    {684, 636, 0, 0},     {840, 636, 0, 0},     {996, 636, 0, 0},     {1140, 372, 0, 0},    // 68..71
    {216, 1644, 0, 0},    {2436, 108, 0, 0},    {2592, 108, 0, 0},    {2748, 108, 0, 0},    // 72..75
    {2436, 372, 0, 0},    {2592, 372, 0, 0},    {2748, 372, 0, 0},    {2436, 636, 0, 0},    // 76..79
    {2592, 636, 0, 0},    {2748, 636, 0, 0},                                                // 80..81
    {2760, 1320, 2892, 1404},  // 82 options menu
    {2316, 1456, 2844, 1528},  // 83 program menu
    {696, 1392, 1452, 1548},   // 84 logo link
    {372, 1620, 2892, 1992},   // 85 on-screen keyboard
    {84, 1644, 0, 0},          // 86 pitch wheel
    {444, 108, 516, 252},      // 87 Osc1 wave step buttons
    {444, 372, 516, 516},      // 88 Osc2 wave step buttons
    {2844, 1428, 2928, 1548},  // 89 program step buttons
    {240, 132, 444, 228},      // 90 Osc1 wave chooser (over the display 24)
    {240, 396, 444, 492},      // 91 Osc2 wave chooser (over the display 25)
};

// Key rectangles (left, top, right, bottom) of one 504 x 368 master octave picture.
struct KeyRect {
    double left, top, right, bottom;
};
constexpr KeyRect kMasterBlackKeys[5] = {
    {44, 0, 84, 228}, {132, 0, 172, 228}, {260, 0, 300, 228}, {340, 0, 380, 228}, {420, 0, 460, 228}};
constexpr KeyRect kMasterWhiteKeys[7][2] = {
    {{0, 0, 42, 230}, {0, 230, 72, 368}},      {{86, 0, 130, 230}, {72, 230, 144, 368}},
    {{174, 0, 216, 230}, {144, 230, 216, 368}}, {{216, 0, 258, 230}, {216, 230, 288, 368}},
    {{302, 0, 338, 230}, {288, 230, 360, 368}}, {{382, 0, 420, 230}, {360, 230, 432, 368}},
    {{462, 0, 504, 230}, {432, 230, 504, 368}}};

constexpr const char* kSizeNames[kUISizeCount] = {"Small", "Medium", "Large", "Huge"};

int32_t scaled(int32_t value, float scale) { return static_cast<int32_t>(std::floor(static_cast<float>(value) * scale)); }

double scaledKey(double value, float scale) {
    return static_cast<double>(std::floor(static_cast<float>(value) * scale));
}

VSTGUI::CRect scaledKeyRect(const KeyRect& r, float scale) {
    return VSTGUI::CRect(scaledKey(r.left, scale), scaledKey(r.top, scale), scaledKey(r.right, scale), scaledKey(r.bottom, scale));
}

}  // namespace

float getUIScale(int32_t size) {
    switch (size) {
        case 0: return 0.25f;
        case 2: return 0.5f;
        case 3: return 0.75f;
        default: return 1.0f / 3.0f;
    }
}

int32_t getUITextSize(int32_t size) {
    const float scale = getUIScale(size);
    return static_cast<int32_t>(std::floor(2.0f * scale * 18.0f + 0.1f));
}

int32_t clampUISize(int32_t size) { return size < 0 ? 0 : (size > kUISizeCount - 1 ? kUISizeCount - 1 : size); }

const char* uiSizeName(int32_t size) { return size >= 0 && size < kUISizeCount ? kSizeNames[size] : ""; }

MasterRect masterControlRect(int32_t tag) {
    if (tag < 0 || tag >= kNumControls) return {0, 0, 0, 0};
    return kMasterRects[tag];
}

KeyboardGeometry& keyboardGeometry() {
    static KeyboardGeometry geometry;
    return geometry;
}

void layoutRectangles(int32_t size) {
    const float scale = getUIScale(size);
    for (int32_t tag = 0; tag < kNumControls; ++tag) {
        const MasterRect& m = kMasterRects[tag];
        ParamControlInfo& entry = paramControlTable[tag];
        entry.left = scaled(m.left, scale);
        entry.top = scaled(m.top, scale);
        entry.right = scaled(m.right, scale);
        entry.bottom = scaled(m.bottom, scale);
    }
    KeyboardGeometry& geometry = keyboardGeometry();
    geometry.originLeft = paramControlTable[kTagKeyboard].left;
    geometry.originTop = paramControlTable[kTagKeyboard].top;
    for (int32_t i = 0; i < 5; ++i) geometry.black[i] = scaledKeyRect(kMasterBlackKeys[i], scale);
    for (int32_t i = 0; i < 7; ++i) {
        geometry.white[i][0] = scaledKeyRect(kMasterWhiteKeys[i][0], scale);
        geometry.white[i][1] = scaledKeyRect(kMasterWhiteKeys[i][1], scale);
    }
}

void layoutEditor(int32_t size) {
    layoutRectangles(size);
    VSTGUI::kSystemFont->setSize(getUITextSize(size));
    VSTGUI::kSystemFont->setName("Verdana");
}
