// The AudioEffect / AudioEffectX base classes through their AEffect record:
// routing, bounds, defaults, host wrappers and text conversions.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "SynthUnitSupport.h"
#include "plugin/AudioEffectX.h"

namespace {

// A plug-in that records what the base routes to it.
class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host) : AudioEffectX(host, 4, 3) { ++alive; }
    ~ProbeEffect() override { --alive; }

    void processReplacing(float**, float**, int32_t) override {}
    void getParameterLabel(int32_t, char* label) override { label[0] = '\0'; }
    void getParameterDisplay(int32_t, char* text) override { text[0] = '\0'; }
    void setProgram(int32_t program) override {
        programs.push_back(program);
        AudioEffectX::setProgram(program);
    }
    void resume() override {
        ++resumes;
        AudioEffectX::resume();
    }
    void suspend() override { ++suspends; }
    bool setBypass(bool on) override {
        bypass = on;
        return true;
    }
    bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
        ++arrangementCalls;
        return AudioEffectX::getSpeakerArrangement(in, out);
    }
    int32_t processEvents(VstEvents*) override {
        if (throwFromEvents) throw std::runtime_error("boom");
        return 1;
    }

    std::vector<int32_t> programs;
    int resumes = 0, suspends = 0, arrangementCalls = 0;
    bool bypass = false, throwFromEvents = false;
    static inline int alive = 0;
};

class KeyEditor : public AEffEditor {
public:
    using AEffEditor::AEffEditor;
    bool onKeyDown(VstKeyCode& key) override {
        last = key;
        return true;
    }
    VstKeyCode last{};
};

intptr_t dispatch(AudioEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
    AEffect* e = effect->getAeffect();
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

}  // namespace

class EffectBaseTest : public ScriptedHostTest {
protected:
    void SetUp() override {
        ScriptedHostTest::SetUp();
        probe = new ProbeEffect(&ScriptedHost::callback);
    }
    void TearDown() override {
        if (probe != nullptr) dispatch(probe, effClose);
    }
    ProbeEffect* probe = nullptr;
};

TEST_F(EffectBaseTest, RecordStartsWithTheBaseValues) {
    AEffect* e = probe->getAeffect();
    EXPECT_EQ(e->magic, kEffectMagic);
    EXPECT_EQ(e->numPrograms, 4);
    EXPECT_EQ(e->numParams, 3);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->uniqueID, vstFourChar('N', 'o', 'E', 'f'));
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->object, static_cast<AudioEffect*>(probe));
    EXPECT_EQ(probe->getSampleRate(), 44100.0f);
    EXPECT_EQ(probe->getBlockSize(), 1024);
}

TEST_F(EffectBaseTest, SetProgramBoundIsTheProgramCountOnly) {
    dispatch(probe, effSetProgram, 0, 4);
    dispatch(probe, effSetProgram, 0, intptr_t{1} << 33);
    dispatch(probe, effSetProgram, 0, 3);
    dispatch(probe, effSetProgram, 0, -1);  // passes; the plug-in decides
    EXPECT_EQ(probe->programs, (std::vector<int32_t>{3, -1}));
}

TEST_F(EffectBaseTest, MainsChangedResumesOnAnyNonZeroValue) {
    dispatch(probe, effMainsChanged, 0, 2);
    dispatch(probe, effMainsChanged, 0, 0);
    EXPECT_EQ(probe->resumes, 1);
    EXPECT_EQ(probe->suspends, 1);
}

TEST_F(EffectBaseTest, ResumeOfASynthAsksForMidi) {
    dispatch(probe, effMainsChanged, 0, 1);
    EXPECT_EQ(hostState().count(audioMasterWantMidi), 0);
    probe->isSynth(true);
    dispatch(probe, effMainsChanged, 0, 1);
    EXPECT_EQ(hostState().count(audioMasterWantMidi), 1);
    EXPECT_EQ(dispatch(probe, effGetPlugCategory), kPlugCategSynth);
}

TEST_F(EffectBaseTest, FixedAnswers) {
    struct Case {
        int32_t opcode;
        intptr_t answer;
    };
    const Case cases[] = {{effIdentify, 0x4E764566}, {effGetVstVersion, 2400}, {effGetNumProgramCategories, 0},
                          {effGetErrorText, 0},       {effGetSpeakerArrangement, 0}, {effGetPlugCategory, 0},
                          {effCanBeAutomated, 1},     {effGetCurrentMidiProgram, -1}, {effGetVu, 0},
                          {effEditDraw, 0},           {80, 0},                    {-5, 0},
                          {effSetTotalSampleToProcess, 0}};
    for (const Case& c : cases) EXPECT_EQ(dispatch(probe, c.opcode), c.answer) << c.opcode;
    EXPECT_EQ(dispatch(probe, effSetTotalSampleToProcess, 0, 4096), 4096);
    EXPECT_EQ(probe->arrangementCalls, 0);
}

TEST_F(EffectBaseTest, BypassTestsTheWholeValue) {
    EXPECT_EQ(dispatch(probe, effSetBypass, 0, 256), 1);
    EXPECT_TRUE(probe->bypass);
    dispatch(probe, effSetBypass, 0, 0);
    EXPECT_FALSE(probe->bypass);
}

