// The knob read-out names what plays. The host's audio renders on a thread of its own and
// has gone idle (a track switched off), so every value set from here waits for its next
// block: each row sets values as a host does, turns one knob, takes the text the read-out
// shows for it, then lets the audio thread apply everything and measures what the engine
// plays from its working values (the frames an envelope stage lasts, a one-pole filter's
// -3 dB corner, the fine tuning's step).
#include <cmath>
#include <complex>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "graphics/CFixedString.h"

namespace {

// Frames until a level multiplied by coef each frame falls below target (from 1).
double framesTo(float coef, float target) {
    double frames = 0;
    for (float rest = 1.0f; rest >= target && frames < 1e8; rest *= coef) ++frames;
    return frames;
}

// The -3 dB corner in Hz of the one-pole y = b (x +- x') - a y' (low-pass with +, high-pass with -).
double cornerOf(float a, float b, bool lowpass, double rate) {
    const auto gain = [&](double w) {
        const std::complex<double> z = std::polar(1.0, -w);
        return std::abs(static_cast<double>(b) * (lowpass ? 1.0 + z : 1.0 - z) / (1.0 + static_cast<double>(a) * z));
    };
    const double full = gain(lowpass ? 0.0 : M_PI);
    double lo = 0.0, hi = M_PI;  // the gain falls (low-pass) or rises (high-pass) over this range
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        ((gain(mid) > full / std::sqrt(2.0)) == lowpass ? lo : hi) = mid;
    }
    return lo * rate / (2 * M_PI);
}

// A read-out's number in ms, Hz or cents; nothing for "Off".
std::optional<double> shownNumber(const std::string& text) {
    if (text == "Off") return std::nullopt;
    char* end = nullptr;
    const double n = std::strtod(text.c_str(), &end);
    return std::string(end) == " s" ? n * 1000.0 : n;
}

constexpr int32_t kChooseProgram = -1;  // a host row that chooses the program given as its value
constexpr float kLiveValue = -1.0f;     // the knob at the value it already has

struct ReadOutRow {
    const char* name;
    std::vector<std::pair<int32_t, float>> host;  // set by the host first, in this order
    int32_t knob;
    float value;
    // What plays once the audio thread has applied the values (nothing: switched off).
    std::function<std::optional<double>(const Dravenor&)> plays;
    double tolerance;  // relative; an absolute 0.05 for the tunings
    std::optional<double> shown = {};  // the figure, where it names one
};

double ms(const Dravenor& e, double frames) { return frames * 1000.0 / e.sampleRate; }

// A fine tuning's step in cents.
auto cents(int32_t Dravenor::*fine) {
    return [fine](const Dravenor& e) { return std::optional(e.*fine * 100.0 / 128); };
}

// The output low-pass's corner while either output filter runs; nothing while both are off.
std::optional<double> outLowCorner(const Dravenor& e) {
    if (!e.outLowpassOn && !e.outHighpassOn) return std::nullopt;
    return cornerOf(e.outLowpassA, e.outLowpassB, true, e.sampleRate);
}

