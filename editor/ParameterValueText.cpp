// Read-out texts of the parameters, in the engine's own units.
#include "editor/ParameterValueText.h"

#include <cstdarg>
#include <cstdio>

#include "engine/Dravenor.h"
#include "engine/ParameterSteps.h"
#include "graphics/CFixedString.h"

namespace {

// Clears text and prints into its buffer; a failed or empty print leaves it empty.
__attribute__((format(printf, 2, 3))) void printInto(CFixedString& text, const char* format, ...) {
    text.clear();
    va_list args;
    va_start(args, format);
    const int printed = std::vsnprintf(text.buffer, CFixedString::kBufferSize, format, args);
    va_end(args);
    if (printed <= 0) {
        text.clear();
        return;
    }
    text.length = static_cast<uint64_t>(printed) < CFixedString::kCapacity ? static_cast<uint64_t>(printed)
                                                                           : CFixedString::kCapacity;
    text.buffer[text.length] = '\0';
}

void percent(CFixedString& text, float value) { printInto(text, "%.0f %%", static_cast<double>(value * 100.0f)); }

void hertz(CFixedString& text, const char* format, float hz) { printInto(text, format, static_cast<double>(hz)); }

// The engine's decay multiplier of exactly 1.0 (no decay); compared in float32.
constexpr float kNoDecayCoef = 0.999999f;

// "+n" / "n": the interval the engine plays, in semitones.
void coarse(CFixedString& text, int32_t semitones) { printInto(text, semitones > 0 ? "+%d" : "%d", semitones); }

}  // namespace

void formatDisplayTime(CFixedString& text, double milliseconds) {
    if (milliseconds < 1000.0) {
        printInto(text, "%.2f ms", milliseconds);
    } else {
        printInto(text, "%.2f s", milliseconds / 1000.0);
    }
}

void formatParameterValue(int32_t index, CFixedString& text, float value, const Dravenor& engine) {
    switch (index) {
        case kParamOsc1Coarse:
        case kParamOsc2Coarse: coarse(text, coarseTuningOf(value)); return;
        case kParamOsc3Coarse: coarse(text, osc3CoarseTuningOf(value)); return;
        case kParamOsc1Fine:
        case kParamOsc2Fine:
        case kParamOsc3Fine:
            printInto(text, "%.1f ct", static_cast<double>(value * 128.0f - 64.0f));
            return;
        case kParamLfoRate:
            if (peekField(engine.lfoSync) != 0) {
                percent(text, value);
            } else {
                hertz(text, "%.2f Hz", Dravenor::expScale(value, 0.05f, 100.0f));
            }
            return;
        case kParamAmpAttack: formatDisplayTime(text, peekField(engine.ampAttackMs)); return;
        case kParamAmpDecay: formatDisplayTime(text, peekField(engine.ampDecayMs)); return;
        case kParamAmpRelease: formatDisplayTime(text, peekField(engine.ampReleaseMs)); return;
        case kParamFltAttack: formatDisplayTime(text, peekField(engine.filterAttackMs)); return;
        case kParamFltDecay: formatDisplayTime(text, peekField(engine.filterDecayMs)); return;
        case kParamFltRelease: formatDisplayTime(text, peekField(engine.filterReleaseMs)); return;
        case kParamOsc2Decay:
            if (peekField(engine.osc2DecayCoef) > kNoDecayCoef) {
                printInto(text, "Off");
            } else {
                formatDisplayTime(text, peekField(engine.osc2DecayMs));
            }
            return;
        case kParamOsc3Decay:
            if (peekField(engine.osc3DecayCoef) > kNoDecayCoef) {
                printInto(text, "Off");
            } else {
                formatDisplayTime(text, peekField(engine.osc3DecayMs));
            }
            return;
        case kParamChorusDelay:
            if (peekField(engine.chorusSync) != 0) {
                percent(text, value);
            } else {
                printInto(text, "%.1f ms", static_cast<double>(peekField(engine.chorusDelayMs)));
            }
            return;
        case kParamChorusRate: hertz(text, "%.2f Hz", Dravenor::expScale(value, 0.015f, 10.0f)); return;
        case kParamChorusLow: hertz(text, "%.1f Hz", Dravenor::expScale(value, 100.0f, 15000.0f)); return;
        case kParamChorusHigh: hertz(text, "%.1f Hz", Dravenor::expScale(value, 5.0f, 5000.0f)); return;
        case kParamBassFreq:
            if (value < 0.9991f) {
                hertz(text, "%.2f Hz", Dravenor::expScale(value, 100.0f, 1000.0f));
            } else {
                printInto(text, "1 kHz");
            }
            return;
        case kParamOutLow:
            if (value < 0.999f) {
                hertz(text, "%.1f Hz", Dravenor::expScale(value, 100.0f, 20000.0f));
            } else {
                printInto(text, "Off");
            }
            return;
        case kParamOutHigh:
            if (value > 0.001f) {
                hertz(text, "%.1f Hz", Dravenor::expScale(value, 3.0f, 2500.0f));
            } else {
                printInto(text, "Off");
            }
            return;
        default:
            percent(text, value);
            return;
    }
}
