// The AudioEffect / AudioEffectX base classes as a host meets them: the record's
// flags, the dispatcher's routing and answers, the calls the plug-in makes to its
// host, and the text conversions.
#include <climits>
#include <functional>
#include <limits>
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
    void setProgram(int32_t program) override { programs.push_back(program); }
    bool setBypass(bool on) override { return bypass = on; }
    bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
        ++arrangementCalls;
        return AudioEffectX::getSpeakerArrangement(in, out);
    }
    int32_t processEvents(VstEvents*) override { throw std::runtime_error("no exception may reach the host"); }

    std::vector<int32_t> programs;
    int arrangementCalls = 0;
    bool bypass = false;
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

}  // namespace

class EffectBaseTest : public ScriptedHostTest {
protected:
    void SetUp() override {
        ScriptedHostTest::SetUp();
        probe = new ProbeEffect(&ScriptedHost::callback);
    }
    void TearDown() override {
        if (probe != nullptr) dispatch(effClose);
    }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = probe->getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
    ProbeEffect* probe = nullptr;
};

#define FLAG_SETTER(name) [](AudioEffectX& e, bool on) { e.name(on); }

TEST_F(EffectBaseTest, EachFlagSetterSetsAndClearsItsOwnBit) {
    const std::pair<std::function<void(AudioEffectX&, bool)>, int32_t> cases[] = {
        {FLAG_SETTER(canProcessReplacing), effFlagsCanReplacing},
        {FLAG_SETTER(canDoubleReplacing), effFlagsCanDoubleReplacing},
        {FLAG_SETTER(programsAreChunks), effFlagsProgramChunks},  {FLAG_SETTER(hasVu), effFlagsHasVu},
        {FLAG_SETTER(hasClip), effFlagsHasClip},                  {FLAG_SETTER(canMono), effFlagsCanMono},
        {FLAG_SETTER(isSynth), effFlagsIsSynth},                  {FLAG_SETTER(noTail), effFlagsNoSoundInStop},
        {FLAG_SETTER(wantAsyncOperation), effFlagsExtIsAsync},
        {FLAG_SETTER(hasExternalBuffer), effFlagsExtHasBuffer},
    };
    EXPECT_EQ(probe->getAeffect()->flags, effFlagsCanReplacing);  // a new record can replace, nothing else
    for (const auto& [set, bit] : cases) {
        const int32_t before = probe->getAeffect()->flags;
        set(*probe, true);
        EXPECT_EQ(probe->getAeffect()->flags, before | bit) << bit;
        set(*probe, false);
        EXPECT_EQ(probe->getAeffect()->flags, before & ~bit) << bit;
        set(*probe, (before & bit) != 0);
    }
}

TEST_F(EffectBaseTest, DispatcherRoutesAndAnswers) {
    struct Case {
        int32_t opcode;
        intptr_t value;
        intptr_t answer;
    };
    const Case cases[] = {
        {effIdentify, 0, 0x4E764566},      {effGetVstVersion, 0, 2400},      {effGetNumProgramCategories, 0, 0},
        {effGetErrorText, 0, 0},           {effGetPlugCategory, 0, 0},       {effCanBeAutomated, 0, 1},
        {effGetCurrentMidiProgram, 0, -1}, {effGetVu, 0, 0},                 {effEditDraw, 0, 0},
        {80, 0, 0},                        {-5, 0, 0},                       {effSetTotalSampleToProcess, 4096, 4096},
        {effGetSpeakerArrangement, 0, 0},  {effSetBypass, 256, 1},           {effEditKeyDown, 0x41, 0},
        {effProcessEvents, 0, 0},  // the plug-in throws: the host sees 0
    };
    VstEvents events{};
    for (const Case& c : cases) EXPECT_EQ(dispatch(c.opcode, 0, c.value, &events), c.answer) << c.opcode;
    EXPECT_EQ(probe->arrangementCalls, 0);
    EXPECT_TRUE(probe->bypass);  // the whole value counts, not its low byte

    // effSetProgram passes values below the program count, also negative ones: the plug-in decides.
    for (intptr_t program : {intptr_t{4}, intptr_t{1} << 33, intptr_t{3}, intptr_t{-1}}) {
        dispatch(effSetProgram, 0, program);
    }
    EXPECT_EQ(probe->programs, (std::vector<int32_t>{3, -1}));
    // Resuming (any value but 0) asks old hosts for MIDI, but only as a synth.
    dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(hostState().count(audioMasterWantMidi), 0);
    probe->isSynth(true);
    for (intptr_t value : {2, 0, 1}) dispatch(effMainsChanged, 0, value);
    EXPECT_EQ(hostState().count(audioMasterWantMidi), 2);
    EXPECT_EQ(dispatch(effGetPlugCategory), kPlugCategSynth);
}