const ReadOutRow kRows[] = {
    {"Osc1-F at 1", {}, kParamOsc1Fine, 1.0f, cents(&Dravenor::osc1Fine), 0, 50.0},
    {"Osc1-F just below a step", {}, kParamOsc1Fine, 0.5078f, cents(&Dravenor::osc1Fine), 0, 0.0},
    {"Osc2-F at 0.3", {}, kParamOsc2Fine, 0.3f, cents(&Dravenor::osc2Fine), 0},
    {"Osc3-F at 0.75", {}, kParamOsc3Fine, 0.75f, cents(&Dravenor::osc3Fine), 0, 25.0},
    {"Flt-Atk at 1", {}, kParamFltAttack, 1.0f,
     [](const Dravenor& e) { return ms(e, framesTo(e.filterAttackCoef, 0.1f)); }, 0.01, 1090.0},
    {"Flt-Atk at 0.5", {}, kParamFltAttack, 0.5f,
     [](const Dravenor& e) { return ms(e, framesTo(e.filterAttackCoef, 0.1f)); }, 0.02, 34.8},
    {"Flt-Dec of Init Patch chosen after program 0", {{kChooseProgram, 0}, {kChooseProgram, 127}},
     kParamFltDecay, kLiveValue,
     [](const Dravenor& e) { return ms(e, framesTo(e.filterDecayCoef, 0.001f)); }, 0.01, 958.0},
    {"Amp-Atk, then PercEnv switched on", {{kParamPercEnv, 0.0f}, {kParamAmpAttack, 0.6f}, {kParamPercEnv, 1.0f}},
     kParamAmpAttack, 0.6f, [](const Dravenor& e) { return ms(e, framesTo(e.ampAttackCoef, 0.1f)); }, 0.01},
    {"Amp-Rel at 0.5", {}, kParamAmpRelease, 0.5f,
     [](const Dravenor& e) { return ms(e, framesTo(e.ampReleaseCoef, 0.001f)); }, 0.01},
    {"Osc2-Dec at 0.4", {}, kParamOsc2Decay, 0.4f,
     [](const Dravenor& e) { return ms(e, framesTo(e.osc2DecayCoef, 0.001f)); }, 0.01},
    {"Osc3-Dec at 0.999", {}, kParamOsc3Decay, 0.999f,
     [](const Dravenor& e) { return e.osc3DecayCoef < 1.0f ? std::optional(0.0) : std::nullopt; }, 0},
    {"Out-Low at 0.998", {{kParamOutHigh, 0.0f}}, kParamOutLow, 0.998f, outLowCorner, 0.01, 10500.0},
    {"Out-Low at 1, Out-High off", {{kParamOutHigh, 0.0f}}, kParamOutLow, 1.0f, outLowCorner, 0.01},
    {"Out-Low at 1, Out-High on", {{kParamOutHigh, 0.3f}}, kParamOutLow, 1.0f, outLowCorner, 0.01},
    {"Out-High at 1", {}, kParamOutHigh, 1.0f,
     [](const Dravenor& e) { return cornerOf(e.outHighpassA, e.outHighpassB, false, e.sampleRate); }, 0.01},
    {"Ch-Low at 1", {}, kParamChorusLow, 1.0f,
     [](const Dravenor& e) { return cornerOf(e.chorusLowpassA, e.chorusLowpassB, true, e.sampleRate); }, 0.01, 9200.0},
    {"Ch-High at 1", {}, kParamChorusHigh, 1.0f,
     [](const Dravenor& e) { return cornerOf(e.chorusHighpassA, e.chorusHighpassB, false, e.sampleRate); }, 0.01},
};

void PrintTo(const ReadOutRow& row, std::ostream* os) { *os << row.name; }

class ReadOutTruth : public EditorFixture, public ::testing::WithParamInterface<ReadOutRow> {};

TEST_P(ReadOutTruth, NamesWhatPlays) {
    const ReadOutRow& row = GetParam();
    make(1);
    AudioThread audio(*synth);
    audio.block();  // from here on the audio idles on a thread of its own
    for (auto [index, v] : row.host) {
        if (index == kChooseProgram) {
            dispatch(effSetProgram, 0, static_cast<intptr_t>(v));
        } else {
            synth->setParameter(index, v);
        }
    }
    VSTGUI::CControl* knob = control(row.knob);
    ASSERT_NE(knob, nullptr);
    const float value = row.value == kLiveValue ? synth->getParameter(row.knob) : row.value;
    knob->setValue(value);
    editor->valueChanged(knob);
    CFixedString text;
    editor->formatValue(row.knob, value, text);
    const std::string shown = text.data();

    audio.block();
    const std::optional<double> plays = row.plays(synth->getEngine()), number = shownNumber(shown);
    ASSERT_EQ(number.has_value(), plays.has_value()) << row.name << " shows \"" << shown << "\"";
    if (!plays) return;
    const double allowed = row.tolerance == 0 ? 0.05 : row.tolerance * std::fabs(*plays);
    EXPECT_NEAR(*number, *plays, allowed) << row.name << " shows \"" << shown << "\"";
    if (row.shown) {
        EXPECT_NEAR(*number, *row.shown, row.tolerance == 0 ? 0.05 : 0.08 * *row.shown) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadOutTruth, ::testing::ValuesIn(kRows), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c != 0; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
});

}  // namespace
