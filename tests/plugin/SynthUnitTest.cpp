// VstXSynth linked in and driven directly: the parts a host cannot see —
// construction without a host, the editor hooks, the change list toward an open
// editor, the editor's pitch wheel, the on-screen keyboard's queue and the
// editor-size setting.
#include <cmath>
#include <set>

#include "ModuleHost.h"
#include "SynthUnitSupport.h"
#include "platform/Registry.h"
#include "plugin/UISizeSetting.h"

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
    void process(std::vector<VstMidiEvent> events, int32_t frames = 64) {
        if (!events.empty()) {
            std::vector<unsigned char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
            auto* list = reinterpret_cast<VstEvents*>(storage.data());
            list->numEvents = static_cast<int32_t>(events.size());
            for (std::size_t i = 0; i < events.size(); ++i) list->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
            object->processEvents(list);
        }
        left.assign(static_cast<std::size_t>(frames), 0.0f);
        right.assign(static_cast<std::size_t>(frames), 0.0f);
        float* outs[2] = {left.data(), right.data()};
        object->processReplacing(nullptr, outs, frames);
    }
    RecordingEditor* editor() { return dynamic_cast<RecordingEditor*>(object->getEditor()); }
    // Drains the change list like the editor's idle step; answers the indexes read.
    std::vector<int32_t> consume() {
        std::vector<int32_t> indexes;
        ParamChange change{};
        while (object->getParamChanges().takeNext(change)) indexes.push_back(change.index);
        return indexes;
    }

    VstXSynth* object;
    std::vector<float> left, right;
};

}  // namespace

class SynthTest : public ScriptedHostTest {
protected:
    ScopedSettingsFolder settings;
};

TEST_F(SynthTest, ConstructionWithoutAHostKeepsTheBaseDefaults) {
    VstXSynth* synth = new VstXSynth(nullptr, &RecordingEditor::make);
    AEffect* e = synth->getAeffect();
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->uniqueID, vstFourChar('N', 'o', 'E', 'f'));
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsHasEditor);  // editor made, no synth flag
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(SynthTest, EffCloseDeletesTheObjectAndItsEditor) {
    Synth synth;
    EXPECT_EQ(RecordingEditor::alive, 1);
    EXPECT_EQ(synth.dispatch(effClose), 1);
    EXPECT_EQ(RecordingEditor::alive, 0);
}

TEST_F(SynthTest, DestroyingWithAnOpenEditorClosesItFirst) {
    Synth synth;
    int parent = 0;
    EXPECT_EQ(synth.dispatch(effEditOpen, 0, 0, &parent), 1);
    synth.object->setParameter(4, 0.5f);  // a pending change node
    synth.dispatch(effClose);
    EXPECT_EQ(RecordingEditor::alive, 0);
    EXPECT_FALSE(RecordingEditor::deletedWhileOpen);
}

TEST_F(SynthTest, OpenSetsOnlyTheExactVendorSwitch) {
    struct Case {
        const char* vendor;
        bool own, steinberg, imageLine;
    };
    const Case cases[] = {{"Steinberg", false, true, false},    {"Image-Line", false, false, true},
                          {"Corvane Audio", true, false, false}, {"steinberg", false, false, false},
                          {"Steinberg Media", false, false, false}, {"", false, false, false}};
    for (const Case& c : cases) {
        hostState().vendor = c.vendor;
        Synth synth;
        synth.dispatch(effOpen);
        EXPECT_EQ(synth.object->isOwnHost(), c.own) << c.vendor;
        EXPECT_EQ(synth.object->isSteinbergHost(), c.steinberg) << c.vendor;
        EXPECT_EQ(synth.object->isImageLineHost(), c.imageLine) << c.vendor;
    }
}

