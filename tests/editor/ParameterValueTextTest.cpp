// Read-out texts, made from the value and the live values of the parameters a text
// depends on (set here as the plug-in sets them).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "editor/ParameterValueText.h"
#include "engine/Dravenor.h"
#include "graphics/CFixedString.h"

namespace {

class ParameterValueTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<Dravenor>();
        set(kParamOutHigh, 0.0f);  // both output filters off
    }

    // Sets a value as the plug-in does: the live value, then the engine's conversion.
    void set(int32_t index, float value) {
        if (index >= 0 && index < kNumControls) engine->values[index] = value;
        engine->setParameter(index, value);
    }
    std::string text(int32_t index, float value) {
        set(index, value);
        CFixedString s;
        s.assign("stale text");
        formatParameterValue(index, s, value, *engine);
        EXPECT_EQ(s.length, std::string(s.data()).size());
        return std::string(s.data());
    }

    std::unique_ptr<Dravenor> engine;
};

struct TextCase {
    int32_t index;
    float value;
    const char* expected;
};

// A number as a name part, in the fewest digits that read back as it: 0.49999997f -> "0_49999997".
template <class Number>
std::string numberName(Number number) {
    char digits[64];
    const char* end = std::to_chars(digits, digits + sizeof digits, number, std::chars_format::fixed).ptr;
    std::string name;
    for (const char* c = digits; c != end; ++c) {
        if (*c == '-') {
            name += "minus";
        } else {
            name += *c == '.' ? '_' : *c;
        }
    }
    return name;
}

// "p" and the index in two digits, then the value: "p00_at_0_5".
std::string textCaseName(const ::testing::TestParamInfo<TextCase>& info) {
    char index[16];
    std::snprintf(index, sizeof index, "p%02d_at_", static_cast<int>(info.param.index));
    return index + numberName(info.param.value);
}

class ParameterValueTextCases : public ParameterValueTextTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ParameterValueTextCases, MakesTheText) {
    const TextCase& c = GetParam();
    EXPECT_EQ(text(c.index, c.value), c.expected) << "parameter " << c.index << " at " << c.value;
}

// Coarse pitches, fine tuning in cents, the corners that sound at 44100 Hz with their "Off"
// (Out-High off) and "1 kHz" ends, percentages.
INSTANTIATE_TEST_SUITE_P(Units, ParameterValueTextCases,
                         ::testing::Values(TextCase{kParamOsc1Coarse, 0.0f, "-12"},
                                           TextCase{kParamOsc1Coarse, 0.5f, "0"},
                                           TextCase{kParamOsc1Coarse, 1.0f, "+12"},
                                           TextCase{kParamOsc1Coarse, 0.49999997f, "-1"},
                                           TextCase{kParamOsc2Coarse, 0.75f, "+6"},
                                           TextCase{kParamOsc3Coarse, 0.25f, "-24"},
                                           TextCase{kParamOsc3Coarse, 1.0f, "+48"},
                                           TextCase{kParamOsc1Fine, 0.5f, "0.0 ct"},
                                           TextCase{kParamOsc1Fine, 0.75f, "25.0 ct"},
                                           TextCase{kParamOsc3Fine, 0.0f, "-50.0 ct"},
                                           TextCase{kParamChorusRate, 0.0f, "0.01 Hz"},
                                           TextCase{kParamChorusLow, 1.0f, "9628.9 Hz"},
                                           TextCase{kParamChorusHigh, 0.0f, "5.0 Hz"},
                                           TextCase{kParamBassFreq, 1.0f, "1 kHz"},
                                           TextCase{kParamBassFreq, 0.0f, "100.00 Hz"},
                                           TextCase{kParamOutLow, 0.999f, "Off"},
                                           TextCase{kParamOutLow, 0.5f, "1404.7 Hz"},
                                           TextCase{kParamOutHigh, 0.001f, "Off"},
                                           TextCase{kParamOutHigh, 1.0f, "2448.9 Hz"},
                                           TextCase{kParamFltCutoff, 0.5f, "50 %"},
                                           TextCase{kParamOscRouting, 2.0f, "200 %"},
                                           TextCase{kTagPitchWheel, 0.25f, "25 %"},
                                           TextCase{200, 1.0f, "100 %"}),
                         textCaseName);

// Display times: milliseconds below a second, seconds from 1000 ms on.
INSTANTIATE_TEST_SUITE_P(Times, ParameterValueTextCases,
                         ::testing::Values(TextCase{kParamAmpDecay, 0.0f, "105.00 ms"},
                                           TextCase{kParamAmpRelease, 1.0f, "15.00 s"}),
                         textCaseName);

