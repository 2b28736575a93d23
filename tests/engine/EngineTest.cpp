// The engine object: construction, reset, program loading through the owner, its own bank.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "tests/engine/EngineRig.h"
#include "tests/engine/Listening.h"

namespace {

constexpr float kSentinel = 7.0f;  // a value no oscillator table holds

// Records each value the engine sends, the rebuild switch at that moment, and what a
// slice rendered in the middle of the load finds in Osc1's table.
class RecordingOwner : public RigOwner {
public:
    using RigOwner::RigOwner;
    void applyParameter(int32_t index, float value) override
    {
        calls.push_back({index, value});
        rebuildFlags.push_back(engine.waveRebuildEnabled);
        if (renderDuringLoad) {
            float left[4], right[4];
            float* out[2] = {left, right};
            engine.render(4, out, 1);
            tableDuringLoad.push_back(engine.osc1Table[5]);
        }
        RigOwner::applyParameter(index, value);
    }
    bool renderDuringLoad = true;
    std::vector<std::pair<int32_t, float>> calls;
    std::vector<uint32_t> rebuildFlags;
    std::vector<float> tableDuringLoad;
};

bool lineHolds(const Dravenor& e, int c, float v)
{
    return std::all_of(e.chorusLines[c], e.chorusLines[c] + kChorusLineLength, [v](float x) { return x == v; });
}

} // namespace