TEST_F(SynthTest, MouseWheelReachesTheEditorOnlyFromTheOwnHostWhileOpen) {
    struct Case {
        const char* vendor;
        bool open;
        int32_t code;
        bool reaches;
    };
    const int32_t whee = vstFourChar('W', 'h', 'e', 'e');
    const Case cases[] = {{"Corvane Audio", true, whee, true}, {"Corvane Audio", false, whee, false},
                          {"Corvane Audio", true, whee + 1, false}, {"Other", true, whee, false}};
    for (const Case& c : cases) {
        hostState().vendor = c.vendor;
        Synth synth;
        synth.dispatch(effOpen);
        int parent = 0;
        if (c.open) synth.dispatch(effEditOpen, 0, 0, &parent);
        EXPECT_EQ(synth.dispatch(effVendorSpecific, c.code, 0x00200010, nullptr, 1.5f), 0);
        EXPECT_EQ(synth.editor()->wheels.size(), c.reaches ? 1u : 0u) << c.vendor << c.open;
    }
}

TEST_F(SynthTest, ChangeListTakesNodesOnlyWhileTheEditorIsOpen) {
    Synth synth;
    synth.object->setParameter(3, 0.5f);
    EXPECT_EQ(synth.object->getParamChanges().allocatedNodes(), 0);
    int parent = 0;
    synth.dispatch(effEditOpen, 0, 0, &parent);
    synth.object->setParameter(3, 0.6f);
    synth.object->setParameter(9, 0.1f);
    EXPECT_EQ(synth.consume(), (std::vector<int32_t>{3, 9}));
    synth.dispatch(effEditClose);
    synth.object->setParameter(3, 0.7f);
    EXPECT_TRUE(synth.consume().empty());
}

TEST_F(SynthTest, ChangeListWithoutAnEditorStaysEmpty) {
    Synth synth(nullptr);
    EXPECT_EQ(synth.object->getAeffect()->flags & effFlagsHasEditor, 0);
    synth.dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(synth.object->getParamChanges().allocatedNodes(), 0);
}

TEST_F(SynthTest, ProgramChangeWithTheEditorOpenSends82NodesInOrderAndAsksForARefresh) {
    Synth synth;
    int parent = 0;
    synth.dispatch(effEditOpen, 0, 0, &parent);
    synth.dispatch(effSetProgram, 0, 4);
    std::vector<int32_t> expected;
    for (int32_t i = 0; i < 82; ++i) expected.push_back(i);
    EXPECT_EQ(synth.consume(), expected);
    EXPECT_EQ(synth.editor()->refreshes, 1);
    // Only the newest node stays allocated once everything is read.
    EXPECT_EQ(synth.object->getParamChanges().allocatedNodes(), 1);
}

TEST_F(SynthTest, ThreeNodesReadLeaveOnlyTheNewestAllocated) {
    Synth synth;
    int parent = 0;
    synth.dispatch(effEditOpen, 0, 0, &parent);
    for (int32_t i = 0; i < 3; ++i) synth.object->setParameter(i, 0.25f);
    EXPECT_EQ(synth.object->getParamChanges().allocatedNodes(), 3);
    EXPECT_EQ(synth.consume().size(), 3u);
    EXPECT_EQ(synth.object->getParamChanges().allocatedNodes(), 1);
    synth.object->setParameter(5, 0.25f);
    EXPECT_EQ(synth.consume(), std::vector<int32_t>{5});
    EXPECT_EQ(synth.object->getParamChanges().allocatedNodes(), 1);
}

TEST_F(SynthTest, AFullChangeListStillAppliesTheValue) {
    Synth synth;
    int parent = 0;
    synth.dispatch(effEditOpen, 0, 0, &parent);
    for (int32_t i = 0; i < ParamChangeList::kPoolSize; ++i) synth.object->setParameter(i % 82, 0.5f);
    synth.object->setParameter(16, 0.125f);  // no node left for this one
    EXPECT_EQ(synth.object->getParameter(16), 0.125f);
    EXPECT_EQ(synth.object->getEngine().cutoffTarget, [] {
        Dravenor engine;
        engine.setParameter(16, 0.125f);
        return engine.cutoffTarget;
    }());
    EXPECT_TRUE(synth.object->getParamChanges().takeOverflow());
    EXPECT_EQ(synth.consume().size(), static_cast<std::size_t>(ParamChangeList::kPoolSize));
}