TEST_F(EffectBaseTest, EditorKeysAndClose) {
    KeyEditor editor(probe);
    probe->setEditor(&editor);
    EXPECT_NE(probe->getAeffect()->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0x141, nullptr, 3.9f), 1);
    EXPECT_EQ(editor.last.character, 'a');
    EXPECT_EQ(editor.last.virt, 0x41);
    EXPECT_EQ(editor.last.modifier, 3);
    EXPECT_EQ(dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
    probe->setEditor(nullptr);
    EXPECT_EQ(probe->getAeffect()->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(dispatch(effClose), 1);
    probe = nullptr;
    EXPECT_EQ(ProbeEffect::alive, 0);
}

// The key modifier comes in the float opt: its whole part's low byte. A value that is no
// number, infinite or beyond int32 means no modifier (the conversion would be undefined).
TEST_F(EffectBaseTest, KeyModifierOfAnyFloat) {
    KeyEditor editor(probe);
    probe->setEditor(&editor);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::pair<float, uint8_t> cases[] = {
        {3.9f, 3},           {257.0f, 1},         {-1.0f, 0xFF},        {-0.9f, 0},
        {2147483520.0f, 0x80}, {-2147483648.0f, 0}, {2147483648.0f, 0}, {-2147483904.0f, 0},
        {3.5e31f, 0},        {nan, 0},            {inf, 0},             {-inf, 0},
    };
    for (const auto& [opt, modifier] : cases) {
        editor.last.modifier = 0x5A;
        EXPECT_EQ(dispatch(effEditKeyDown, 'a', 0x41, nullptr, opt), 1) << opt;
        EXPECT_EQ(editor.last.modifier, modifier) << opt;
    }
    probe->setEditor(nullptr);
}

// Every call to the host carries its opcode and arguments; the plug-in's answer follows the
// host's, and without a host callback each call answers its neutral value without calling.
#define HOST_CALL(expression) [&](AudioEffectX& e) { return (intptr_t)(expression); }

TEST_F(EffectBaseTest, HostCallsCarryTheirOpcodeAndArguments) {
    char text[64] = {};
    int files = 0, task = 0, select = 0;
    VstEvents events{};
    auto* file = reinterpret_cast<VstAudioFile*>(&files);
    auto* offline = reinterpret_cast<VstOfflineTask*>(&task);
    auto* selector = reinterpret_cast<VstFileSelect*>(&select);
    struct Case {
        std::function<intptr_t(AudioEffectX&)> call;
        HostCall sent;
        intptr_t whenHostSays1 = 1, whenHostSays0 = 0;
    };
    const Case cases[] = {
        {HOST_CALL(e.sendVstEventsToHost(&events)), {audioMasterProcessEvents, 0, 0, &events, 0}},
        {HOST_CALL(e.beginEdit(3)), {audioMasterBeginEdit, 3, 0, nullptr, 0}},
        {HOST_CALL(e.endEdit(4)), {audioMasterEndEdit, 4, 0, nullptr, 0}},
        {HOST_CALL(e.getTimeInfo(kVstTempoValid)), {audioMasterGetTime, 0, kVstTempoValid, nullptr, 0}},
        {HOST_CALL(e.getHostVendorString(text)), {audioMasterGetVendorString, 0, 0, text, 0}, 1, 1},
        {HOST_CALL(e.getHostProductString(text)), {audioMasterGetProductString, 0, 0, text, 0}},
        {HOST_CALL(e.hostVendorSpecific(5, 6, text, 1.5f)), {audioMasterVendorSpecific, 5, 6, text, 1.5f}},
        {HOST_CALL(e.canHostDo(text)), {audioMasterCanDo, 0, 0, text, 0}},
        {HOST_CALL(e.updateDisplay()), {audioMasterUpdateDisplay, 0, 0, nullptr, 0}},
        {HOST_CALL(e.sizeWindow(640, 480)), {audioMasterSizeWindow, 640, 480, nullptr, 0}},
        {HOST_CALL(e.openFileSelector(selector)), {audioMasterOpenFileSelector, 0, 0, selector, 0}},
        {HOST_CALL(e.offlineStart(file, 2, 1)), {audioMasterOfflineStart, 1, 2, file, 0}},
        {HOST_CALL(e.offlineRead(offline, 3, true)), {audioMasterOfflineRead, 1, 3, offline, 0}},
        {HOST_CALL(e.offlineGetCurrentPass()), {audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0}},
        {HOST_CALL(e.isInputConnected(2)), {audioMasterPinConnected, 2, 0, nullptr, 0}, 0, 1},
        {HOST_CALL(e.isOutputConnected(1)), {audioMasterPinConnected, 1, 1, nullptr, 0}, 0, 1},
        {HOST_CALL((e.setParameterAutomated(2, 0.25f), 0)), {audioMasterAutomate, 2, 0, nullptr, 0.25f}, 0, 0},
    };
    ProbeEffect orphan(nullptr);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        for (intptr_t answer : {1, 0}) {
            hostState().answer = answer;
            hostState().calls.clear();
            EXPECT_EQ(c.call(*probe), answer == 1 ? c.whenHostSays1 : c.whenHostSays0) << "case " << i;
            EXPECT_EQ(hostState().calls, std::vector<HostCall>{c.sent}) << "case " << i;
        }
        // Without a host an unconnected pin counts as connected.
        EXPECT_EQ(c.call(orphan), c.sent.opcode == audioMasterPinConnected ? 1 : 0) << "case " << i;
    }
    hostState().answer = 2;  // only an answer of exactly 1 means the host took the events
    EXPECT_FALSE(probe->sendVstEventsToHost(&events));
    EXPECT_FALSE(probe->openFileSelector(nullptr));
    // Rate, block size and version keep their own values when the host does not know.
    hostState().answer = 0;
    EXPECT_EQ(probe->updateSampleRate(), 44100.0);
    EXPECT_EQ(probe->updateBlockSize(), 1024);
    EXPECT_EQ(orphan.getMasterVersion(), 1);
    hostState().answer = 48000;
    EXPECT_EQ(probe->updateSampleRate(), 48000.0);
    EXPECT_EQ(probe->getMasterVersion(), 2400);
}

