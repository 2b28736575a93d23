// The engine's output stays finite and bounded at every sample rate it accepts, a rate
// change or a reset leaves no bad value behind, and released tails die away.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "tests/engine/EngineRig.h"

namespace {

constexpr float kSanePeak = 8.0f;         // about twice the loudest factory note at any rate
constexpr float kFullPressure = 0.15f;    // channel pressure 127, as the plug-in scales it
constexpr float kSilence = 1.0e-4f;       // -80 dBFS

struct Level {
    bool finite = true;
    float peak = 0.0f;
};

Level levelOf(const std::vector<float>& left, const std::vector<float>& right)
{
    float peak = 0.0f, sum = 0.0f;  // the sum turns NaN or infinite with any bad sample
    for (size_t i = 0; i < left.size(); ++i) {
        const float a = std::fabs(left[i]), b = std::fabs(right[i]);
        peak = std::max(peak, std::max(a, b));
        sum += a + b;
    }
    return {std::isfinite(sum), peak};
}

// Starts a note the way the plug-in does for the current Voice-Mode.
void startNote(Dravenor& engine, int8_t note, int8_t velocity)
{
    const int32_t layers = engine.voiceMode == 0 ? 1 : engine.voiceMode == 1 ? 2 : std::min(engine.voiceCount, kMaxVoices);
    for (int32_t layer = 0; layer < layers; ++layer) engine.noteOn(note, velocity, static_cast<uint8_t>(layer));
}

// Peak of the next `seconds` of output, rendered into the rig's reused buffers.
Level renderLevel(EngineRig& rig, double seconds)
{
    rig.left.clear();
    rig.right.clear();
    rig.render(static_cast<int32_t>(seconds * rig.engine->sampleRate), 4096);
    return levelOf(rig.left, rig.right);
}

using Settings = std::vector<std::pair<int32_t, float>>;

// --- every program at the low rates ---

class LowRateStability : public testing::TestWithParam<double> {};

TEST_P(LowRateStability, EveryProgramPlaysFiniteAndBounded)
{
    constexpr int32_t kFramesPerNote = 64;  // a blow-up shows within a few dozen frames
    EngineRig rig(GetParam());
    for (int32_t program = 0; program < kNumPrograms; ++program) {
        rig.engine->setProgram(program, true);
        rig.set(kParamModWheel, 1.0f);
        rig.engine->channelPressure = kFullPressure;
        rig.left.clear();
        rig.right.clear();
        for (int8_t note : {24, 60, 96, 127}) {
            startNote(*rig.engine, note, 127);
            rig.render(kFramesPerNote);
        }
        const Level level = levelOf(rig.left, rig.right);
        ASSERT_TRUE(level.finite) << "program " << program;
        ASSERT_LT(level.peak, kSanePeak) << "program " << program;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, LowRateStability, testing::Values(1000.0, 4419.0, 5000.0, 8000.0, 11025.0));

// --- bad values cleared ---

// Fills every sound memory (voices, shared filter, bass, chorus, output stage) with NaN.
void poisonMemories(Dravenor& e)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (VoiceState& v : e.voices) {
        v.filterLow1 = v.filterBand1 = v.filterLow2 = v.filterBand2 = nan;
        v.ampLevel = v.bendSmoothed = v.glideRemain = nan;
    }
    e.sharedFilterState = {nan, nan, nan, nan, {}};
    for (int c = 0; c < 2; ++c) {
        e.bassState[c] = {nan, nan, nan, nan, {}};
        e.chorusState[c] = {nan, nan, nan, nan, nan, nan, nan, nan};
        e.outputState[c] = {nan, nan, nan, nan, nan, {}};
        std::fill(e.chorusLines[c], e.chorusLines[c] + e.chorusLineLength, nan);
    }
    std::fill(e.bassDelayLine, e.bassDelayLine + kBassDelayLineLength, nan);
}

enum class Clearing { RateChange, Reset, TailKeepingProgramChange };

void PrintTo(Clearing c, std::ostream* os)
{
    static const char* const kNames[] = {"rate change", "reset", "program change keeping the chorus tails"};
    *os << kNames[static_cast<int>(c)];
}

class ClearingCase : public testing::TestWithParam<Clearing> {};

// Plays a note through every stage after the clearing, with the voices' own filters and then
// the shared one; with `poisoned` every sound memory holds NaN before the clearing.
std::vector<float> playAfterClearing(Clearing how, bool poisoned)
{
    EngineRig rig(4419.0, kInitPatchProgram);
    rig.owner.steinberg = true;  // a host whose program changes keep the chorus tails
    if (poisoned) poisonMemories(*rig.engine);
    switch (how) {
        case Clearing::RateChange:  // as the plug-in does it
            rig.engine->setSampleRate(44100.0);
            rig.engine->reset();
            break;
        case Clearing::Reset: rig.engine->reset(); break;
        case Clearing::TailKeepingProgramChange: rig.engine->setProgram(kInitPatchProgram, true); break;
    }
    // Bass with spread, distortion (which would turn NaN into full scale), chorus, output filters.
    const Settings chain = {{kParamBassAmount, 0.8f}, {kParamBassSpread, 0.5f}, {kParamOutDist, 0.3f},
                            {kParamChorusAmount, 1.0f}, {kParamChorusFeedback, 0.6f}, {kParamOutLow, 0.7f},
                            {kParamOutHigh, 0.2f}};
    for (const auto& [index, value] : chain) rig.engine->setParameter(index, value);
    rig.left.clear();
    rig.right.clear();
    for (float shared : {0.0f, 1.0f}) {
        rig.engine->setParameter(kParamSharedFilter, shared);
        startNote(*rig.engine, 60, 127);
        rig.render(static_cast<int32_t>(0.2 * rig.engine->sampleRate));
    }
    rig.left.insert(rig.left.end(), rig.right.begin(), rig.right.end());
    return rig.left;
}

TEST_P(ClearingCase, LeavesNoTraceOfBadValues)
{
    const std::vector<float> clean = playAfterClearing(GetParam(), false);
    const std::vector<float> played = playAfterClearing(GetParam(), true);
    ASSERT_EQ(played.size(), clean.size());
    size_t differing = 0;
    for (size_t i = 0; i < clean.size(); ++i) differing += played[i] != clean[i];  // NaN differs from all
    EXPECT_EQ(differing, 0u) << "of " << clean.size() << " samples";
    EXPECT_GT(levelOf(clean, clean).peak, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClearingCase,
                         testing::Values(Clearing::RateChange, Clearing::Reset, Clearing::TailKeepingProgramChange));

// --- released tails fall ---

struct TailCase {
    double rate;
    Settings settings;  // on top of "Init Patch"
};

void PrintTo(const TailCase& c, std::ostream* os)
{
    *os << c.rate << " Hz";
    for (const auto& [index, value] : c.settings) *os << ", " << index << "=" << value;
}

class ReleasedTail : public testing::TestWithParam<TailCase> {};

// Like a host's check for a hanging sound: after every note is released the output either
// falls silent or its peak 30 s later lies clearly below its peak at half that time.
TEST_P(ReleasedTail, FallsWithinThirtySeconds)
{
    const TailCase& c = GetParam();
    EngineRig rig(c.rate, kInitPatchProgram);
    for (const auto& [index, value] : c.settings) rig.set(index, value);
    startNote(*rig.engine, 60, 127);
    renderLevel(rig, 0.3);
    rig.engine->noteOff(60, 0);
    float mid = 0.0f, end = 0.0f;  // peaks of the 2 s windows ending at 15 s and at 30 s
    for (int32_t second = 1; second <= 30; ++second) {
        const Level level = renderLevel(rig, 1.0);
        ASSERT_TRUE(level.finite) << second << " s after the release";
        if (level.peak < kSilence) return;  // the tail has ended
        if (second == 14 || second == 15) mid = std::max(mid, level.peak);
        if (second == 29 || second == 30) end = std::max(end, level.peak);
    }
    EXPECT_LT(end, 0.9f * mid) << mid << " at 15 s, " << end << " at 30 s";
}

// Ch-Fbk at its top, where a tail used to hold its level for ever: the longest loop with
// the chorus filters open (Ch-Low at its top, Ch-High at its bottom: what a hostile host ran
// into at 316067 Hz), the shortest loop, and the longest with the filters closed.
std::vector<TailCase> tailCases()
{
    std::vector<TailCase> cases;
    for (double rate : {44100.0, 96000.0, 316067.0}) {
        for (auto [delay, open] : {std::pair{1.0f, 1.0f}, std::pair{0.0f, 1.0f}, std::pair{1.0f, 0.0f}}) {
            cases.push_back({rate, {{kParamChorusAmount, 1.0f}, {kParamChorusFeedback, 1.0f},
                                    {kParamChorusDelay, delay}, {kParamChorusMod, 1.0f}, {kParamChorusRate, 1.0f},
                                    {kParamChorusSpread, 1.0f}, {kParamChorusLow, open}, {kParamChorusHigh, 1.0f - open}}});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Extremes, ReleasedTail, testing::ValuesIn(tailCases()));

}  // namespace