TEST_F(SynthTest, SampleRateChangeReappliesLiveValuesWithoutNodesOrRefresh) {
    Synth synth;
    int parent = 0;
    synth.dispatch(effEditOpen, 0, 0, &parent);
    synth.object->setParameter(16, 0.2f);
    synth.consume();
    synth.dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(synth.object->getSampleRate(), 96000.0f);
    EXPECT_EQ(synth.object->getEngine().sampleRate, 96000.0f);
    EXPECT_EQ(synth.object->getParameter(16), 0.2f);
    EXPECT_TRUE(synth.consume().empty());
    EXPECT_EQ(synth.editor()->refreshes, 0);
    for (float bad : {0.0f, -44100.0f, NAN, INFINITY}) {
        synth.dispatch(effSetSampleRate, 0, 0, nullptr, bad);
        EXPECT_EQ(synth.object->getSampleRate(), 96000.0f);
    }
}

TEST_F(SynthTest, KeysLightWhileTheEditorIsOpen) {
    Synth synth;
    synth.process({midiEvent(0, 0x90, 60, 100)});
    EXPECT_TRUE(synth.editor()->keys.empty());
    EXPECT_EQ(synth.editor()->flushes, 0);
    int parent = 0;
    synth.dispatch(effEditOpen, 0, 0, &parent);
    synth.process({midiEvent(0, 0x90, 62, 100), midiEvent(4, 0x80, 62, 0), midiEvent(8, 0x90, 64, 0)});
    EXPECT_EQ(synth.editor()->keys,
              (std::vector<std::pair<int32_t, bool>>{{62, true}, {62, false}, {64, false}}));
    EXPECT_EQ(synth.editor()->flushes, 1);
}

TEST_F(SynthTest, VoiceModeLayersVoices) {
    struct Case {
        float voiceMode;  // Voice-Mode parameter value
        float voiceCount; // parameter 59 value
        int expectedVoices;
    };
    const Case cases[] = {{0.0f, 0.07f, 1}, {0.5f, 0.07f, 2}, {1.0f, 0.05f, 5}};
    for (const Case& c : cases) {
        Synth synth;
        synth.object->setParameter(kParamVoiceMode, c.voiceMode);
        synth.object->setParameter(kParamVoiceCount, c.voiceCount);
        Dravenor& engine = synth.object->getEngine();
        synth.process({midiEvent(0, 0x90, 60, 100)});
        std::set<int> layers;
        for (const VoiceState& voice : engine.voices) {
            if (voice.note == 60 && voice.active != 0) layers.insert(voice.layer);
        }
        std::set<int> expected;
        for (int layer = 0; layer < c.expectedVoices; ++layer) expected.insert(layer);
        EXPECT_EQ(layers, expected) << "mode " << engine.voiceMode << " count " << engine.voiceCount;
    }
}

TEST_F(SynthTest, EditorWheelSendsAFourteenBitBendThatRestsAtZero) {
    struct Case {
        float wheel;
        float bend;  // 1/128 semitone, range 3
    };
    const Case cases[] = {{0.5f, 0.0f}, {1.0f, 383.0f}, {0.0f, -384.0f}, {0.75f, 191.0f}, {2.0f, 383.0f},
                          {-1.0f, -384.0f}};
    for (const Case& c : cases) {
        Synth synth;
        int parent = 0;
        synth.object->setParameter(kParamBendRange, 0.03f);  // 3 semitones
        synth.dispatch(effEditOpen, 0, 0, &parent);
        synth.object->setParameterAutomated(kTagPitchWheel, c.wheel);
        EXPECT_EQ(synth.object->getEngine().pitchBend, c.bend) << c.wheel;
        // Only the wheel's own value comes back, no echo of the bend.
        EXPECT_EQ(synth.consume(), std::vector<int32_t>{kTagPitchWheel}) << c.wheel;
        EXPECT_EQ(synth.object->getParameter(kTagPitchWheel), c.wheel);
    }
    EXPECT_EQ(hostState().count(audioMasterAutomate), 0);
}

TEST_F(SynthTest, AutomatedChangesOfOtherParametersOnlySetThem) {
    Synth synth;
    synth.object->setParameterAutomated(5, 0.3f);
    EXPECT_EQ(synth.object->getParameter(5), 0.3f);
    EXPECT_EQ(synth.object->getEngine().pitchBend, 0.0f);
    EXPECT_EQ(hostState().count(audioMasterAutomate), 0);
    EXPECT_EQ(hostState().count(audioMasterBeginEdit), 0);
}