TEST_F(ParameterValueTextTest, LfoRateFollowsTheSyncSwitch) {
    set(kParamLfoSync, 0.0f);
    EXPECT_EQ(text(kParamLfoRate, 0.5f), "2.24 Hz");
    set(kParamLfoSync, 1.0f);
    ASSERT_NE(engine->lfoSync, 0);
    EXPECT_EQ(text(kParamLfoRate, 0.5f), "50 %");
}

TEST_F(ParameterValueTextTest, ChorusDelayFollowsTheSyncSwitch) {
    set(kParamChorusSync, 0.0f);
    const std::string ms = text(kParamChorusDelay, 0.3f);
    EXPECT_NE(ms.find(" ms"), std::string::npos) << ms;
    set(kParamChorusSync, 1.0f);
    ASSERT_NE(engine->chorusSync, 0);
    EXPECT_EQ(text(kParamChorusDelay, 0.3f), "30 %");
}

TEST_F(ParameterValueTextTest, DecaysShowOffAtTheEngineThreshold) {
    EXPECT_EQ(text(kParamOsc2Decay, 0.999f), "Off");
    EXPECT_EQ(text(kParamOsc2Decay, 1.0f), "Off");
    EXPECT_EQ(text(kParamOsc3Decay, 1.0f), "Off");
    const std::string below = text(kParamOsc2Decay, 0.998f);
    EXPECT_NE(below, "Off");
    EXPECT_TRUE(below.find(" s") != std::string::npos || below.find(" ms") != std::string::npos) << below;
}

// At every step of each coarse tuning, and one float either side of it, the read-out
// names the interval the engine plays.
TEST_F(ParameterValueTextTest, CoarseTuningsNameTheIntervalThatPlays) {
    const struct {
        int32_t index, steps;
        int32_t Dravenor::*semitones;
    } tunings[] = {{kParamOsc1Coarse, 24, &Dravenor::osc1Coarse},
                   {kParamOsc2Coarse, 24, &Dravenor::osc2Coarse},
                   {kParamOsc3Coarse, 96, &Dravenor::osc3Coarse}};
    for (const auto& t : tunings) {
        for (int32_t k = 0; k <= t.steps; ++k) {
            const float step = static_cast<float>(k) / static_cast<float>(t.steps);
            for (float v : {std::nextafter(step, 0.0f), step, std::nextafter(step, 1.0f)}) {
                const std::string shown = text(t.index, v);
                const int32_t plays = (*engine).*(t.semitones);
                char interval[16];
                std::snprintf(interval, sizeof interval, "%s%d", plays > 0 ? "+" : "", plays);
                EXPECT_EQ(shown, interval) << "parameter " << t.index << " at " << v;
            }
        }
    }
}

struct TimeCase {
    double ms;
    const char* expected;
};

class DisplayTimeCases : public ::testing::TestWithParam<TimeCase> {};

TEST_P(DisplayTimeCases, ChoosesTheUnit) {
    CFixedString s;
    formatDisplayTime(s, GetParam().ms);
    EXPECT_STREQ(s.data(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, DisplayTimeCases,
                         ::testing::Values(TimeCase{999.994, "999.99 ms"}, TimeCase{1000.0, "1.00 s"},
                                           TimeCase{0.0, "0.00 ms"}, TimeCase{15000.0, "15.00 s"}),
                         [](const auto& info) { return numberName(info.param.ms) + "_ms"; });

TEST_F(ParameterValueTextTest, TimeTextsReadTheEnginesDisplayTimes) {
    const struct {
        int32_t index;
        double Dravenor::*field;
    } cases[] = {{kParamAmpAttack, &Dravenor::ampAttackMs},       {kParamAmpDecay, &Dravenor::ampDecayMs},
                 {kParamAmpRelease, &Dravenor::ampReleaseMs},     {kParamFltAttack, &Dravenor::filterAttackMs},
                 {kParamFltDecay, &Dravenor::filterDecayMs},      {kParamFltRelease, &Dravenor::filterReleaseMs},
                 {kParamOsc2Decay, &Dravenor::osc2DecayMs},       {kParamOsc3Decay, &Dravenor::osc3DecayMs}};
    for (const auto& c : cases) {
        engine->setParameter(c.index, 0.4f);
        CFixedString expected;
        formatDisplayTime(expected, (*engine).*(c.field));
        EXPECT_EQ(text(c.index, 0.4f), std::string(expected.data())) << "parameter " << c.index;
    }
}

}  // namespace
