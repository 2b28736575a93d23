// The engine's output stays finite and bounded at every sample rate it accepts, a rate
// change or a reset leaves no bad value behind, and a released chorus tail never grows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tests/engine/EngineRig.h"
#include "tests/engine/Listening.h"

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

// --- chorus tails ---

// RMS over both outputs of the next `seconds`, rendered in host-sized slices.
double levelOfNext(EngineRig& rig, double seconds)
{
    rig.left.clear();
    rig.right.clear();
    rig.render(static_cast<int32_t>(seconds * rig.rate()), 4096);
    return std::hypot(rms(rig.left), rms(rig.right)) / std::sqrt(2.0);
}

// Holds `notes` for `hold` s and releases them; then the level of each `window`-second span
// of the tail, up to `seconds` after the release (quiet spans before `from` are skipped).
std::vector<double> tailLevels(EngineRig& rig, std::initializer_list<int8_t> notes, int8_t velocity, double hold,
                               double from, double seconds, double window)
{
    for (int8_t note : notes) startNote(*rig.engine, note, velocity);
    levelOfNext(rig, hold);
    for (int8_t note : notes) rig.engine->noteOff(note, 0);
    levelOfNext(rig, from);
    std::vector<double> levels;
    for (double t = from; t + window <= seconds + 1e-9; t += window) levels.push_back(levelOfNext(rig, window));
    return levels;
}

// A tail holds when its level wavers by no more than this from one window to a later one:
// at Ch-Fbk 1 the open loop passes nearly all of its level on every pass, and the slowest
// sweep moves the partials through its filters so that the level wavers by up to 1.4 %.
// A loop that grows multiplies its level with every pass.
constexpr double kHeldWaver = 1.03;

void expectNeverGrows(const std::vector<double>& levels, const std::string& what)
{
    for (size_t i = 0; i < levels.size(); ++i) {
        ASSERT_TRUE(std::isfinite(levels[i])) << what << ", window " << i;
        for (size_t j = i + 1; j < levels.size(); ++j)
            EXPECT_LE(levels[j], levels[i] * kHeldWaver) << what << ", window " << j << " against " << i;
    }
}

struct CornerCase {
    double rate;
    Settings settings;  // the chorus controls, on top of "Init Patch" with Ch-Amt and Ch-Fbk at 1
};

void PrintTo(const CornerCase& c, std::ostream* os)
{
    *os << c.rate << " Hz";
    for (const auto& [index, value] : c.settings) *os << ", " << index << "=" << value;
}

class ChorusTailAtFullFeedback : public testing::TestWithParam<CornerCase> {};

// Ch-Fbk at 1 may hold a released tail, but it never grows: the level of each 5 s window
// from 5 to 20 s after the release stays within the waver of every earlier one's.
TEST_P(ChorusTailAtFullFeedback, NeverGrows)
{
    const CornerCase& c = GetParam();
    EngineRig rig(c.rate, kInitPatchProgram);
    rig.set({{kParamChorusAmount, 1.0f}, {kParamChorusFeedback, 1.0f}});
    for (const auto& [index, value] : c.settings) rig.set(index, value);
    expectNeverGrows(tailLevels(rig, {60}, 127, 0.3, 5.0, 20.0, 5.0), testing::PrintToString(c));
}