TEST_F(SynthTest, ControllerResetAndPressureReachTheEngine) {
    Synth synth;
    synth.process({midiEvent(0, 0xD5, 127)});
    EXPECT_EQ(synth.object->getEngine().channelPressure, 127.0f * 0.007874016f * 0.15f);
    synth.process({midiEvent(0, 0xD0, 0x80 | 64)});  // a stray top bit is masked off
    EXPECT_EQ(synth.object->getEngine().channelPressure, 64.0f * 0.007874016f * 0.15f);
}

TEST_F(SynthTest, OnScreenNotesPlayAtTheNextBlock) {
    Synth synth;
    Dravenor& engine = synth.object->getEngine();
    EXPECT_TRUE(synth.object->queueGuiMidiEvent(0x90, 200, 90, 3));  // note limited to 127
    synth.process({});
    bool found = false;
    for (const VoiceState& voice : engine.voices) found = found || (voice.note == 127 && voice.active != 0);
    EXPECT_TRUE(found);
}

TEST_F(SynthTest, TimeIsAskedOncePerBlockWithTheTempoFilter) {
    Synth synth;
    hostState().opcodes.clear();
    hostState().sent.clear();
    synth.process({});
    ASSERT_EQ(hostState().count(audioMasterGetTime), 1);
    EXPECT_EQ(hostState().sent.back().second, kVstTempoValid);
}

TEST_F(SynthTest, UISizeComesFromTheRegistry) {
    struct Case {
        std::vector<uint8_t> stored;  // empty vector with present=false: no value
        bool present;
        uint8_t expected;
    };
    const Case cases[] = {{{}, false, 1}, {{2}, true, 2}, {{0}, true, 0}, {{3}, true, 3},
                          {{7}, true, 7},  // passed on as read; the editor limits it
                          {{2, 2}, true, 1}, {{}, true, 0}};
    for (const Case& c : cases) {
        ScopedSettingsFolder folder;
        if (c.present) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvane Audio\\Quilm\\", 0, nullptr, 0,
                                      KEY_SET_VALUE, nullptr, &key, nullptr),
                      ERROR_SUCCESS);
            ASSERT_EQ(RegSetValueExA(key, "uisize", 0, REG_BINARY, c.stored.data(),
                                     static_cast<DWORD>(c.stored.size())),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
        Synth synth;
        EXPECT_EQ(synth.object->uiSize, c.expected) << c.stored.size() << " " << c.present;
    }
}

TEST_F(SynthTest, ReadingTheSizeCreatesNothingAndSavingWritesOneByte) {
    uint8_t size = 9;
    readUISizeSetting(&size);
    EXPECT_EQ(size, 1);
    EXPECT_FALSE(std::filesystem::exists(settings.path() + "/Corvane Audio"));
    Synth synth;
    synth.object->uiSize = 2;
    synth.object->saveUISize();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvane Audio\\Quilm\\", 0, KEY_READ, &key), ERROR_SUCCESS);
    uint8_t data[4] = {};
    DWORD bytes = sizeof(data);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "uisize", nullptr, &type, data, &bytes), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(bytes, 1u);
    EXPECT_EQ(data[0], 2);
    Synth next;
    EXPECT_EQ(next.object->uiSize, 2);
}

TEST_F(SynthTest, ProgramsCanBeCopiedAndStored) {
    Synth synth;
    synth.dispatch(effSetProgram, 0, 2);
    EXPECT_TRUE(synth.object->copyCurrentProgramTo(100));
    EXPECT_FALSE(synth.object->copyCurrentProgramTo(128));
    EXPECT_FALSE(synth.object->copyCurrentProgramTo(-1));
    char name[32] = {};
    synth.object->getProgramNameIndexed(0, 100, name);
    EXPECT_STREQ(name, "Bellpad");
    synth.object->storeProgramParameter(16, 0.01f);
    synth.object->storeProgramParameter(82, 0.5f);  // not a stored parameter
    synth.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(synth.object->getParameter(16), 0.01f);
    synth.object->sendAutomationToHost(7, 0.5f);
    EXPECT_EQ(hostState().automations, (std::vector<std::pair<int32_t, float>>{{7, 0.5f}}));
}