TEST_F(EffectBaseTest, EditorOpcodesNeedAnEditor) {
    EXPECT_EQ(dispatch(probe, effEditKeyDown, 'a', 0x41, nullptr, 3.9f), 0);
    KeyEditor editor(probe);
    probe->setEditor(&editor);
    EXPECT_NE(probe->getAeffect()->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(dispatch(probe, effEditKeyDown, 'a', 0x141, nullptr, 3.9f), 1);
    EXPECT_EQ(editor.last.character, 'a');
    EXPECT_EQ(editor.last.virt, 0x41);
    EXPECT_EQ(editor.last.modifier, 3);
    EXPECT_EQ(dispatch(probe, effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
    probe->setEditor(nullptr);
    EXPECT_EQ(probe->getAeffect()->flags & effFlagsHasEditor, 0);
}

TEST_F(EffectBaseTest, CloseThroughTheRecordDeletesTheObject) {
    EXPECT_EQ(ProbeEffect::alive, 1);
    EXPECT_EQ(dispatch(probe, effClose), 1);
    probe = nullptr;
    EXPECT_EQ(ProbeEffect::alive, 0);
}

TEST_F(EffectBaseTest, NoExceptionReachesTheHost) {
    probe->throwFromEvents = true;
    VstEvents events{};
    EXPECT_EQ(dispatch(probe, effProcessEvents, 0, 0, &events), 0);
}

TEST_F(EffectBaseTest, HostWrappers) {
    hostState().sampleRateAnswer = 0;
    EXPECT_EQ(probe->updateSampleRate(), 44100.0);
    hostState().sampleRateAnswer = 48000;
    EXPECT_EQ(probe->updateSampleRate(), 48000.0);
    EXPECT_EQ(probe->getMasterVersion(), 2400);
    EXPECT_FALSE(probe->sizeWindow(640, 480));
    EXPECT_EQ(hostState().sent.back(), (std::pair<int32_t, intptr_t>{640, 480}));
    EXPECT_FALSE(probe->openFileSelector(nullptr));
    probe->setParameterAutomated(2, 0.25f);
    EXPECT_EQ(hostState().automations, (std::vector<std::pair<int32_t, float>>{{2, 0.25f}}));

    ProbeEffect orphan(nullptr);
    EXPECT_EQ(orphan.getMasterVersion(), 1);
    EXPECT_EQ(orphan.getTimeInfo(kVstTempoValid), nullptr);
    EXPECT_FALSE(orphan.beginEdit(3));
    EXPECT_TRUE(orphan.isInputConnected(0));
    EXPECT_EQ(orphan.updateBlockSize(), 1024);
}

TEST_F(EffectBaseTest, SpeakerArrangements) {
    VstSpeakerArrangement* from = nullptr;
    ASSERT_TRUE(probe->allocateArrangement(&from, 12));
    from->type = 5;
    VstSpeakerProperties* fromSpeakers = from->speakers;  // 12 of them, beyond the declared 8
    std::strcpy(fromSpeakers[11].name, "Rear");
    fromSpeakers[11].azimuth = 1.5f;
    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE(probe->matchArrangement(&to, from));
    EXPECT_EQ(to->numChannels, 12);
    EXPECT_EQ(to->type, 5);
    VstSpeakerProperties* toSpeakers = to->speakers;
    EXPECT_STREQ(toSpeakers[11].name, "Rear");
    EXPECT_EQ(toSpeakers[11].azimuth, 1.5f);
    EXPECT_FALSE(probe->matchArrangement(&to, nullptr));
    EXPECT_TRUE(probe->deallocateArrangement(&to));
    EXPECT_EQ(to, nullptr);
    EXPECT_TRUE(probe->deallocateArrangement(&from));
}

TEST_F(EffectBaseTest, FloatToStringWritesEightCharacters) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {{3.25f, "3.250000"}, {-1.5f, "-1.50000"}, {0.0f, "0.000000"},
                          {123.5f, "123.5000"}, {1e9f, "Huge!"},    {-1e8f, "Huge!"}};
    for (const Case& c : cases) {
        char text[16];
        probe->float2string(c.value, text, 8);
        EXPECT_STREQ(text, c.text) << c.value;
    }
    char shortText[8];
    probe->float2string(3.25f, shortText, 4);
    EXPECT_STREQ(shortText, "3.25");
}

TEST_F(EffectBaseTest, IntToString) {
    struct Case {
        int32_t value;
        const char* text;
    };
    const Case cases[] = {{42, "42"}, {-7, "-7"}, {0, ""}, {1000, "1000"}, {100000000, "Huge!"}, {99999999, "99999999"}};
    for (const Case& c : cases) {
        char text[16];
        probe->int2string(c.value, text, 10);
        EXPECT_STREQ(text, c.text) << c.value;
    }
}

TEST_F(EffectBaseTest, DecibelHertzAndMilliseconds) {
    char text[16];
    probe->dB2string(0.0f, text, 8);
    EXPECT_STREQ(text, "-oo");
    probe->dB2string(1.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    probe->Hz2string(0.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    probe->Hz2string(441.0f, text, 8);
    EXPECT_STREQ(text, "100.0000");
    probe->ms2string(4410.0f, text, 8);
    EXPECT_STREQ(text, "100.0000");
}