TEST(Engine, FreshEngineState)
{
    auto e = std::make_unique<Dravenor>();
    EXPECT_EQ(std::tuple(e->voiceCount, e->bendRange, e->glideType, e->currentProgram, e->numParams, e->lastNote),
              std::tuple(12, 3, 0, 0, 92, 60));
    for (int i = 0; i < kNumControls; ++i)
        EXPECT_EQ(e->values[i], i < kNumParams ? factoryBank[0].value[i] : i == kTagPitchWheel ? 0.5f : 0.0f) << i;
    EXPECT_EQ(e->paramTable, paramControlTable);
    // The LFO's pitch scale at 44100 Hz is the one the factory programs were voiced with.
    EXPECT_EQ(std::tuple(e->sampleRate, e->phaseIncPerHz, e->lfoPitchScale),
              std::tuple(44100.0f, float(4294967296.0 / 44100.0), 42949672.0f));
    EXPECT_EQ(std::tuple(e->sounding, e->osc1Wave, e->osc2Wave, e->waveRebuildEnabled), std::tuple(0, 0, 0, 1u));
    EXPECT_EQ(std::tuple(e->cutoffTarget, e->cutoffCurrent, e->filterResonance, e->osc1Drive),
              std::tuple(0.5f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(std::tuple(e->perVoiceFilter, e->percEnv, e->voiceMode, e->sharedEnvStage), std::tuple(0, 0, 0, 3));
    EXPECT_EQ(std::tuple(e->ampAttackMs, e->filterReleaseMs), std::tuple(0.0, 0.0));
    EXPECT_TRUE(lineHolds(*e, 0, 0.0f) && lineHolds(*e, 1, 0.0f));
    for (const VoiceState& v : e->voices) EXPECT_TRUE(v.active == 0 && v.releaseFrame == -1);
}

// The option answers are fixed, and an engine derived from this one can give its own to
// whoever holds it as the base engine.
namespace {
class OwnAnswersEngine : public Dravenor {
public:
    int32_t queryOptionA() override { return 5; }
    int32_t queryOptionB() override { return 6; }
    int32_t queryOptionC() override { return 7; }
    int32_t queryOptionD() override { return 8; }
    void setOptionValue(int32_t, float v) override { optionValue = -static_cast<int32_t>(v); }
};
} // namespace

TEST(Engine, OptionAnswersAreFixedAndADerivedEngineMayReplaceThem)
{
    auto plain = std::make_unique<Dravenor>();
    auto own = std::make_unique<OwnAnswersEngine>();
    const std::pair<Dravenor*, std::tuple<int, int, int, int, int>> cases[] = {
        {plain.get(), {1, 1, 0, 0, 3}},
        {own.get(), {5, 6, 7, 8, -3}},
    };
    for (const auto& [e, answers] : cases) {
        e->setOptionValue(9, 3.9f);
        EXPECT_EQ(std::tuple(e->queryOptionA(), e->queryOptionB(), e->queryOptionC(), e->queryOptionD(),
                             e->optionValue),
                  answers);
    }
}

// After a reset (MIDI "all sound off", a rate change, a program change) nothing sounds on:
// no voice, no chorus echo, no bass delay, no filter ringing; the first slice then takes
// distortion drive and chorus settings at once.
TEST(Engine, ResetSilencesEveryVoiceAndTail)
{
    EngineRig rig(44100.0, 0);
    rig.set({{kParamSharedFilter, 1.0f}, {kParamChorusAmount, 1.0f}, {kParamChorusFeedback, 0.9f},
             {kParamBassAmount, 1.0f}, {kParamBassSpread, 0.5f}, {kParamOutDist, 0.3f}, {kParamOutLow, 0.5f},
             {kParamOutHigh, 0.5f}, {kParamAmpRelease, 1.0f}});
    rig.engine->setPolyphony(20);
    for (int8_t note : {36, 48, 55, 64, 71, 79}) rig.engine->noteOn(note, 127, 0);
    rig.render(rig.ms(500));
    rig.engine->noteOff(36, 0);
    rig.engine->setPolyphony(4);  // every slot is cleared, not only those in use
    rig.engine->reset();
    const Dravenor& e = *rig.engine;
    EXPECT_EQ(std::tuple(e.freshAfterReset, e.sharedEnvStage, e.outDistDriveCurrent[0], e.outDistDriveCurrent[1]),
              std::tuple(1, 3, -1.0f, -1.0f));
    for (const VoiceState& v : e.voices) EXPECT_TRUE(v.active == 0 && v.releaseFrame == -1);
    EXPECT_TRUE(e.chorusWritePos[0] == 0 && e.chorusWritePos[1] == 0 && e.bassDelayPos == 0);
    const size_t from = rig.left.size();
    rig.render(rig.ms(300));
    EXPECT_EQ(rms(rig.left, from) + rms(rig.right, from), 0.0);
}

TEST(EngineProgramLoad, SendsAll82ValuesInOrderAndRebuildsWavesOnceAtTheEnd)
{
    auto e = std::make_unique<Dravenor>();
    RecordingOwner owner(*e);
    std::fill(e->osc1Table, e->osc1Table + kOscTableLength, kSentinel);
    e->setProgram(43, true);
    ASSERT_EQ(owner.calls.size(), 82u);
    for (int p = 0; p < kNumParams; ++p) {
        EXPECT_EQ(owner.calls[p], std::pair(p, factoryBank[43].value[p]));
        EXPECT_EQ(owner.rebuildFlags[p], 0u) << "rebuilding waits during the load, value " << p;
        EXPECT_EQ(owner.tableDuringLoad[p], kSentinel) << "no wave rebuilt before the end, value " << p;
    }
    EXPECT_EQ(std::tuple(e->currentProgram, e->waveRebuildEnabled), std::tuple(43, 1u));
    float left[16], right[16];
    float* out[2] = {left, right};
    e->render(16, out, 1);
    EXPECT_NE(e->osc1Table[5], kSentinel);
    EXPECT_EQ(e->sounding, 1);

    // Without apply: no reset, each wave value rebuilds at once. Numbers outside the bank are ignored.
    owner.calls.clear(), owner.rebuildFlags.clear();
    owner.renderDuringLoad = false;
    e->voices[3].active = 1;
    e->setProgram(7, false);
    EXPECT_EQ(owner.calls.size(), 82u);
    EXPECT_TRUE(std::all_of(owner.rebuildFlags.begin(), owner.rebuildFlags.end(), [](uint32_t f) { return f == 1; }));
    EXPECT_EQ(std::tuple(e->voices[3].active, e->currentProgram), std::tuple(1u, 7));
    owner.calls.clear();
    for (int program : {-1, 128, 1000, INT32_MIN}) e->setProgram(program, true);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(e->currentProgram, 7);
}

TEST(EngineProgramLoad, ChorusTailsAreKeptOnlyUnderTheTwoHosts)
{
    for (auto [imageLine, steinberg] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        auto e = std::make_unique<Dravenor>();
        RigOwner owner(*e);
        owner.imageLine = imageLine, owner.steinberg = steinberg;
        std::fill(e->chorusLines[0], e->chorusLines[0] + kChorusLineLength, 0.25f);
        std::fill(e->chorusLines[1], e->chorusLines[1] + kChorusLineLength, -0.25f);
        e->chorusWritePos[0] = e->chorusWritePos[1] = 100;
        e->voices[3].active = 1;
        e->setProgram(5, true);
        const bool kept = imageLine || steinberg;
        EXPECT_TRUE(lineHolds(*e, 0, kept ? 0.25f : 0.0f) && lineHolds(*e, 1, kept ? -0.25f : 0.0f)) << kept;
        EXPECT_TRUE(e->chorusWritePos[0] == 0 && e->chorusWritePos[1] == 0 && e->voices[3].active == 0);
        EXPECT_EQ(e->waveRebuildEnabled, 1u);
    }
}

TEST(EngineProgramLoad, WithoutOwnerTheEngineAppliesTheValuesItself)
{
    auto e = std::make_unique<Dravenor>();
    e->setProgram(34, true);  // "Voice Pad" stores 2.578 for Osc1W
    EXPECT_EQ(std::tuple(e->osc1Wave, e->bendRange), std::tuple(39, 2));
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(e->values[i], factoryBank[34].value[i]) << i;
    // Amp-Atk (8) comes before PercEnv (29), PUp-Dec (37) after it: both take the program's own.
    e->setProgram(0, true);    // PercEnv 0
    e->setProgram(127, true);  // "Init Patch": PercEnv 1
    EXPECT_EQ(e->percEnv, 1);
    EXPECT_EQ(e->ampAttackCoef, e->expTimeCoef(0.0f, 2.0f, 3000.0f, 0.1f));
    EXPECT_EQ(e->pitchUpDecayCoef, e->expTimeCoef(0.496f, 2.0f, 200.0f, 0.1f));
}

// After a sample-rate change the plug-in re-applies the stored program: edits not stored are lost.
TEST(EngineProgramLoad, ApplyAllParametersRestoresTheStoredProgram)
{
    auto e = std::make_unique<Dravenor>();
    e->setProgram(2, true);
    e->values[kParamFltCutoff] = 0.123f;
    e->setParameter(kParamOsc1Wave, 0.0f);
    e->values[kParamOsc1Wave] = 0.0f;
    e->values[kTagPitchWheel] = 0.9f;
    e->applyAllParameters();
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(e->values[i], factoryBank[2].value[i]) << i;
    EXPECT_EQ(e->values[kTagPitchWheel], 0.9f);  // editor-only entries are not program values
    EXPECT_EQ(e->osc1Wave, static_cast<int>(factoryBank[2].value[kParamOsc1Wave] * 39.99f));
    EXPECT_EQ(e->cutoffTarget, factoryBank[2].value[kParamFltCutoff]);
}

TEST(EngineProgramLoad, EachEngineHasItsOwnBank)
{
    auto e = std::make_unique<Dravenor>(), other = std::make_unique<Dravenor>();
    ProgramBank* bank = e->getPrograms();
    EXPECT_EQ(bank, &e->programs);
    EXPECT_EQ(std::memcmp(bank, &factoryBank, sizeof(ProgramBank)), 0);
    std::strcpy((*bank)[3].name, "Renamed");
    (*bank)[3].value[kParamOutGain] = 0.9f;
    EXPECT_STREQ(e->programs[3].name, "Renamed");
    EXPECT_STREQ(factoryBank[3].name, "Bottle Blow");
    EXPECT_STREQ(other->getPrograms()->program[3].name, "Bottle Blow");
    EXPECT_EQ(other->programs[3].value[kParamOutGain], factoryBank[3].value[kParamOutGain]);
}
