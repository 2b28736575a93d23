// Voice allocation: free voices, stealing order and ties, release timing,
// same-frame legato, Voice-Mode layers and a lowered voice count.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VoiceTestRig.h"

namespace {

constexpr int8_t kVelocity = 100;

// One step of a scripted performance: note on, note off or render.
struct Step {
    char kind;      // 'n' note on (layer 0), 'f' note off, 'r' render frames
    int32_t value;  // note or frames
};

void play(VoiceTestRig& rig, const std::vector<Step>& steps)
{
    for (const Step& s : steps) {
        if (s.kind == 'n') rig.engine.noteOn(static_cast<int8_t>(s.value), kVelocity, 0);
        if (s.kind == 'f') rig.engine.noteOff(static_cast<uint8_t>(s.value), 0);
        if (s.kind == 'r') rig.render(s.value);
    }
}

// Twelve notes 40..51, each started in its own slice: slot k is older than slot k+1.
std::vector<Step> twelveStaggered()
{
    std::vector<Step> steps;
    for (int32_t k = 0; k < 12; ++k) {
        steps.push_back({'n', 40 + k});
        steps.push_back({'r', 64});
    }
    return steps;
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct StealCase {
    std::string name;
    std::vector<Step> steps;
    int32_t expectedSlot;
};

void PrintTo(const StealCase& c, std::ostream* os) { *os << c.name; }

class StealingTest : public ::testing::TestWithParam<StealCase> {};

TEST_P(StealingTest, NextNoteTakesExpectedSlot)
{
    VoiceTestRig rig;
    rig.engine.setPolyphony(12);
    play(rig, GetParam().steps);
    rig.engine.noteOn(100, kVelocity, 0);
    const VoiceState& v = rig.engine.voices[GetParam().expectedSlot];
    EXPECT_EQ(v.note, 100);
    EXPECT_EQ(v.started, 0);
    EXPECT_EQ(v.age, 0u);
    for (int32_t k = 0; k < 12; ++k) {
        if (k != GetParam().expectedSlot) {
            EXPECT_NE(rig.engine.voices[k].note, 100) << "slot " << k;
        }
    }
}

// Two notes started in the same slice have the same age.
std::vector<Step> tiedPairThenTen()
{
    std::vector<Step> steps = {{'n', 40}, {'n', 41}, {'r', 64}};
    for (int32_t k = 2; k < 12; ++k) steps.insert(steps.end(), {{'n', 40 + k}, {'r', 64}});
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Voices, StealingTest,
    ::testing::Values(
        StealCase{"FreeSlotBeforeStealing", {{'n', 40}, {'r', 64}, {'n', 41}, {'r', 64}}, 2},
        StealCase{"OldestHeldVoice", twelveStaggered(), 0},
        StealCase{"EqualAgeGoesToHigherSlot", tiedPairThenTen(), 1},
        StealCase{"ReleasedBeforeOlderHeld", twelveStaggered() + std::vector<Step>{{'f', 45}, {'r', 64}}, 5},
        StealCase{"OldestOfTwoReleased",
                  twelveStaggered() + std::vector<Step>{{'f', 47}, {'r', 64}, {'f', 43}, {'r', 64}}, 3},
        StealCase{"EqualAgeReleasedGoesToHigherSlot",
                  tiedPairThenTen() + std::vector<Step>{{'f', 40}, {'f', 41}, {'r', 64}}, 1},
        StealCase{"PendingReleaseIsNotYetReleased",
                  twelveStaggered() + std::vector<Step>{{'f', 45}}, 0}),
    [](const ::testing::TestParamInfo<StealCase>& info) { return info.param.name; });

TEST(VoiceAllocation, StolenVoiceKeepsPhasesAndLevelsFreeVoiceStartsAtPhaseZero)
{
    VoiceTestRig rig;
    rig.engine.setPolyphony(1);
    rig.engine.noteOn(60, kVelocity, 0);
    rig.render(1000);
    const VoiceState before = rig.engine.voices[0];
    ASSERT_NE(before.osc1Phase, 0u);
    rig.engine.noteOn(67, kVelocity, 0);
    const VoiceState& after = rig.engine.voices[0];
    EXPECT_EQ(after.osc1Phase, before.osc1Phase);
    EXPECT_EQ(after.osc2Phase, before.osc2Phase);
    EXPECT_EQ(after.ampLevel, before.ampLevel);
    EXPECT_EQ(after.osc3Phase, 0u);

    // The attack of the stolen voice starts from where the old note stood, not from 0.
    rig.render(1);
    EXPECT_NEAR(rig.engine.voices[0].ampLevel, before.ampLevel, 1e-6f);

    rig.engine.setPolyphony(2);
    rig.engine.noteOn(72, kVelocity, 0);
    EXPECT_EQ(rig.engine.voices[1].osc1Phase, 0u);
    EXPECT_EQ(rig.engine.voices[1].osc2Phase, 0u);
}

TEST(VoiceAllocation, VoiceModeOneSecondNoteStealsBothLayersOfFirst)
{
    VoiceTestRig rig;
    rig.set(kParamVoiceMode, 0.5f);
    ASSERT_EQ(rig.engine.voiceMode, 1);
    rig.engine.setPolyphony(2);
    for (uint8_t layer : {0, 1}) rig.engine.noteOn(60, kVelocity, layer);
    rig.render(256);
    for (uint8_t layer : {0, 1}) rig.engine.noteOn(64, kVelocity, layer);
    EXPECT_EQ(rig.engine.voices[0].note, 64);
    EXPECT_EQ(rig.engine.voices[1].note, 64);
    EXPECT_NE(rig.engine.voices[0].layer, rig.engine.voices[1].layer);
}

TEST(VoiceAllocation, NoteOffForUnplayedNoteChangesNoVoiceButReleasesSharedEnvelope)
{
    VoiceTestRig rig;
    rig.engine.noteOn(60, kVelocity, 0);
    rig.render(256);
    EXPECT_EQ(rig.engine.sharedEnvStage, 0);
    const VoiceState before = rig.engine.voices[0];
    rig.engine.noteOff(61, 0);
    EXPECT_EQ(rig.engine.voices[0].releaseFrame, before.releaseFrame);
    EXPECT_EQ(rig.engine.sharedEnvStage, 0) << "a key is still held";
    rig.engine.noteOff(60, 0);
    EXPECT_EQ(rig.engine.sharedEnvStage, 3);
}

TEST(VoiceAllocation, LfoSyncRestartsLfoPhaseOtherwiseReusedVoiceContinues)
{
    for (const float sync : {0.0f, 1.0f}) {
        VoiceTestRig rig;
        rig.set(kParamLfoSync, sync);
        rig.engine.setPolyphony(1);
        rig.engine.noteOn(60, kVelocity, 0);
        rig.render(1000);
        const uint32_t phase = rig.engine.voices[0].lfoPhase;
        ASSERT_NE(phase, 0u);
        rig.engine.noteOn(62, kVelocity, 0);
        EXPECT_EQ(rig.engine.voices[0].lfoPhase, sync > 0.5f ? 0u : phase) << "LFO-Sync " << sync;
    }
}

TEST(VoiceAllocation, ZeroVoiceCountRendersNothing)
{
    VoiceTestRig rig;
    rig.engine.setPolyphony(0);
    rig.engine.noteOn(60, kVelocity, 0);
    EXPECT_EQ(rig.engine.voices[0].active, 1u);
    rig.engine.noteOff(60, 0);
    EXPECT_EQ(rig.engine.sharedEnvStage, 3);
    rig.render(4096);
    EXPECT_EQ(rms(rig.left, 0, rig.left.size()), 0.0);
}

// --- release timing ---

TEST(ReleaseTiming, NoteOffBeforeFirstSliceHoldsExactlyThatSlice)
{
    VoiceTestRig held, released;
    held.engine.noteOn(69, kVelocity, 0);
    released.engine.noteOn(69, kVelocity, 0);
    released.engine.noteOff(69, 0);
    EXPECT_EQ(released.engine.voices[0].releaseFrame, 0);

    held.render(300, 300);
    released.render(300, 300);
    // The whole first slice sounds like a held note; the release begins at its last frame.
    for (size_t i = 0; i < 300; ++i) ASSERT_EQ(released.left[i], held.left[i]) << "frame " << i;
    const VoiceState& v = released.engine.voices[0];
    EXPECT_EQ(v.released, 1u);
    EXPECT_EQ(v.ampStage, 3);
    EXPECT_EQ(v.pitchEnvGate, 3);
    EXPECT_EQ(v.releaseFrame, -1);
    EXPECT_EQ(v.started, -1);

    held.render(held.ms(800));
    released.render(released.ms(800));
    const size_t n = held.left.size();
    EXPECT_GT(rms(held.left, n - 2000, n), 0.05);
    EXPECT_LT(rms(released.left, n - 2000, n), 1e-4);
    EXPECT_EQ(released.engine.voices[0].active, 0u);
}

TEST(ReleaseTiming, NoteOffAfterStartReleasesAtFirstFrameOfNextSlice)
{
    VoiceTestRig rig;
    rig.engine.noteOn(69, kVelocity, 0);
    rig.render(512);
    rig.engine.noteOff(69, 0);
    rig.render(1, 1);
    const VoiceState& v = rig.engine.voices[0];
    EXPECT_EQ(v.ampStage, 3);
    EXPECT_EQ(v.filterStage, 3);
    EXPECT_EQ(v.released, 1u);
    // The release multiplier applies from the sample after the release frame.
    const float level = v.ampLevel;
    rig.render(1, 1);
    EXPECT_FLOAT_EQ(rig.engine.voices[0].ampLevel, level * rig.engine.ampReleaseCoef);
}

// Note-off of the old note and note-on of the new one on the same frame, with the
// new note landing on the voice that was just told to release.
struct LegatoCase {
    const char* name;
    float voiceModeValue;
    int32_t voices;
    int32_t layers;
};

void PrintTo(const LegatoCase& c, std::ostream* os) { *os << c.name; }

class LegatoTest : public ::testing::TestWithParam<LegatoCase> {};

TEST_P(LegatoTest, SameFrameNoteOffAndNoteOnKeepsNewNoteSounding)
{
    const LegatoCase& c = GetParam();
    VoiceTestRig rig;
    rig.set(kParamVoiceMode, c.voiceModeValue);
    rig.engine.setPolyphony(c.voices);
    for (int32_t k = 0; k < c.layers; ++k) rig.engine.noteOn(60, kVelocity, static_cast<uint8_t>(k));
    rig.render(rig.ms(200));
    const double before = rms(rig.left, rig.left.size() - 2000, rig.left.size());

    rig.engine.noteOff(60, 0);
    for (int32_t k = 0; k < c.layers; ++k) rig.engine.noteOn(64, kVelocity, static_cast<uint8_t>(k));
    rig.render(rig.ms(500));
    for (int32_t k = 0; k < c.voices; ++k) {
        const VoiceState& v = rig.engine.voices[k];
        EXPECT_EQ(v.note, 64) << "slot " << k;
        EXPECT_EQ(v.active, 1u) << "slot " << k;
        EXPECT_EQ(v.released, 0u) << "slot " << k;
        EXPECT_NE(v.ampStage, 3) << "slot " << k;
    }
    const double after = rms(rig.left, rig.left.size() - 2000, rig.left.size());
    EXPECT_GT(after, 0.5 * before);
}

INSTANTIATE_TEST_SUITE_P(Voices, LegatoTest,
                         ::testing::Values(LegatoCase{"Mono", 0.0f, 1, 1}, LegatoCase{"DualLayer", 0.5f, 2, 2},
                                           LegatoCase{"Unison", 1.0f, 3, 3}),
                         [](const ::testing::TestParamInfo<LegatoCase>& info) { return info.param.name; });

// --- voice count ---

TEST(VoiceCount, LoweringTheCountReleasesVoicesAboveItAndNothingComesBack)
{
    VoiceTestRig rig;
    rig.engine.setPolyphony(12);
    for (int8_t note = 60; note < 66; ++note) rig.engine.noteOn(note, kVelocity, 0);
    rig.render(rig.ms(100));
    rig.engine.setPolyphony(3);
    rig.render(256);
    for (int32_t k = 3; k < 6; ++k) EXPECT_EQ(rig.engine.voices[k].released, 1u) << "slot " << k;
    for (int32_t k = 0; k < 3; ++k) EXPECT_EQ(rig.engine.voices[k].released, 0u) << "slot " << k;
    rig.render(rig.ms(2000));
    for (int32_t k = 3; k < 6; ++k) EXPECT_EQ(rig.engine.voices[k].active, 0u) << "slot " << k;

    // Raising the count again brings no stuck notes back.
    rig.engine.setPolyphony(12);
    for (int8_t note = 60; note < 63; ++note) rig.engine.noteOff(static_cast<uint8_t>(note), 0);
    rig.render(rig.ms(2000));
    const size_t n = rig.left.size();
    EXPECT_LT(rms(rig.left, n - 4000, n), 1e-5);
}

TEST(VoiceCount, NotesAfterResetAndRaisedCountAreNotCutShort)
{
    VoiceTestRig rig;
    rig.engine.setPolyphony(20);
    for (int8_t note = 40; note < 60; ++note) rig.engine.noteOn(note, kVelocity, 0);
    rig.render(256);
    rig.engine.setPolyphony(4);
    rig.engine.reset();
    for (int32_t k = 0; k < kMaxVoices; ++k) EXPECT_EQ(rig.engine.voices[k].active, 0u) << "slot " << k;

    rig.engine.setPolyphony(20);
    for (int8_t note = 60; note < 80; ++note) rig.engine.noteOn(note, kVelocity, 0);
    rig.render(rig.ms(100));
    for (int32_t k = 0; k < kMaxVoices; ++k) {
        EXPECT_EQ(rig.engine.voices[k].active, 1u) << "slot " << k;
        EXPECT_EQ(rig.engine.voices[k].released, 0u) << "slot " << k;
    }
}

}  // namespace
