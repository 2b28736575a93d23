// Voice allocation: free voices, stealing order and ties, release timing, same-frame
// legato, Voice-Mode layers and a changed voice count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/EngineRig.h"
#include "tests/engine/Listening.h"

namespace {

constexpr int8_t kVelocity = 100;

// A scripted performance: 'n' note on (layer 0), 'f' note off, 'r' render frames.
using Script = std::vector<std::pair<char, int32_t>>;

void play(EngineRig& rig, const Script& steps)
{
    for (auto [kind, value] : steps) {
        if (kind == 'n') rig.engine->noteOn(static_cast<int8_t>(value), kVelocity, 0);
        if (kind == 'f') rig.engine->noteOff(static_cast<uint8_t>(value), 0);
        if (kind == 'r') rig.render(value);
    }
}

// Notes 40..51, each started in its own slice (slot k older than slot k + 1); notes 40 and
// 41 share the first slice when `tied`.
Script staggered(bool tied = false)
{
    Script steps;
    for (int32_t k = 0; k < 12; ++k) {
        steps.push_back({'n', 40 + k});
        if (!tied || k > 0) steps.push_back({'r', 64});
    }
    return steps;
}

Script operator+(Script a, const Script& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(VoiceAllocation, NextNoteTakesAFreeVoiceElseStealsTheOldestReleasedElseTheOldest)
{
    struct Case { const char* name; Script steps; int32_t slot; } const cases[] = {
        {"free slot before stealing", {{'n', 40}, {'r', 64}, {'n', 41}, {'r', 64}}, 2},
        {"oldest held voice", staggered(), 0},
        {"equal age goes to the higher slot", staggered(true), 1},
        {"released before older held", staggered() + Script{{'f', 45}, {'r', 64}}, 5},
        {"oldest of two released", staggered() + Script{{'f', 47}, {'r', 64}, {'f', 43}, {'r', 64}}, 3},
        {"released in slot 0, younger than the held", staggered() + Script{{'f', 40}, {'r', 64}, {'n', 52}, {'r', 64},
                                                                              {'f', 52}, {'r', 64}}, 0},
        {"equal age released goes to the higher slot", staggered(true) + Script{{'f', 40}, {'f', 41}, {'r', 64}}, 1},
        {"a pending release is not yet released", staggered() + Script{{'f', 45}}, 0},
    };
    EngineRig rig;
    for (const Case& c : cases) {
        rig.engine->reset();
        rig.engine->setPolyphony(12);
        play(rig, c.steps);
        rig.engine->noteOn(100, kVelocity, 0);
        for (int32_t k = 0; k < 12; ++k) EXPECT_EQ(rig.engine->voices[k].note == 100, k == c.slot) << c.name << k;
        EXPECT_EQ(rig.engine->voices[c.slot].age, 0u) << c.name;
    }
}

// A stolen voice keeps its phases and level: its new note starts without a click.
// A free voice starts its oscillators at phase 0.
TEST(VoiceAllocation, StolenVoiceContinuesFreeVoiceStartsAtPhaseZero)
{
    EngineRig rig;
    rig.engine->setPolyphony(1);
    play(rig, {{'n', 60}, {'r', 1000}});
    const VoiceState before = rig.engine->voices[0];
    rig.engine->noteOn(67, kVelocity, 0);
    const VoiceState& after = rig.engine->voices[0];
    EXPECT_EQ(after.osc1Phase, before.osc1Phase);
    EXPECT_EQ(after.osc2Phase, before.osc2Phase);
    EXPECT_EQ(after.osc3Phase, 0u);
    rig.render(1);
    EXPECT_NEAR(after.ampLevel, before.ampLevel, 1e-6f) << "the attack resumes from the old level";
    rig.engine->setPolyphony(2);
    rig.engine->noteOn(72, kVelocity, 0);
    EXPECT_EQ(rig.engine->voices[1].osc1Phase, 0u);
    EXPECT_EQ(rig.engine->voices[1].osc2Phase, 0u);
}

TEST(VoiceAllocation, VoiceModeOneSecondNoteStealsBothLayersOfTheFirst)
{
    EngineRig rig;
    rig.set(kParamVoiceMode, 0.5f);
    rig.engine->setPolyphony(2);
    for (uint8_t layer : {0, 1}) rig.engine->noteOn(60, kVelocity, layer);
    rig.render(256);
    for (uint8_t layer : {0, 1}) rig.engine->noteOn(64, kVelocity, layer);
    EXPECT_EQ(rig.engine->voices[0].note, 64);
    EXPECT_EQ(rig.engine->voices[1].note, 64);
    EXPECT_NE(rig.engine->voices[0].layer, rig.engine->voices[1].layer);
}

TEST(VoiceAllocation, NoteOffReleasesTheSharedEnvelopeOnlyWhenNoKeyIsHeld)
{
    EngineRig rig;
    play(rig, {{'n', 60}, {'r', 256}});
    EXPECT_EQ(rig.engine->sharedEnvStage, 0);
    rig.engine->noteOff(61, 0);
    EXPECT_EQ(rig.engine->voices[0].releaseFrame, -1) << "no voice plays note 61";
    EXPECT_EQ(rig.engine->sharedEnvStage, 0) << "a key is still held";
    rig.engine->noteOff(60, 0);
    EXPECT_EQ(rig.engine->sharedEnvStage, 3);
}

TEST(VoiceAllocation, LfoSyncRestartsTheLfoOtherwiseAReusedVoiceContinues)
{
    EngineRig rig;
    for (const float sync : {0.0f, 1.0f}) {
        rig.engine->reset();
        rig.set(kParamLfoSync, sync);
        rig.engine->setPolyphony(1);
        play(rig, {{'n', 60}, {'r', 1000}});
        const uint32_t phase = rig.engine->voices[0].lfoPhase;
        ASSERT_NE(phase, 0u);
        rig.engine->noteOn(62, kVelocity, 0);
        EXPECT_EQ(rig.engine->voices[0].lfoPhase, sync > 0.5f ? 0u : phase) << "LFO-Sync " << sync;
    }
}

TEST(VoiceAllocation, ZeroVoicesRenderNothing)
{
    EngineRig rig;
    rig.engine->setPolyphony(0);
    play(rig, {{'n', 60}, {'f', 60}, {'r', 4096}});
    EXPECT_EQ(rig.engine->sharedEnvStage, 3);
    EXPECT_EQ(rms(rig.left), 0.0);
}

// A note-off before the note's first slice: that slice sounds like a held note and the
// release begins at its last frame.
TEST(ReleaseTiming, NoteOffBeforeTheFirstSliceHoldsExactlyThatSlice)
{
    EngineRig held, released;
    held.engine->noteOn(69, kVelocity, 0);
    released.engine->noteOn(69, kVelocity, 0);
    released.engine->noteOff(69, 0);
    held.render(300, 300);
    released.render(300, 300);
    EXPECT_EQ(held.left, released.left);
    const VoiceState& v = released.engine->voices[0];
    EXPECT_TRUE(v.released == 1 && v.ampStage == 3 && v.pitchEnvGate == 3 && v.releaseFrame == -1);
    held.render(held.ms(800));
    released.render(released.ms(800));
    const size_t n = held.left.size();
    EXPECT_GT(rms(held.left, n - 2000), 0.05);
    EXPECT_LT(rms(released.left, n - 2000), 1e-4);
    EXPECT_EQ(v.active, 0u);
}

TEST(ReleaseTiming, NoteOffAfterTheStartReleasesAtTheFirstFrameOfTheNextSlice)
{
    EngineRig rig;
    play(rig, {{'n', 69}, {'r', 512}, {'f', 69}});
    rig.render(1, 1);
    const VoiceState& v = rig.engine->voices[0];
    EXPECT_TRUE(v.ampStage == 3 && v.filterStage == 3 && v.released == 1);
    const float level = v.ampLevel;
    rig.render(1, 1);
    EXPECT_FLOAT_EQ(v.ampLevel, level * rig.engine->ampReleaseCoef);
}

// Note-off of the old note and note-on of the new one on the same frame, the new note
// landing on the voices just told to release: it keeps sounding.
TEST(ReleaseTiming, SameFrameLegatoKeepsTheNewNoteSounding)
{
    for (auto [mode, voices] : {std::pair{0.0f, 1}, {0.5f, 2}, {1.0f, 3}}) {  // one voice per layer
        EngineRig rig;
        rig.set(kParamVoiceMode, mode);
        rig.engine->setPolyphony(voices);
        for (int32_t k = 0; k < voices; ++k) rig.engine->noteOn(60, kVelocity, static_cast<uint8_t>(k));
        rig.render(rig.ms(200));
        const double before = rms(rig.left, rig.left.size() - 2000);
        rig.engine->noteOff(60, 0);
        for (int32_t k = 0; k < voices; ++k) rig.engine->noteOn(64, kVelocity, static_cast<uint8_t>(k));
        rig.render(rig.ms(500));
        for (int32_t k = 0; k < voices; ++k) {
            const VoiceState& v = rig.engine->voices[k];
            EXPECT_TRUE(v.note == 64 && v.active == 1 && v.released == 0 && v.ampStage != 3) << mode << " slot " << k;
        }
        EXPECT_GT(rms(rig.left, rig.left.size() - 2000), 0.5 * before) << mode;
    }
}

TEST(VoiceCount, LoweringTheCountReleasesTheVoicesAboveItAndNothingComesBack)
{
    EngineRig rig;
    rig.engine->setPolyphony(12);
    for (int8_t note = 60; note < 66; ++note) rig.engine->noteOn(note, kVelocity, 0);
    rig.render(rig.ms(100));
    rig.engine->setPolyphony(3);
    rig.render(256);
    for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(rig.engine->voices[k].released, k < 3 ? 0u : 1u) << "slot " << k;
    rig.render(rig.ms(2000));
    for (int32_t k = 3; k < 6; ++k) EXPECT_EQ(rig.engine->voices[k].active, 0u) << "slot " << k;
    rig.engine->setPolyphony(12);
    play(rig, {{'f', 60}, {'f', 61}, {'f', 62}, {'r', rig.ms(2000)}});
    EXPECT_LT(rms(rig.left, rig.left.size() - 4000), 1e-5) << "no stuck note";
}

TEST(VoiceCount, NotesAfterAResetAndARaisedCountAreNotCutShort)
{
    EngineRig rig;
    rig.engine->setPolyphony(20);
    for (int8_t note = 40; note < 60; ++note) rig.engine->noteOn(note, kVelocity, 0);
    rig.render(256);
    rig.engine->setPolyphony(4);
    rig.engine->reset();
    for (const VoiceState& v : rig.engine->voices) EXPECT_EQ(v.active, 0u);
    rig.engine->setPolyphony(20);
    for (int8_t note = 60; note < 80; ++note) rig.engine->noteOn(note, kVelocity, 0);
    rig.render(rig.ms(100));
    for (const VoiceState& v : rig.engine->voices) EXPECT_TRUE(v.active == 1 && v.released == 0);
}

}  // namespace
