#include "SkinLayout.h"

#include <array>

namespace skin::layout {

namespace {

// tag, kind, variant, left, top, right, bottom (master pixels)
constexpr auto kControls = std::to_array<Control>({
    {0, kKnob, 0, 516, 108, 0, 0},          {1, kKnob, 0, 672, 108, 0, 0},
    {2, kKnob, 0, 828, 108, 0, 0},          {3, kKnob, 0, 1296, 372, 0, 0},
    {4, kKnob, 0, 1632, 108, 0, 0},         {5, kKnob, 0, 1944, 108, 0, 0},
    {6, kKnob, 0, 1788, 108, 0, 0},         {7, kKnob, 0, 1296, 636, 0, 0},
    {8, kKnob, 0, 864, 1164, 0, 0},         {9, kKnob, 0, 1008, 1164, 0, 0},
    {10, kKnob, 0, 1152, 1164, 0, 0},       {11, kKnob, 0, 1296, 1164, 0, 0},
    {12, kKnob, 0, 516, 372, 0, 0},         {13, kKnob, 0, 672, 372, 0, 0},
    {14, kKnob, 0, 828, 372, 0, 0},         {15, kKnob, 0, 984, 372, 0, 0},
    {16, kKnob, 0, 216, 900, 0, 0},         {17, kKnob, 0, 372, 900, 0, 0},
    {18, kKnob, 0, 528, 1092, 0, 0},        {19, kKnob, 0, 528, 900, 0, 0},
    {20, kKnob, 0, 864, 900, 0, 0},         {21, kKnob, 0, 1008, 900, 0, 0},
    {22, kKnob, 0, 1152, 900, 0, 0},        {23, kKnob, 0, 1296, 900, 0, 0},
    {24, kWaveDisplay, 0, 240, 132, 444, 228},
    {25, kWaveDisplay, 0, 240, 396, 444, 492},
    {26, kKnob, 0, 372, 1092, 0, 0},        {27, kOnOff, 0, 2100, 48, 2256, 96},
    {28, kDiagram, 0, 1068, 132, 1428, 264},
    {29, kOnOff, 0, 2436, 1116, 2700, 1164},
    {30, kOnOff, 0, 2100, 840, 2256, 888},  {31, kKnob, 0, 2100, 108, 0, 0},
    {32, kVerticalSwitch, 0, 2436, 1272, 2640, 1416},
    {33, kVerticalSwitch, 1, 228, 1140, 348, 1332},
    {34, kOnOff, 0, 1320, 840, 1452, 888},
    {35, kKnob, 0, 1632, 372, 0, 0},        {36, kKnob, 0, 1788, 372, 0, 0},
    {37, kKnob, 0, 1944, 372, 0, 0},        {38, kKnob, 0, 2100, 372, 0, 0},
    {39, kKnob, 0, 1632, 636, 0, 0},        {40, kKnob, 0, 1788, 636, 0, 0},
    {41, kKnob, 0, 1944, 636, 0, 0},        {42, kKnob, 0, 2100, 636, 0, 0},
    {43, kKnob, 0, 1632, 900, 0, 0},        {44, kKnob, 0, 1788, 900, 0, 0},
    {45, kKnob, 0, 1944, 900, 0, 0},        {46, kKnob, 0, 2100, 900, 0, 0},
    {47, kKnob, 0, 1632, 1080, 0, 0},       {48, kKnob, 0, 1788, 1080, 0, 0},
    {49, kKnob, 0, 1944, 1080, 0, 0},       {50, kKnob, 0, 2100, 1080, 0, 0},
    {51, kKnob, 0, 1632, 1344, 0, 0},       {52, kKnob, 0, 1788, 1344, 0, 0},
    {53, kKnob, 0, 1944, 1344, 0, 0},       {54, kKnob, 0, 2100, 1344, 0, 0},
    {55, kKnob, 0, 2592, 900, 0, 0},        {56, kKnob, 0, 2748, 1080, 0, 0},
    {57, kKnob, 0, 2748, 900, 0, 0},        {58, kKnob, 0, 2436, 900, 0, 0},
    {59, kNone, 0, 0, 0, 0, 0},             {60, kNone, 0, 0, 0, 0, 0},
    {61, kNone, 0, 0, 0, 0, 0},
    {62, kOnOff, 0, 2436, 1164, 2700, 1212},
    {63, kNone, 0, 0, 0, 0, 0},             {64, kNone, 0, 0, 0, 0, 0},
    {65, kKnob, 0, 216, 636, 0, 0},         {66, kKnob, 0, 372, 636, 0, 0},
    {67, kKnob, 0, 528, 636, 0, 0},         {68, kKnob, 0, 684, 636, 0, 0},
    {69, kKnob, 0, 840, 636, 0, 0},         {70, kKnob, 0, 996, 636, 0, 0},
    {71, kKnob, 0, 1140, 372, 0, 0},        {72, kWheel, 0, 216, 1644, 0, 0},
    {73, kKnob, 0, 2436, 108, 0, 0},        {74, kKnob, 0, 2592, 108, 0, 0},
    {75, kKnob, 0, 2748, 108, 0, 0},        {76, kKnob, 0, 2436, 372, 0, 0},
    {77, kKnob, 0, 2592, 372, 0, 0},        {78, kKnob, 0, 2748, 372, 0, 0},
    {79, kKnob, 0, 2436, 636, 0, 0},        {80, kKnob, 0, 2592, 636, 0, 0},
    {81, kKnob, 0, 2748, 636, 0, 0},
    {82, kOptionsMenu, 0, 2760, 1320, 2892, 1404},
    {83, kProgramMenu, 0, 2316, 1456, 2844, 1528},
    {84, kLogoLink, 0, 696, 1392, 1452, 1548},
    {85, kKeyboard, 0, 372, 1620, 2892, 1992},
    {86, kWheel, 1, 84, 1644, 0, 0},
    {87, kWaveStep, 0, 444, 108, 516, 252},
    {88, kWaveStep, 0, 444, 372, 516, 516},
    {89, kProgramStep, 0, 2844, 1428, 2928, 1548},
    {90, kWaveChooser, 0, 240, 132, 444, 228},
    {91, kWaveChooser, 0, 240, 396, 444, 492},
});
static_assert(kControls.size() == 92, "one entry per tag");

// Two panels: oscillators, filter and envelopes on the left; modulation,
// effects and output on the right. The keyboard bed lies below both.
constexpr auto kPanels = std::to_array<Panel>({
    {{100, 24, 1484, 1384}},
    {{1596, 24, 2952, 1562}},
});

// Titles have their baseline 24 px above the top of their section's first row
// of knobs (the voice title sits just above its switch).
constexpr auto kHeaders = std::to_array<Header>({
    {"OSCILLATOR 1", 230, 84, 1036},
    {"ROUTING", 1082, 84, 1414},
    {"OSCILLATOR 2", 230, 348, 1438},
    {"OSCILLATOR 3 \xC2\xB7 MODULATOR", 230, 612, 1138},
    {"GLIDE", 1310, 612, 1438},
    {"FILTER", 230, 876, 670},
    {"FILTER ENV", 878, 876, 1170},
    {"AMP ENV", 878, 1140, 1438},
    {"LFO", 1646, 84, 2084},
    {"PITCH ENV UP", 1646, 348, 2242},
    {"PITCH ENV DOWN", 1646, 612, 2242},
    {"CHORUS", 1646, 876, 2084},
    {"BASS", 1646, 1320, 2242},
    {"VELOCITY", 2450, 84, 2890},
    {"MOD WHEEL", 2450, 348, 2890},
    {"AFTERTOUCH", 2450, 612, 2890},
    {"OUTPUT", 2450, 876, 2890},
    {"VOICE", 2450, 1256, 2730},
});

constexpr auto kKnobLabels = std::to_array<KnobLabel>({
    {24, "WAVE"}, {0, "COARSE"}, {1, "FINE"}, {2, "DRIVE"},
    {25, "WAVE"}, {12, "COARSE"}, {13, "FINE"}, {14, "DRIVE"}, {15, "DECAY"}, {71, "SUSTAIN"},
    {3, "RING / FM"},
    {65, "COARSE"}, {66, "FINE"}, {67, "KEY TRK"}, {68, "DECAY"}, {69, "SUSTAIN"}, {70, "AMOUNT"},
    {7, "TIME"},
    {16, "CUTOFF"}, {17, "RESO"}, {19, "SPREAD"}, {26, "KEY TRK"}, {18, "ENV AMT"},
    {20, "ATTACK"}, {21, "DECAY"}, {22, "SUSTAIN"}, {23, "RELEASE"},
    {8, "ATTACK"}, {9, "DECAY"}, {10, "SUSTAIN"}, {11, "RELEASE"},
    {4, "RATE"}, {6, "DELAY"}, {5, "TO FILTER"}, {31, "TO PITCH"},
    {35, "AMOUNT"}, {36, "DELAY"}, {37, "DECAY"}, {38, "RELEASE"},
    {39, "AMOUNT"}, {40, "DELAY"}, {41, "DECAY"}, {42, "RELEASE"},
    {43, "AMOUNT"}, {44, "DELAY"}, {45, "DEPTH"}, {46, "RATE"},
    {47, "SPREAD"}, {48, "LOWPASS"}, {49, "HIGHPASS"}, {50, "FEEDBACK"},
    {51, "AMOUNT"}, {52, "DRIVE"}, {53, "FREQ"}, {54, "SPREAD"},
    {73, "TO AMP"}, {74, "TO FILTER"}, {75, "TO OSC 3"},
    {76, "TO LFO"}, {77, "TO FILTER"}, {78, "TO OSC 3"},
    {79, "TO LFO"}, {80, "TO FILTER"}, {81, "TO OSC 3"},
    {58, "GAIN"}, {55, "DRIVE"}, {57, "HIGHPASS"}, {56, "LOWPASS"},
});

constexpr auto kCaptions = std::to_array<Caption>({
    {"SYNC", 2172, 83, Align::Left, false, 84},                // LFO-Sync button
    {"SYNC", 2172, 875, Align::Left, false, 84},               // Ch-Sync button
    {"INVERT", 1308, 875, Align::Right, false, 120},           // Flt-Inv button
    {"PERC ENV", 2508, 1151, Align::Left, false, 232},         // PercEnv button
    {"SHARED FILTER", 2508, 1199, Align::Left, false, 232},    // SharedFilt button
    {"TYPE", 218, 1128, Align::Right, false, 110},             // Flt-Type switch
    {"LP", 218, 1175, Align::Right, true, 110},
    {"HP", 218, 1223, Align::Right, true, 110},
    {"BP", 218, 1271, Align::Right, true, 110},
    {"NOTCH", 218, 1319, Align::Right, true, 110},
    {"PROGRAM", 2330, 1444, Align::Left, false, 200},
    {"PITCH", 108, 1624, Align::Centre, false, 120},
    {"MOD", 240, 1624, Align::Centre, false, 120},
});

constexpr auto kBlackKeys = std::to_array<Rect>({
    {44, 0, 84, 228}, {132, 0, 172, 228}, {260, 0, 300, 228}, {340, 0, 380, 228}, {420, 0, 460, 228},
});
constexpr auto kWhiteUpper = std::to_array<Rect>({
    {0, 0, 42, 230}, {86, 0, 130, 230}, {174, 0, 216, 230}, {216, 0, 258, 230},
    {302, 0, 338, 230}, {382, 0, 420, 230}, {462, 0, 504, 230},
});
constexpr auto kWhiteLower = std::to_array<Rect>({
    {0, 230, 72, 368}, {72, 230, 144, 368}, {144, 230, 216, 368}, {216, 230, 288, 368},
    {288, 230, 360, 368}, {360, 230, 432, 368}, {432, 230, 504, 368},
});

}  // namespace

std::span<const Control> controls() { return kControls; }
const Control& control(int tag) { return kControls.at(static_cast<size_t>(tag)); }

Rect controlRect(int tag) {
    const Control& c = control(tag);
    if (c.kind == kKnob) return {double(c.left), double(c.top), double(c.left + kKnobSize), double(c.top + kKnobSize)};
    // A wheel picture is 48 x 296 master pixels.
    if (c.kind == kWheel) return {double(c.left), double(c.top), double(c.left + 48), double(c.top + 296)};
    return {double(c.left), double(c.top), double(c.right), double(c.bottom)};
}

std::span<const Panel> panels() { return kPanels; }
std::span<const Header> headers() { return kHeaders; }
std::span<const KnobLabel> knobLabels() { return kKnobLabels; }
std::span<const Caption> captions() { return kCaptions; }
std::span<const Rect> blackKeys() { return kBlackKeys; }
std::span<const Rect> whiteKeysUpper() { return kWhiteUpper; }
std::span<const Rect> whiteKeysLower() { return kWhiteLower; }

Rect wheelWell(int tag) { return controlRect(tag).inset(-12); }
Rect logoPlate() { return controlRect(84); }
Rect programField() { return controlRect(83); }

}  // namespace skin::layout
