#include "engine/ParamControlTable.h"

// Rectangles start at 0 and are written by the editor at each open (UI thread).
namespace {
constexpr ParamControlInfo entry(ControlKind kind, int32_t variant, int32_t steps, const char* name)
{
    ParamControlInfo info{};
    info.kind = kind;
    info.variant = variant;
    info.steps = steps;
    for (int i = 0; name[i] != 0 && i < 35; ++i) info.name[i] = name[i];
    return info;
}
} // namespace

constinit ParamControlInfo paramControlTable[kNumControls] = {
    entry(kKnobControl, 0, 128, "Osc1-C"), // 0
    entry(kKnobControl, 0, 128, "Osc1-F"), // 1
    entry(kKnobControl, 0, 128, "Osc1-Sat"), // 2
    entry(kKnobControl, 0, 128, "Level/RM"), // 3
    entry(kKnobControl, 0, 128, "LFO Rate"), // 4
    entry(kKnobControl, 0, 128, "LFO Filter"), // 5
    entry(kKnobControl, 0, 128, "LFO Delay"), // 6
    entry(kKnobControl, 0, 128, "Glide"), // 7
    entry(kKnobControl, 0, 128, "Amp-Atk"), // 8
    entry(kKnobControl, 0, 128, "Amp-Dec"), // 9
    entry(kKnobControl, 0, 128, "Amp-Sus"), // 10
    entry(kKnobControl, 0, 128, "Amp-Rel"), // 11
    entry(kKnobControl, 0, 128, "Osc2-C"), // 12
    entry(kKnobControl, 0, 128, "Osc2-F"), // 13
    entry(kKnobControl, 0, 128, "Osc2-Sat"), // 14
    entry(kKnobControl, 0, 128, "Osc2-Dec"), // 15
    entry(kKnobControl, 0, 128, "Flt-Cut"), // 16
    entry(kKnobControl, 0, 128, "Flt-Reso"), // 17
    entry(kKnobControl, 0, 128, "Flt-Env"), // 18
    entry(kKnobControl, 0, 128, "Flt-Sep"), // 19
    entry(kKnobControl, 0, 128, "Flt-Atk"), // 20
    entry(kKnobControl, 0, 128, "Flt-Dec"), // 21
    entry(kKnobControl, 0, 128, "Flt-Sus"), // 22
    entry(kKnobControl, 0, 128, "Flt-Rel"), // 23
    entry(kWaveDisplayControl, 0, 128, "Osc1W"), // 24
    entry(kWaveDisplayControl, 0, 128, "Osc2W"), // 25
    entry(kKnobControl, 0, 128, "Flt-KbTrk"), // 26
    entry(kOnOffButtonControl, 0, 128, "LFO-Sync"), // 27
    entry(kDiagramSelectorControl, 0, 128, "Osc-Routing"), // 28
    entry(kOnOffButtonControl, 0, 128, "PercEnv"), // 29
    entry(kOnOffButtonControl, 0, 128, "Ch-Sync"), // 30
    entry(kKnobControl, 0, 128, "LFO Osc"), // 31
    entry(kVerticalSwitchControl, 0, 3, "Voice-Mode"), // 32
    entry(kVerticalSwitchControl, 1, 4, "Flt-Type"), // 33
    entry(kOnOffButtonControl, 0, 1, "Flt-Inv"), // 34
    entry(kKnobControl, 0, 128, "PUp-Amt"), // 35
    entry(kKnobControl, 0, 128, "PUp-Del"), // 36
    entry(kKnobControl, 0, 128, "PUp-Dec"), // 37
    entry(kKnobControl, 0, 128, "PUp-Rel"), // 38
    entry(kKnobControl, 0, 128, "PDw-Amt"), // 39
    entry(kKnobControl, 0, 128, "PDw-Del"), // 40
    entry(kKnobControl, 0, 128, "PDw-Dec"), // 41
    entry(kKnobControl, 0, 128, "PDw-Rel"), // 42
    entry(kKnobControl, 0, 128, "Ch-Amt"), // 43
    entry(kKnobControl, 0, 128, "Ch-Del"), // 44
    entry(kKnobControl, 0, 128, "Ch-Mod"), // 45
    entry(kKnobControl, 0, 128, "Ch-Rate"), // 46
    entry(kKnobControl, 0, 128, "Ch-Sprd"), // 47
    entry(kKnobControl, 0, 128, "Ch-Low"), // 48
    entry(kKnobControl, 0, 128, "Ch-High"), // 49
    entry(kKnobControl, 0, 128, "Ch-Fbk"), // 50
    entry(kKnobControl, 0, 128, "Bass-Amt"), // 51
    entry(kKnobControl, 0, 128, "Bass-Sat"), // 52
    entry(kKnobControl, 0, 128, "Bass-Freq"), // 53
    entry(kKnobControl, 0, 128, "Bass-Sprd"), // 54
    entry(kKnobControl, 0, 128, "Out-Dist"), // 55
    entry(kKnobControl, 0, 128, "Out-Low"), // 56
    entry(kKnobControl, 0, 128, "Out-High"), // 57
    entry(kKnobControl, 0, 128, "Out-Gain"), // 58
    entry(kNoControl, 0, 128, "-"), // 59
    entry(kNoControl, 0, 128, "-"), // 60
    entry(kNoControl, 0, 128, "-"), // 61
    entry(kOnOffButtonControl, 0, 1, "SharedFilt"), // 62
    entry(kNoControl, 0, 128, "-"), // 63
    entry(kNoControl, 0, 128, "-"), // 64
    entry(kKnobControl, 0, 128, "Osc3-C"), // 65
    entry(kKnobControl, 0, 128, "Osc3-F"), // 66
    entry(kKnobControl, 0, 128, "Osc3-Ktrk"), // 67
    entry(kKnobControl, 0, 128, "Osc3-Dec"), // 68
    entry(kKnobControl, 0, 128, "Osc3-Sus"), // 69
    entry(kKnobControl, 0, 128, "Osc3-Amt"), // 70
    entry(kKnobControl, 0, 128, "Osc2-Sus"), // 71
    entry(kWheelControl, 0, 128, "Modwheel"), // 72
    entry(kKnobControl, 0, 128, "Vel-Amp"), // 73
    entry(kKnobControl, 0, 128, "Vel-Flt"), // 74
    entry(kKnobControl, 0, 128, "Vel-Osc3"), // 75
    entry(kKnobControl, 0, 128, "MW-LFO"), // 76
    entry(kKnobControl, 0, 128, "MW-Flt"), // 77
    entry(kKnobControl, 0, 128, "MW-Osc3"), // 78
    entry(kKnobControl, 0, 128, "AT-LFO"), // 79
    entry(kKnobControl, 0, 128, "AT-Flt"), // 80
    entry(kKnobControl, 0, 128, "AT-Osc3"), // 81
    entry(kOptionsMenuControl, 0, 128, ""), // 82
    entry(kProgramMenuControl, 0, 128, ""), // 83
    entry(kLogoLinkControl, 0, 128, ""), // 84
    entry(kKeyboardControl, 0, 128, ""), // 85
    entry(kWheelControl, 1, 128, ""), // 86
    entry(kWaveStepControl, 0, 128, ""), // 87
    entry(kWaveStepControl, 0, 128, ""), // 88
    entry(kProgramStepControl, 0, 128, ""), // 89
    entry(kWaveChooserControl, 0, 128, ""), // 90
    entry(kWaveChooserControl, 0, 128, ""), // 91
};
