// The engine object: construction, reset, program loading through the owner,
// voice count, pitch bend and per-engine state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/Dravenor.h"

namespace {

constexpr float kSentinel = 7.0f;  // a value no oscillator table holds

// Stands in for the plug-in: stores, applies and records every value it is given.
class FakeOwner : public EngineOwner {
public:
    explicit FakeOwner(Dravenor& e) : engine(e) { engine.setOwner(this); }

    void applyParameter(int32_t index, float value) override
    {
        calls.push_back({index, value});
        rebuildFlags.push_back(engine.waveRebuildEnabled);
        if (renderDuringLoad) {
            // A slice rendered in the middle of the load shows whether the waves were rebuilt yet.
            float left[4], right[4];
            float* out[2] = {left, right};
            engine.render(4, out, 1);
            tableDuringLoad.push_back(engine.osc1Table[5]);
        }
        engine.values[index] = value;
        engine.setParameter(index, value);
    }
    bool isImageLineHost() const override { return imageLine; }
    bool isSteinbergHost() const override { return steinberg; }

    struct Call {
        int32_t index;
        float value;
    };
    Dravenor& engine;
    bool imageLine = false, steinberg = false;
    bool renderDuringLoad = false;
    std::vector<Call> calls;
    std::vector<uint32_t> rebuildFlags;
    std::vector<float> tableDuringLoad;
};

void renderSlice(Dravenor& engine, int frames = 16)
{
    std::vector<float> left(frames), right(frames);
    float* out[2] = {left.data(), right.data()};
    engine.render(frames, out, 1);
}

void fillChorusLines(Dravenor& engine)
{
    std::fill(engine.chorusLines[0], engine.chorusLines[0] + kChorusLineLength, 0.25f);
    std::fill(engine.chorusLines[1], engine.chorusLines[1] + kChorusLineLength, -0.25f);
    engine.chorusWritePos[0] = engine.chorusWritePos[1] = 100;
}

bool allEqual(const float* line, float v)
{
    return std::all_of(line, line + kChorusLineLength, [v](float x) { return x == v; });
}

} // namespace

TEST(EngineConstruction, FreshEngineState)
{
    Dravenor engine;
    EXPECT_EQ(engine.voiceCount, 12);
    EXPECT_EQ(engine.bendRange, 3);
    EXPECT_EQ(engine.glideType, 0);
    EXPECT_EQ(engine.currentProgram, 0);
    EXPECT_EQ(engine.numParams, 92);
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(engine.values[i], factoryBank[0].value[i]) << i;
    for (int i = kNumParams; i < kNumControls; ++i)
        EXPECT_EQ(engine.values[i], i == kTagPitchWheel ? 0.5f : 0.0f) << i;
    EXPECT_EQ(engine.paramTable, paramControlTable);
    EXPECT_EQ(engine.waveRebuildEnabled, 1u);
    EXPECT_EQ(engine.cutoffTarget, 0.5f);
    EXPECT_EQ(engine.cutoffCurrent, 0.5f);
    EXPECT_EQ(engine.filterResonance, 0.5f);
    EXPECT_EQ(engine.lastNote, 60);
    EXPECT_EQ(engine.osc1Wave, 0);
    EXPECT_EQ(engine.osc2Wave, 0);
    EXPECT_EQ(engine.sounding, 0);
    EXPECT_EQ(engine.osc1Drive, 1.0f);
    EXPECT_EQ(engine.perVoiceFilter, 0);
    EXPECT_EQ(engine.percEnv, 0);
    EXPECT_EQ(engine.chorusLineLength, 200000);
    EXPECT_EQ(engine.freshAfterReset, 1);
    EXPECT_EQ(engine.sharedEnvStage, 3);
    EXPECT_EQ(engine.ampAttackMs, 0.0);
    EXPECT_EQ(engine.filterReleaseMs, 0.0);
    EXPECT_FLOAT_EQ(engine.sampleRate, 44100.0f);
    EXPECT_FLOAT_EQ(engine.phaseIncPerHz, 4294967296.0f / 44100.0f);
    EXPECT_EQ(engine.lfoPitchScale, 42949672.0f);
    EXPECT_TRUE(allEqual(engine.chorusLines[0], 0.0f));
    EXPECT_TRUE(std::all_of(engine.bassDelayLine, engine.bassDelayLine + kBassDelayLineLength,
                            [](float x) { return x == 0.0f; }));
    for (int i = 0; i < kMaxVoices; ++i) {
        EXPECT_EQ(engine.voices[i].active, 0u) << i;
        EXPECT_EQ(engine.voices[i].releaseFrame, -1) << i;
    }
}

