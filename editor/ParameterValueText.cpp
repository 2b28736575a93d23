// Read-out texts of the parameters: what a value plays, in a listener's units.
#include "editor/ParameterValueText.h"

#include <cstdarg>
#include <cstdio>

#include "engine/Dravenor.h"
#include "engine/ParameterSteps.h"
#include "engine/ParameterUnits.h"
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

// A fine-tuning step is 1/128 semitone.
constexpr double kCentsPerFineStep = 100.0 / 128.0;

// "%.1f Hz": the corner at which a one-pole filter made for hz sounds at the rate.
void corner(CFixedString& text, float hz, double rate) {
    printInto(text, "%.1f Hz", onePoleCornerHz(static_cast<double>(hz), rate));
}

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
    // The other values a text depends on, as last set: the engine's own copies of them follow
    // only once the thread that renders has applied them.
    const auto live = [&engine](int32_t i) { return peekField(engine.values[i]); };
    const double rate = engine.sampleRate;
    switch (index) {
        case kParamOsc1Coarse:
        case kParamOsc2Coarse: coarse(text, coarseTuningOf(value)); return;
        case kParamOsc3Coarse: coarse(text, osc3CoarseTuningOf(value)); return;
        case kParamOsc1Fine:
        case kParamOsc2Fine:
        case kParamOsc3Fine:
            printInto(text, "%.1f ct", fineTuningOf(value) * kCentsPerFineStep);
            return;
        case kParamLfoRate:
            if (switchOn(live(kParamLfoSync))) {
                percent(text, value);
            } else {
                hertz(text, "%.2f Hz", Dravenor::expScale(value, 0.05f, 100.0f));
            }
            return;
        case kParamAmpAttack: formatDisplayTime(text, ampAttackMsOf(value, switchOn(live(kParamPercEnv)))); return;
        case kParamAmpDecay: formatDisplayTime(text, ampDecayMsOf(value)); return;
        case kParamAmpRelease: formatDisplayTime(text, ampReleaseMsOf(value)); return;
        case kParamFltAttack: formatDisplayTime(text, filterAttackMsOf(value)); return;
        case kParamFltDecay: formatDisplayTime(text, filterDecayMsOf(value, switchOn(live(kParamPercEnv)))); return;
        case kParamFltRelease: formatDisplayTime(text, filterReleaseMsOf(value)); return;
        case kParamOsc2Decay:
        case kParamOsc3Decay:
            if (oscDecays(value)) {
                formatDisplayTime(text, oscDecayMsOf(value));
            } else {
                printInto(text, "Off");
            }
            return;
        case kParamChorusDelay:
            if (switchOn(live(kParamChorusSync))) {
                percent(text, value);
            } else {
                printInto(text, "%.1f ms", static_cast<double>(chorusDelayMsOf(value)));
            }
            return;
        case kParamChorusRate: hertz(text, "%.2f Hz", Dravenor::expScale(value, 0.015f, 10.0f)); return;
        case kParamChorusLow: corner(text, Dravenor::expScale(value, 100.0f, 15000.0f), rate); return;
        case kParamChorusHigh: corner(text, Dravenor::expScale(value, 5.0f, 5000.0f), rate); return;
        case kParamBassFreq:
            if (value < 0.9991f) {
                hertz(text, "%.2f Hz", Dravenor::expScale(value, 100.0f, 1000.0f));
            } else {
                printInto(text, "1 kHz");
            }
            return;
        case kParamOutLow:
            // Switched off, the low-pass still runs whenever the high-pass is on.
            if (outLowpassOnOf(value) || outHighpassOnOf(live(kParamOutHigh))) {
                corner(text, Dravenor::expScale(value, 100.0f, 20000.0f), rate);
            } else {
                printInto(text, "Off");
            }
            return;
        case kParamOutHigh:
            if (outHighpassOnOf(value)) {
                corner(text, Dravenor::expScale(value, 3.0f, 2500.0f), rate);
            } else {
                printInto(text, "Off");
            }
            return;
        default:
            percent(text, value);
            return;
    }
}
