// VstXSynth linked in and driven directly: what the host cannot see from outside —
// construction and teardown with the editor, the host switches, the change list
// toward an open editor, key lights, voice layers, the editor's pitch wheel, stored
// program names and the editor-size setting.
#include <set>

#include "ModuleHost.h"
#include "SynthUnitSupport.h"
#include "platform/Registry.h"

namespace {

struct Synth {
    explicit Synth(EditorFactory factory = &RecordingEditor::make)
        : object(new VstXSynth(&ScriptedHost::callback, factory)) {}
    ~Synth() {
        if (object != nullptr) dispatch(effClose);
    }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0) {
        AEffect* e = object->getAeffect();
        intptr_t answer = e->dispatcher(e, opcode, index, value, ptr, opt);
        if (opcode == effClose) object = nullptr;
        return answer;
    }
    void openEditor() { dispatch(effEditOpen, 0, 0, this); }
    void process(std::vector<VstMidiEvent> events) {
        for (VstMidiEvent& event : events) {
            VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&event)}};
            object->processEvents(&list);
        }
        float left[64], right[64];
        float* outs[2] = {left, right};
        object->processReplacing(nullptr, outs, 64);
    }
    RecordingEditor* editor() { return dynamic_cast<RecordingEditor*>(object->getEditor()); }
    Dravenor& engine() { return object->getEngine(); }
    // Drains the change list like the editor's idle step; answers the indexes read.
    std::vector<int32_t> consume() {
        std::vector<int32_t> indexes;
        ParamChange change{};
        while (object->getParamChanges().takeNext(change)) indexes.push_back(change.index);
        return indexes;
    }
    int32_t allocatedNodes() { return object->getParamChanges().allocatedNodes(); }

    VstXSynth* object;
};

}  // namespace

class SynthTest : public ScriptedHostTest {
protected:
    ScopedSettingsFolder settings;
};

TEST_F(SynthTest, LifecycleWithAndWithoutAHost) {
    // Without a host callback the base's record stays; the editor is made all the same.
    auto* orphan = new VstXSynth(nullptr, &RecordingEditor::make);
    AEffect* e = orphan->getAeffect();
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->uniqueID, vstFourChar('N', 'o', 'E', 'f'));
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsHasEditor);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(RecordingEditor::alive, 0);
    // Closing with the editor open and a change pending closes the editor, then frees everything.
    Synth synth;
    synth.openEditor();
    synth.object->setParameter(4, 0.5f);
    EXPECT_EQ(synth.dispatch(effClose), 1);
    EXPECT_EQ(RecordingEditor::alive, 0);
    EXPECT_FALSE(RecordingEditor::deletedWhileOpen);
}

// Only the exact vendor names set their switch; the own host's mouse wheel reaches an open editor.
TEST_F(SynthTest, HostSwitchesFollowTheExactVendorName) {
    struct Case {
        const char* vendor;
        bool own, steinberg, imageLine;
    };
    const Case cases[] = {{"Steinberg", false, true, false},       {"Image-Line", false, false, true},
                          {"Corvane Audio", true, false, false},   {"steinberg", false, false, false},
                          {"Steinberg Media", false, false, false}, {"", false, false, false}};
    const int32_t whee = vstFourChar('W', 'h', 'e', 'e');
    for (const Case& c : cases) {
        hostState().vendor = c.vendor;
        Synth synth;
        synth.dispatch(effOpen);
        EXPECT_EQ(synth.object->isOwnHost(), c.own) << c.vendor;
        EXPECT_EQ(synth.object->isSteinbergHost(), c.steinberg) << c.vendor;
        EXPECT_EQ(synth.object->isImageLineHost(), c.imageLine) << c.vendor;
        EXPECT_EQ(synth.dispatch(effVendorSpecific, whee, 0x00200010, nullptr, 1.5f), 0);  // closed
        synth.openEditor();
        synth.dispatch(effVendorSpecific, whee + 1, 0x00200010, nullptr, 1.5f);
        EXPECT_EQ(synth.dispatch(effVendorSpecific, whee, 0x00200010, nullptr, 1.5f), 0);
        const std::vector<std::pair<intptr_t, float>> wheel = {{0x00200010, 1.5f}};
        EXPECT_EQ(synth.editor()->wheels, c.own ? wheel : decltype(wheel){}) << c.vendor;
    }
}