TEST(EngineConstruction, SmallQueries)
{
    Dravenor engine;
    EXPECT_EQ(engine.queryOptionA(), 1);
    EXPECT_EQ(engine.queryOptionB(), 1);
    EXPECT_EQ(engine.queryOptionC(), 0);
    EXPECT_EQ(engine.queryOptionD(), 0);
    engine.setOptionValue(5, 3.9f);
    EXPECT_EQ(engine.optionValue, 3);
    engine.setOptionValue(0, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(engine.optionValue, 0);
    engine.setPitchBend(-384);
    EXPECT_EQ(engine.pitchBend, -384.0f);
}

TEST(EnginePolyphony, CountsAboveTwentyAreIgnored)
{
    struct Case {
        int asked, expected;
    };
    const Case cases[] = {{20, 20}, {21, 20}, {1, 1}, {1000, 1}, {0, 0}, {-3, -3}, {12, 12}};
    Dravenor engine;
    for (const Case& c : cases) {
        engine.setPolyphony(c.asked);
        EXPECT_EQ(engine.voiceCount, c.expected) << c.asked;
    }
}

TEST(EngineReset, ClearsSoundStateAndMarksVoicesInUse)
{
    Dravenor engine;
    engine.setPolyphony(5);
    engine.voices[2].active = 1;
    engine.voices[2].ampLevel = 0.5f;
    engine.voices[15].releaseFrame = 7;
    engine.outputState[1].gain = 2.0f;
    engine.bassState[0].low1 = 0.3f;
    engine.chorusState[1].delay = 99.0f;
    engine.sharedFilterState.low2 = 0.4f;
    engine.sharedEnvStage = 1;
    engine.sharedLfoStage = 2;
    engine.freshAfterReset = 0;
    engine.outDistDriveCurrent[0] = 5.0f;
    engine.bassDelayLine[9599] = 1.0f;
    engine.bassDelayPos = 50;
    fillChorusLines(engine);
    engine.reset();
    for (int i = 0; i < kMaxVoices; ++i) {
        EXPECT_EQ(engine.voices[i].active, 0u) << i;
        EXPECT_EQ(engine.voices[i].ampLevel, 0.0f) << i;
        EXPECT_EQ(engine.voices[i].releaseFrame, -1) << i;  // all 20, not only those in use
    }
    EXPECT_EQ(engine.outputState[1].gain, 0.0f);
    EXPECT_EQ(engine.bassState[0].low1, 0.0f);
    EXPECT_EQ(engine.chorusState[1].delay, 0.0f);
    EXPECT_EQ(engine.sharedFilterState.low2, 0.0f);
    EXPECT_EQ(engine.sharedEnvStage, 3);
    EXPECT_EQ(engine.sharedLfoStage, 0);
    EXPECT_EQ(engine.freshAfterReset, 1);
    EXPECT_EQ(engine.outDistDriveCurrent[0], -1.0f);
    EXPECT_EQ(engine.outDistDriveCurrent[1], -1.0f);
    EXPECT_EQ(engine.bassDelayLine[9599], 0.0f);
    EXPECT_EQ(engine.bassDelayPos, 0);
    EXPECT_TRUE(allEqual(engine.chorusLines[0], 0.0f));
    EXPECT_TRUE(allEqual(engine.chorusLines[1], 0.0f));
    EXPECT_EQ(engine.chorusWritePos[0], 0);
}

TEST(EngineReset, ClearsPendingReleasesOfEverySlot)
{
    Dravenor engine;
    engine.setPolyphony(-4);
    engine.reset();
    for (const VoiceState& v : engine.voices) EXPECT_EQ(v.releaseFrame, -1);
}

TEST(EngineProgramLoad, SendsAll82ValuesInOrderAndRebuildsWavesOnceAtTheEnd)
{
    Dravenor engine;
    FakeOwner owner(engine);
    owner.renderDuringLoad = true;
    std::fill(engine.osc1Table, engine.osc1Table + kOscTableLength, kSentinel);
    engine.setProgram(43, true);
    ASSERT_EQ(owner.calls.size(), 82u);
    for (int p = 0; p < kNumParams; ++p) {
        EXPECT_EQ(owner.calls[p].index, p);
        EXPECT_EQ(owner.calls[p].value, factoryBank[43].value[p]) << p;
        EXPECT_EQ(owner.rebuildFlags[p], 0u) << "wave rebuilding suspended during the load, value " << p;
        EXPECT_EQ(owner.tableDuringLoad[p], kSentinel) << "no wave rebuilt before the end, value " << p;
    }
    EXPECT_EQ(engine.currentProgram, 43);
    EXPECT_EQ(engine.waveRebuildEnabled, 1u);
    renderSlice(engine);
    EXPECT_NE(engine.osc1Table[5], kSentinel);  // rebuilt once the load was complete
    EXPECT_EQ(engine.sounding, 1);
}

TEST(EngineProgramLoad, ChorusLinesKeptOnlyUnderTheTwoHosts)
{
    struct Case {
        bool imageLine, steinberg, kept;
    };
    const Case cases[] = {{false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
    for (const Case& c : cases) {
        Dravenor engine;
        FakeOwner owner(engine);
        owner.imageLine = c.imageLine;
        owner.steinberg = c.steinberg;
        fillChorusLines(engine);
        engine.voices[3].active = 1;
        engine.voices[3].ampLevel = 0.7f;
        engine.setProgram(5, true);
        EXPECT_EQ(allEqual(engine.chorusLines[0], 0.25f), c.kept) << c.imageLine << c.steinberg;
        EXPECT_EQ(allEqual(engine.chorusLines[1], -0.25f), c.kept) << c.imageLine << c.steinberg;
        if (!c.kept) {
            EXPECT_TRUE(allEqual(engine.chorusLines[0], 0.0f));
            EXPECT_TRUE(allEqual(engine.chorusLines[1], 0.0f));
        }
        EXPECT_EQ(engine.chorusWritePos[0], 0);
        EXPECT_EQ(engine.chorusWritePos[1], 0);
        for (const VoiceState& v : engine.voices) EXPECT_EQ(v.active, 0u);
        EXPECT_EQ(engine.waveRebuildEnabled, 1u);
    }
}

TEST(EngineProgramLoad, WithoutApplyNoResetAndWavesRebuildAtOnce)
{
    Dravenor engine;
    FakeOwner owner(engine);
    engine.voices[3].active = 1;
    engine.setProgram(7, false);
    EXPECT_EQ(owner.calls.size(), 82u);
    for (uint32_t flag : owner.rebuildFlags) EXPECT_EQ(flag, 1u);
    EXPECT_EQ(engine.voices[3].active, 1u);
    EXPECT_EQ(engine.currentProgram, 7);
}

TEST(EngineProgramLoad, ProgramNumbersOutsideTheBankAreIgnored)
{
    Dravenor engine;
    FakeOwner owner(engine);
    for (int program : {-1, 128, 1000, INT32_MIN}) engine.setProgram(program, true);
    EXPECT_TRUE(owner.calls.empty());
    EXPECT_EQ(engine.currentProgram, 0);
}

TEST(EngineProgramLoad, WithoutOwnerTheEngineAppliesTheValuesItself)
{
    Dravenor engine;
    engine.setProgram(34, true);  // "Voice Pad" stores 2.578 for Osc1W
    EXPECT_EQ(engine.values[kParamOsc1Wave], 2.578f);
    EXPECT_EQ(engine.osc1Wave, 39);
    EXPECT_EQ(engine.bendRange, 2);
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(engine.values[i], factoryBank[34].value[i]) << i;
}

TEST(EngineProgramLoad, PercEnvOrderFollowsTheLoadOrder)
{
    // Amp-Atk (8) is converted before PercEnv (29), PUp-Dec (37) after it.
    Dravenor engine;
    engine.setProgram(0, true);           // PercEnv 0
    engine.setProgram(127, true);         // "Init Patch": PercEnv 1
    EXPECT_EQ(engine.percEnv, 1);
    EXPECT_EQ(engine.ampAttackCoef, engine.expTimeCoef(0.0f, 6.0f, 3500.0f, 0.1f));
    EXPECT_EQ(engine.pitchUpDecayCoef, engine.expTimeCoef(0.496f, 2.0f, 200.0f, 0.1f));
}

TEST(EngineProgramLoad, ApplyAllParametersRestoresTheStoredProgram)
{
    Dravenor engine;
    engine.setProgram(2, true);
    engine.values[kParamFltCutoff] = 0.123f;
    engine.setParameter(kParamOsc1Wave, 0.0f);
    engine.values[kParamOsc1Wave] = 0.0f;
    engine.values[kTagPitchWheel] = 0.9f;
    engine.applyAllParameters();
    for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(engine.values[i], factoryBank[2].value[i]) << i;
    EXPECT_EQ(engine.values[kTagPitchWheel], 0.9f);  // editor-only entries are not program values
    EXPECT_EQ(engine.osc1Wave, static_cast<int>(factoryBank[2].value[kParamOsc1Wave] * 39.99f));
    EXPECT_EQ(engine.cutoffTarget, factoryBank[2].value[kParamFltCutoff]);
}

TEST(EnginePrograms, EachEngineHasItsOwnBank)
{
    Dravenor engine;
    ProgramBank* bank = engine.getPrograms();
    EXPECT_EQ(bank, &engine.programs);
    EXPECT_EQ(std::memcmp(bank, &factoryBank, sizeof(ProgramBank)), 0);
    std::strcpy((*bank)[3].name, "Renamed");
    (*bank)[3].value[kParamOutGain] = 0.9f;
    EXPECT_STREQ(engine.programs[3].name, "Renamed");
    EXPECT_STREQ(factoryBank[3].name, "Bottle Blow");
    Dravenor other;
    EXPECT_STREQ(other.getPrograms()->program[3].name, "Bottle Blow");
    EXPECT_EQ(other.programs[3].value[kParamOutGain], factoryBank[3].value[kParamOutGain]);
}
