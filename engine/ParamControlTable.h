#pragma once
// The parameter list, which is also the editor's control list: one index space
// for host parameters (0..81) and editor-only controls (82..91).

#include <cstdint>

// Number of host parameters (stored in every program) and of table entries.
inline constexpr int32_t kNumParams = 82;
inline constexpr int32_t kNumControls = 92;

// Parameter numbers (= control tag = table index).
enum ParamIndex : int32_t {
    kParamOsc1Coarse = 0, kParamOsc1Fine = 1, kParamOsc1Sat = 2, kParamLevelRm = 3,
    kParamLfoRate = 4, kParamLfoFilter = 5, kParamLfoDelay = 6, kParamGlide = 7,
    kParamAmpAttack = 8, kParamAmpDecay = 9, kParamAmpSustain = 10, kParamAmpRelease = 11,
    kParamOsc2Coarse = 12, kParamOsc2Fine = 13, kParamOsc2Sat = 14, kParamOsc2Decay = 15,
    kParamFltCutoff = 16, kParamFltReso = 17, kParamFltEnv = 18, kParamFltSep = 19,
    kParamFltAttack = 20, kParamFltDecay = 21, kParamFltSustain = 22, kParamFltRelease = 23,
    kParamOsc1Wave = 24, kParamOsc2Wave = 25, kParamFltKeyTrack = 26, kParamLfoSync = 27,
    kParamOscRouting = 28, kParamPercEnv = 29, kParamChorusSync = 30, kParamLfoOsc = 31,
    kParamVoiceMode = 32, kParamFltType = 33, kParamFltInvert = 34,
    kParamPitchUpAmount = 35, kParamPitchUpDelay = 36, kParamPitchUpDecay = 37, kParamPitchUpRelease = 38,
    kParamPitchDownAmount = 39, kParamPitchDownDelay = 40, kParamPitchDownDecay = 41,
    kParamPitchDownRelease = 42,
    kParamChorusAmount = 43, kParamChorusDelay = 44, kParamChorusMod = 45, kParamChorusRate = 46,
    kParamChorusSpread = 47, kParamChorusLow = 48, kParamChorusHigh = 49, kParamChorusFeedback = 50,
    kParamBassAmount = 51, kParamBassSat = 52, kParamBassFreq = 53, kParamBassSpread = 54,
    kParamOutDist = 55, kParamOutLow = 56, kParamOutHigh = 57, kParamOutGain = 58,
    kParamVoiceCount = 59, kParamBendRange = 60, kParamGlideType = 61, kParamSharedFilter = 62,
    kParamUnused63 = 63, kParamUnused64 = 64,
    kParamOsc3Coarse = 65, kParamOsc3Fine = 66, kParamOsc3KeyTrack = 67, kParamOsc3Decay = 68,
    kParamOsc3Sustain = 69, kParamOsc3Amount = 70, kParamOsc2Sustain = 71, kParamModWheel = 72,
    kParamVelAmp = 73, kParamVelFilter = 74, kParamVelOsc3 = 75,
    kParamWheelLfo = 76, kParamWheelFilter = 77, kParamWheelOsc3 = 78,
    kParamPressureLfo = 79, kParamPressureFilter = 80, kParamPressureOsc3 = 81,
    // Editor-only tags (not parameters; the engine ignores them).
    kTagOptionsMenu = 82, kTagProgramMenu = 83, kTagLogoLink = 84, kTagKeyboard = 85,
    kTagPitchWheel = 86, kTagOsc1WaveStep = 87, kTagOsc2WaveStep = 88, kTagProgramStep = 89,
    kTagOsc1WaveChooser = 90, kTagOsc2WaveChooser = 91,
};

// Which control the editor builds for a table entry (2, 4, 5 and 15 are unused).
enum ControlKind : int32_t {
    kKnobControl = 0,
    kOnOffButtonControl = 1,
    kVerticalSwitchControl = 3,
    kProgramMenuControl = 6,
    kLogoLinkControl = 7,
    kNoControl = 8,
    kOptionsMenuControl = 9,
    kKeyboardControl = 10,
    kWheelControl = 11,
    kProgramStepControl = 12,
    kWaveStepControl = 13,
    kWaveDisplayControl = 14,
    kWaveChooserControl = 16,
    kDiagramSelectorControl = 17,
};

// One entry of paramControlTable.
struct ParamControlInfo {
    int32_t left, top, right, bottom;  // control rectangle in editor pixels; written by the editor at open
    int32_t variant;                   // 1: four-position Flt-Type switch / spring-back pitch wheel
    ControlKind kind;                  // control built by the editor
    int32_t steps;                     // number of positions (descriptive only)
    char name[36];                     // short name, at most 11 characters; "-" or empty for some
};
static_assert(sizeof(ParamControlInfo) == 64, "ParamControlInfo is 7 int32 and 36 chars");

// The process-wide table (92 entries). Only the editor writes it, and only the rectangles (UI thread).
extern ParamControlInfo paramControlTable[kNumControls];