TEST_F(SynthTest, ChangeListFeedsOnlyAnOpenEditor) {
    Synth synth;
    synth.object->setParameter(3, 0.5f);
    EXPECT_EQ(synth.allocatedNodes(), 0);
    synth.openEditor();
    synth.object->setParameter(3, 0.6f);
    synth.object->setParameter(9, 0.1f);
    EXPECT_EQ(synth.consume(), (std::vector<int32_t>{3, 9}));
    // A program change sends all 82 values in order and asks for a refresh; once read, only
    // the newest node stays allocated.
    synth.dispatch(effSetProgram, 0, 4);
    std::vector<int32_t> all(82);
    for (int32_t i = 0; i < 82; ++i) all[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(synth.consume(), all);
    EXPECT_EQ(synth.editor()->refreshes, 1);
    EXPECT_EQ(synth.allocatedNodes(), 1);
    // A full list drops the node but still applies the value.
    for (int32_t i = 0; i < ParamChangeList::kPoolSize - 1; ++i) synth.object->setParameter(i % 82, 0.5f);
    synth.object->setParameter(16, 0.125f);
    EXPECT_EQ(synth.object->getParameter(16), 0.125f);
    Dravenor fresh;
    fresh.setParameter(16, 0.125f);
    EXPECT_EQ(synth.engine().cutoffTarget, fresh.cutoffTarget);
    EXPECT_TRUE(synth.object->getParamChanges().takeOverflow());
    synth.consume();
    synth.object->setParameter(2, 0.5f);  // read nodes went back to the pool
    EXPECT_EQ(synth.consume(), std::vector<int32_t>{2});
    synth.dispatch(effEditClose);
    synth.object->setParameter(3, 0.7f);
    EXPECT_TRUE(synth.consume().empty());
    // A sample-rate change applies the live values again without telling the editor.
    synth.openEditor();
    synth.dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_TRUE(synth.consume().empty());
    EXPECT_EQ(synth.editor()->refreshes, 1);
    // Without an editor there is nothing to feed.
    Synth bare(nullptr);
    EXPECT_EQ(bare.object->getAeffect()->flags & effFlagsHasEditor, 0);
    bare.dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(bare.allocatedNodes(), 0);
}

TEST_F(SynthTest, HostNotesLightKeysOnlyWhileTheEditorIsOpen) {
    Synth synth;
    synth.process({midiEvent(0, 0x90, 60, 100)});
    EXPECT_TRUE(synth.editor()->keys.empty());
    EXPECT_EQ(synth.editor()->flushes, 0);
    synth.openEditor();
    hostState().calls.clear();
    synth.process({midiEvent(0, 0x90, 62, 100), midiEvent(4, 0x80, 62, 0), midiEvent(8, 0x90, 64, 0)});
    EXPECT_EQ(synth.editor()->keys, (std::vector<std::pair<int32_t, bool>>{{62, true}, {62, false}, {64, false}}));
    EXPECT_EQ(synth.editor()->flushes, 1);
    // The block asked the host once for the tempo.
    EXPECT_EQ(hostState().calls, (std::vector<HostCall>{{audioMasterGetTime, 0, kVstTempoValid, nullptr, 0}}));
}

TEST_F(SynthTest, VoiceModeLayersVoices) {
    struct Case {
        float voiceMode, voiceCount;  // parameter values
        int voices;
    };
    for (const Case c : {Case{0.0f, 0.07f, 1}, Case{0.5f, 0.07f, 2}, Case{1.0f, 0.05f, 5}}) {
        Synth synth;
        synth.object->setParameter(kParamVoiceMode, c.voiceMode);
        synth.object->setParameter(kParamVoiceCount, c.voiceCount);
        synth.process({midiEvent(0, 0x90, 60, 100)});
        std::set<int> layers, expected;
        for (const VoiceState& voice : synth.engine().voices) {
            if (voice.note == 60 && voice.active != 0) layers.insert(voice.layer);
        }
        for (int layer = 0; layer < c.voices; ++layer) expected.insert(layer);
        EXPECT_EQ(layers, expected) << "mode " << c.voiceMode;
    }
}

TEST_F(SynthTest, EditorWheelBendsWithoutEchoAndOtherControlsOnlySet) {
    struct Case {
        float wheel;
        float bend;  // 1/128 semitone, range 3
    };
    const Case cases[] = {{0.5f, 0.0f}, {1.0f, 383.0f}, {0.0f, -384.0f}, {0.75f, 191.0f}, {2.0f, 383.0f},
                          {-1.0f, -384.0f}};
    for (const Case& c : cases) {
        Synth synth;
        synth.object->setParameter(kParamBendRange, 0.03f);  // 3 semitones
        synth.openEditor();
        synth.object->setParameterAutomated(kTagPitchWheel, c.wheel);
        EXPECT_EQ(synth.engine().pitchBend, c.bend) << c.wheel;
        // Only the wheel's own value comes back, no echo of the bend.
        EXPECT_EQ(synth.consume(), std::vector<int32_t>{kTagPitchWheel}) << c.wheel;
        synth.object->setParameterAutomated(5, 0.3f);
        EXPECT_EQ(synth.object->getParameter(5), 0.3f);
        EXPECT_EQ(synth.engine().pitchBend, c.bend) << c.wheel;
    }
    EXPECT_EQ(hostState().count(audioMasterAutomate), 0);
    EXPECT_EQ(hostState().count(audioMasterBeginEdit), 0);
}

TEST_F(SynthTest, ProgramNamesAndTheProgramsNothingCalls) {
    // A name is stored up to 31 characters; hosts read at most 23 and a NUL.
    Synth synth;
    synth.dispatch(effSetProgram, 0, 2);
    std::string forty(40, 'n');
    for (std::size_t i = 0; i < forty.size(); ++i) forty[i] = static_cast<char>('A' + i % 26);
    synth.dispatch(effSetProgramName, 0, 0, forty.data());
    EXPECT_EQ(std::string((*synth.object->getProgramBank())[2].name), forty.substr(0, 31));
    for (int32_t opcode : {effGetProgramName, effGetProgramNameIndexed}) {
        char buffer[64];
        std::memset(buffer, 0x55, sizeof(buffer));
        synth.dispatch(opcode, 2, 0, buffer);
        EXPECT_EQ(std::string(buffer), forty.substr(0, 23)) << opcode;
        EXPECT_EQ(buffer[24], 0x55) << opcode;
    }
    EXPECT_TRUE(synth.object->copyCurrentProgramTo(100));
    EXPECT_FALSE(synth.object->copyCurrentProgramTo(128));
    EXPECT_FALSE(synth.object->copyCurrentProgramTo(-1));
    EXPECT_EQ(std::string((*synth.object->getProgramBank())[100].name), forty.substr(0, 31));
    synth.object->storeProgramParameter(16, 0.01f);
    synth.object->storeProgramParameter(82, 0.5f);  // not a stored parameter
    synth.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(synth.object->getParameter(16), 0.01f);
    synth.object->sendAutomationToHost(7, 0.5f);
    EXPECT_EQ(hostState().calls.back(), (HostCall{audioMasterAutomate, 7, 0, nullptr, 0.5f}));
}

// Program names of any bytes: the host gets its own bytes back. A cut at the 31 bytes
// kept or at the 23 a host reads falls between the characters of a UTF-8 name; other
// texts are cut where the limit falls.
struct RenameCase {
    const char* name;
    const char* hostBytes;
    const char* stored;
    const char* answered;
};

const RenameCase kRenames[] = {
    {"Latin1", "Caf\xe9 Bass", "Caf\xe9 Bass", "Caf\xe9 Bass"},
    {"StrayBytes", "\xff\xfeLead \x80\xc0\xaf Pad", "\xff\xfeLead \x80\xc0\xaf Pad", "\xff\xfeLead \x80\xc0\xaf Pad"},
    {"KeptCutBeforeATwoByteCharacter", "Warm Strings for the Long Nigh\xc3\xa9 End", "Warm Strings for the Long Nigh",
     "Warm Strings for the Lo"},
    {"KeptCutBeforeAFourByteCharacter", "12345678901234567890123456789\xf0\x9f\x8e\xb9",
     "12345678901234567890123456789", "12345678901234567890123"},
    {"HostCutBeforeAFourByteCharacter", "12345678901234567890\xf0\x9f\x8e\xb9", "12345678901234567890\xf0\x9f\x8e\xb9",
     "12345678901234567890"},
    {"HostCutBetweenTwoByteCharacters", "Pad \xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9",
     "Pad \xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9",
     "Pad \xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"},
    {"NotUtf8CutByteForByte", "\xff" "23456789012345678901234567890\xc3\xa9", "\xff" "23456789012345678901234567890\xc3",
     "\xff" "2345678901234567890123"},
};

class SynthProgramName : public SynthTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(SynthProgramName, KeepsAndAnswersTheHostsBytes) {
    const RenameCase& c = GetParam();
    Synth synth;
    synth.dispatch(effSetProgram, 0, 5);
    std::string bytes = c.hostBytes;
    synth.dispatch(effSetProgramName, 0, 0, bytes.data());
    EXPECT_EQ(std::string((*synth.object->getProgramBank())[5].name), c.stored);
    for (int32_t opcode : {effGetProgramName, effGetProgramNameIndexed}) {
        char buffer[64];
        std::memset(buffer, 0x55, sizeof(buffer));
        synth.dispatch(opcode, 5, 0, buffer);
        EXPECT_EQ(std::string(buffer), c.answered) << opcode;
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SynthProgramName, ::testing::ValuesIn(kRenames),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SynthTest, UISizeIsReadFromTheRegistryAtConstruction) {
    struct Case {
        std::vector<uint8_t> stored;
        bool present;  // false: no value at all
        uint8_t expected;
    };
    const Case cases[] = {{{}, false, 1},   {{2}, true, 2}, {{0}, true, 0},
                          {{7}, true, 7},  // passed on as read; the editor limits it
                          {{2, 2}, true, 1}, {{}, true, 0}};
    for (const Case& c : cases) {
        ScopedSettingsFolder folder;
        HKEY key = nullptr;
        if (c.present) {
            RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvane Audio\\Quilm\\", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr);
            RegSetValueExA(key, "uisize", 0, REG_BINARY, c.stored.data(), static_cast<DWORD>(c.stored.size()));
            RegCloseKey(key);
        }
        EXPECT_EQ(Synth().object->uiSize, c.expected) << c.stored.size() << " " << c.present;
        EXPECT_EQ(std::filesystem::exists(folder.path() + "/Corvane Audio"), c.present);  // reading creates nothing
    }
}