// A plug-in's own function of that name hides the event wrapper without replacing it: code that
// holds the plug-in as an AudioEffectX still reaches the host.
namespace {
class OwnEventSender : public ProbeEffect {
public:
    using ProbeEffect::ProbeEffect;
    bool sendVstEventsToHost(VstEvents*) { return false; }
};
}  // namespace

TEST_F(EffectBaseTest, EventsSentThroughTheBaseReachTheHost) {
    OwnEventSender own(&ScriptedHost::callback);
    AudioEffectX& base = own;
    VstEvents events{};
    hostState().answer = 1;
    EXPECT_TRUE(base.sendVstEventsToHost(&events));
    EXPECT_EQ(hostState().count(audioMasterProcessEvents), 1);
}

TEST_F(EffectBaseTest, SpeakerArrangementsHoldMoreThanEightSpeakers) {
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

TEST_F(EffectBaseTest, TextConversions) {
    enum Kind { kFloat, kInt, kDecibel, kHertz, kMilliseconds };
    struct Case {
        Kind kind;
        double value;
        int32_t maxLen;
        const char* text;
    };
    const Case cases[] = {
        {kFloat, 3.25, 8, "3.250000"},  {kFloat, -1.5, 8, "-1.50000"},  {kFloat, 0.0, 8, "0.000000"},
        {kFloat, 123.5, 8, "123.5000"}, {kFloat, 1e9, 8, "Huge!"},      {kFloat, -1e8, 8, "Huge!"},
        {kFloat, 3.25, 4, "3.25"},      {kDecibel, 0.0, 8, "-oo"},      {kDecibel, 1.0, 8, "0.000000"},
        {kHertz, 0.0, 8, "0.000000"},   {kHertz, 441.0, 8, "100.0000"}, {kMilliseconds, 4410.0, 8, "100.0000"},
        // Integers: the whole magnitude, "Huge!" from 100000000 on, at most maxLen characters.
        {kInt, 0, 10, "0"},             {kInt, 7, 10, "7"},             {kInt, -7, 10, "-7"},
        {kInt, 99999999, 10, "99999999"}, {kInt, 100000000, 10, "Huge!"}, {kInt, -123456789, 12, "-123456789"},
        {kInt, INT32_MIN, 12, "-2147483648"}, {kInt, -123456789, 4, "-123"},
    };
    for (const Case& c : cases) {
        char text[24];
        std::memset(text, 'x', sizeof(text));
        const auto f = static_cast<float>(c.value);
        switch (c.kind) {
            case kFloat: probe->float2string(f, text, c.maxLen); break;
            case kInt: probe->int2string(static_cast<int32_t>(c.value), text, c.maxLen); break;
            case kDecibel: probe->dB2string(f, text, c.maxLen); break;
            case kHertz: probe->Hz2string(f, text, c.maxLen); break;
            case kMilliseconds: probe->ms2string(f, text, c.maxLen); break;
        }
        EXPECT_STREQ(text, c.text) << c.kind << " " << c.value;
    }
}