// Every corner of Ch-Sync, Ch-Del, Ch-Mod, Ch-Rate and Ch-Sprd with the band wide open
// (Ch-Low at its top, Ch-High at its bottom: the loop passes the most), and the other three
// corners of the band with the longest, fastest and widest sweep.
std::vector<CornerCase> cornerCases()
{
    const int32_t sweep[] = {kParamChorusSync, kParamChorusDelay, kParamChorusMod, kParamChorusRate, kParamChorusSpread};
    std::vector<CornerCase> cases;
    for (double rate : {44100.0, 96000.0, 316067.0}) {
        for (int corner = 0; corner < 32; ++corner) {
            Settings s = {{kParamChorusLow, 1.0f}, {kParamChorusHigh, 0.0f}};
            for (int k = 0; k < 5; ++k) s.push_back({sweep[k], static_cast<float>((corner >> k) & 1)});
            cases.push_back({rate, s});
        }
        for (auto [low, high] : {std::pair{0.0f, 0.0f}, std::pair{0.0f, 1.0f}, std::pair{1.0f, 1.0f}}) {
            cases.push_back({rate, {{kParamChorusSync, 0.0f}, {kParamChorusDelay, 1.0f}, {kParamChorusMod, 1.0f},
                                    {kParamChorusRate, 1.0f}, {kParamChorusSpread, 1.0f}, {kParamChorusLow, low},
                                    {kParamChorusHigh, high}}});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Corners, ChorusTailAtFullFeedback, testing::ValuesIn(cornerCases()));

// Below 2 kHz Ch-Del's and Ch-Mod's shortest settings leave the sweep under two frames
// for a while; the delay reads there from frames already written, so the tail still falls
// quiet instead of growing without bound.
TEST(ChorusTailAtLowRates, ShortestDelayNeverGrows)
{
    for (double rate : {1200.0, 1500.0}) {
        EngineRig rig(rate, kInitPatchProgram);
        rig.set({{kParamChorusAmount, 1.0f}, {kParamChorusFeedback, 1.0f}, {kParamChorusSync, 0.0f},
                 {kParamChorusDelay, 0.0f}, {kParamChorusMod, 0.0f}, {kParamChorusRate, 0.0f},
                 {kParamChorusLow, 1.0f}, {kParamChorusHigh, 0.0f}});
        rig.engine->chorusPhase = 0xC0000000u;  // the sweep at its shortest, where it stays for seconds
        const std::vector<double> levels = tailLevels(rig, {60}, 127, 0.5, 0.0, 6.0, 1.0);
        expectNeverGrows(levels, std::to_string(static_cast<int>(rate)) + " Hz");
        EXPECT_LT(levels.back(), kSilence) << rate << " Hz";
    }
}

// Long tails at Ch-Fbk 0.98 to 1 play at their recorded levels (a limit on the feedback
// would lower them): program 0, whose chorus is synced, with Ch-Amt 1 and a C major chord
// released after 1 s; the level of the tail 20..25 s and 35..40 s after the release.
struct RecordedTail {
    double rate;
    float feedback;
    bool open;  // Ch-Low at its top and Ch-High at its bottom
    double at20, at35;
};

void PrintTo(const RecordedTail& c, std::ostream* os)
{
    *os << c.rate << " Hz, Ch-Fbk " << c.feedback << (c.open ? ", band open" : "");
}

class ChorusTailAsRecorded : public testing::TestWithParam<RecordedTail> {};

TEST_P(ChorusTailAsRecorded, PlaysAsBefore)
{
    const RecordedTail& c = GetParam();
    EngineRig rig(c.rate, 0);
    rig.set({{kParamChorusAmount, 1.0f}, {kParamChorusFeedback, c.feedback}});
    if (c.open) rig.set({{kParamChorusLow, 1.0f}, {kParamChorusHigh, 0.0f}});
    const std::vector<double> levels = tailLevels(rig, {60, 64, 67}, 100, 1.0, 20.0, 40.0, 5.0);
    ASSERT_EQ(levels.size(), 4u);
    EXPECT_NEAR(levels[0] / c.at20, 1.0, 1e-5) << levels[0];
    EXPECT_NEAR(levels[3] / c.at35, 1.0, 1e-5) << levels[3];
}

INSTANTIATE_TEST_SUITE_P(Feedback, ChorusTailAsRecorded, testing::ValuesIn(std::vector<RecordedTail>{
    // rate, Ch-Fbk, band open, level 20..25 s, level 35..40 s
    {44100.0, 0.98f, false, 0.0470204, 0.02685718},   {44100.0, 0.995f, false, 0.08668746, 0.06638559},
    {44100.0, 1.0f, false, 0.1083351, 0.09417334},    {44100.0, 1.0f, true, 0.1353322, 0.1341535},
    // Above 44100 Hz, program 0's vibrato as deep as at 44100 Hz.
    {96000.0, 0.98f, false, 0.0474763, 0.02719385},  {96000.0, 0.995f, false, 0.08755903, 0.06729295},
    {96000.0, 1.0f, false, 0.1094378, 0.09550652},   {96000.0, 1.0f, true, 0.1366958, 0.1360274},
    {316067.0, 0.98f, false, 0.0388683, 0.01949346}, {316067.0, 0.995f, false, 0.08215355, 0.05884062},
    {316067.0, 1.0f, false, 0.1088736, 0.09142563},  {316067.0, 1.0f, true, 0.1418197, 0.1393906},
}));

}  // namespace
