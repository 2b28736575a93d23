// The editor's life: its size before opening, the layout it builds at each size,
// open and close, the idle branches, the size change and the key display.
#include <cmath>

#include "EditorTestSupport.h"
#include "editor/SkinBitmapSet.h"
#include "controls/ZelCParamDisplay.h"
#include "vstgui/lib/controls/cmoviebitmap.h"

using namespace VSTGUI;

namespace {

struct SizeCase {
    uint8_t size;
    int32_t width, height, knob;
};

class EditorSizes : public EditorFixture, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(EditorSizes, RectangleBeforeOpenIsTheBackground) {
    make(GetParam().size, false);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->right, GetParam().width);
    EXPECT_EQ(rect->bottom, GetParam().height);
    EXPECT_NE(synth->getAeffect()->flags & effFlagsHasEditor, 0);
}

TEST_P(EditorSizes, OpenLaysOutEveryControl) {
    const SizeCase& c = GetParam();
    make(c.size);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->getSizeIndex(), c.size);
    EXPECT_EQ(frame()->getWidth(), c.width);
    EXPECT_EQ(frame()->getHeight(), c.height);
    EXPECT_EQ(RecordingHost::current().last(audioMasterSizeWindow), std::make_pair(c.width, intptr_t{c.height}));
    for (int32_t tag = 0; tag < kNumControls; ++tag) {
        const ParamControlInfo& entry = paramControlTable[tag];
        CControl* made = control(tag);
        if (entry.kind == kNoControl) {
            EXPECT_EQ(made, nullptr) << tag;
            EXPECT_EQ(entry.left | entry.top | entry.right | entry.bottom, 0) << tag;
            continue;
        }
        ASSERT_NE(made, nullptr) << tag;
        EXPECT_EQ(made->getTag(), tag);
        EXPECT_EQ(made->getListener(), static_cast<IControlListener*>(editor));
        const CRect r = made->getViewSize();
        if (entry.kind == kKnobControl) {
            EXPECT_EQ(r.left, entry.left) << tag;
            EXPECT_EQ(r.top, entry.top) << tag;
            EXPECT_EQ(r.getWidth(), c.knob) << tag;
            EXPECT_EQ(r.getHeight(), c.knob) << tag;
        } else if (entry.kind == kProgramMenuControl) {
            EXPECT_EQ(r.top, entry.top - 1);
            EXPECT_EQ(r.bottom, entry.bottom - 1);
            EXPECT_EQ(r.left, entry.left);
        } else if (entry.kind != kVerticalSwitchControl && entry.kind != kWheelControl &&
                   entry.kind != kProgramStepControl && entry.kind != kWaveStepControl &&
                   entry.kind != kWaveChooserControl) {
            EXPECT_EQ(r, CRect(entry.left, entry.top, entry.right, entry.bottom)) << tag;
        }
    }
    // The wave choosers lie on top of the wave displays.
    EXPECT_EQ(control(kTagOsc1WaveChooser)->getViewSize().left, control(kParamOsc1Wave)->getViewSize().left);
    EXPECT_EQ(control(kTagOsc1WaveChooser)->getViewSize().top, control(kParamOsc1Wave)->getViewSize().top);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, EditorSizes,
                         ::testing::Values(SizeCase{0, 750, 504, 39}, SizeCase{1, 1000, 672, 52},
                                           SizeCase{2, 1500, 1008, 78}, SizeCase{3, 2250, 1512, 117}),
                         SizeCaseName());

TEST_F(EditorFixture, SwitchPicturesAreCutByTheirOwnCounts) {
    make(1);
    const CRect fltType = control(kParamFltType)->getViewSize();
    const CRect voiceMode = control(kParamVoiceMode)->getViewSize();
    EXPECT_EQ(fltType.getHeight(), std::floor(skinBitmapHeight(kFourWaySwitchBitmap, 1) * 0.25));
    EXPECT_EQ(voiceMode.getHeight(), std::floor(skinBitmapHeight(kThreeWaySwitchBitmap, 1) / 3));
}

TEST_F(EditorFixture, OpenShowsTheLiveValuesNotTheStoredProgram) {
    make(1);
    synth->setParameterAutomated(kParamFltCutoff, 0.123f);
    dispatch(effEditClose);
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(control(kParamFltCutoff), nullptr);
    ASSERT_TRUE(editor->open(fakeParent()));
    const float stored = (*synth->getEngine().getPrograms())[synth->getProgram()].value[kParamFltCutoff];
    ASSERT_NE(stored, 0.123f);
    EXPECT_FLOAT_EQ(control(kParamFltCutoff)->getValue(), 0.123f);  // what the sound keeps
    EXPECT_FLOAT_EQ(live(kParamFltCutoff), 0.123f);
}

TEST_F(EditorFixture, OpenAndCloseRepeatedlyLeaveNothingBehind) {
    make(1);
    COptionMenu* const polyphony = editor->getPolyphonyMenu();
    ASSERT_NE(polyphony, nullptr);
    for (int i = 0; i < 3; ++i) {
        editor->close();
        EXPECT_EQ(frame(), nullptr);
        EXPECT_EQ(editor->getReadout(), nullptr);
        EXPECT_EQ(editor->getMouseObserver(), nullptr);
        EXPECT_EQ(editor->getPolyphonyMenu(), polyphony);  // the submenus stay for the next open
        editor->close();  // a second close does nothing
        ASSERT_TRUE(editor->open(fakeParent()));
        EXPECT_EQ(editor->getPolyphonyMenu(), polyphony);
        EXPECT_EQ(polyphony->getNbEntries(), kMaxVoices);
    }
    // A host opening twice without closing gets a fresh editor, not two frames.
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_TRUE(editor->isOpen());
}

TEST_F(EditorFixture, OpenWithoutAWindowAnswersFalse) {
    make(1, false);
    editor->setFramePlatform(PlatformType::kDefaultNative);
    EXPECT_FALSE(editor->open(nullptr));
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(frame(), nullptr);
    editor->idle();  // nothing to do, nothing to crash
    ADEditor orphan(nullptr);
    EXPECT_FALSE(orphan.open(fakeParent()));
}

TEST_F(EditorFixture, OpenWithoutADisplayLeavesNothingBehind) {
    make(1, false);
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old != nullptr ? old : "";
    setenv("DISPLAY", ":4242", 1);  // no server there
    editor->setFramePlatform(PlatformType::kDefaultNative);
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, fakeParent()), 0);
    if (old != nullptr) {
        setenv("DISPLAY", saved.c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(frame(), nullptr);
    EXPECT_EQ(editor->getReadout(), nullptr);
    EXPECT_EQ(editor->getMouseObserver(), nullptr);
    editor->idle();
    editor->setKeyDisplay(60, true);  // the plug-in would not call it; harmless anyway
    dispatch(effEditClose);
}

TEST_F(EditorFixture, SizeIsTakenFromThePluginAtEveryOpen) {
    make(1);
    dispatch(effEditClose);
    synth->uiSize = 3;
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(editor->getSizeIndex(), 3);
    EXPECT_EQ(frame()->getWidth(), 2250);
    synth->uiSize = 9;  // out of range: the largest size
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(editor->getSizeIndex(), 3);
}

TEST_F(EditorFixture, ProgramChangeRefreshesTheMenuThenMovesTheControls) {
    make(1);
    idle();
    auto* menu = dynamic_cast<COptionMenu*>(control(kTagProgramMenu));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getNbEntries(), 128);
    const ProgramRecord& target = (*synth->getEngine().getPrograms())[5];
    synth->selectProgram(5);
    EXPECT_TRUE(editor->isProgramRefreshPending());
    const float before = control(kParamFltCutoff)->getValue();

    idle();  // the menu only
    EXPECT_FALSE(editor->isProgramRefreshPending());
    EXPECT_EQ(menu->getCurrentIndex(true), 5);
    EXPECT_TRUE(menu->isCheckEntry(5));
    EXPECT_FALSE(menu->isCheckEntry(0));
    EXPECT_EQ(editor->getCurrentProgram(), 5);
    EXPECT_FLOAT_EQ(control(kParamFltCutoff)->getValue(), before);

    idle();  // the 82 queued changes
    for (int32_t i = 0; i < kNumParams; ++i) {
        CControl* c = control(i);
        if (c == nullptr || i == kParamOsc1Wave || i == kParamOsc2Wave) continue;
        EXPECT_FLOAT_EQ(c->getValue(), std::fmin(c->getMax(), std::fmax(c->getMin(), target.value[i]))) << i;
    }
}

TEST_F(EditorFixture, IdleWithNothingPendingOnlyRunsTheFrame) {
    make(1);
    idle(2);
    const CControl* knob = control(kParamFltCutoff);
    const float value = knob->getValue();
    idle(2);
    EXPECT_FLOAT_EQ(knob->getValue(), value);
    EXPECT_TRUE(frame()->getInvalidAreas().empty());
}

TEST_F(EditorFixture, HostAutomationReachesTheControlAtTheNextIdle) {
    make(1);
    idle();
    synth->setParameter(kParamFltReso, 0.77f);
    EXPECT_NE(control(kParamFltReso)->getValue(), 0.77f);
    idle();
    EXPECT_FLOAT_EQ(control(kParamFltReso)->getValue(), 0.77f);
    // Not a number from a host changes nothing, infinities are clamped where they become indexes.
    editor->setParameter(kParamFltReso, std::nanf(""));
    EXPECT_FLOAT_EQ(control(kParamFltReso)->getValue(), 0.77f);
    const int32_t voices = synth->getEngine().voiceCount;
    editor->setParameter(kParamVoiceCount, 5.0e9f);  // clamped to 1.0: entry 99, which does not exist
    EXPECT_TRUE(editor->getPolyphonyMenu()->isCheckEntry(voices - 1));
    editor->setParameter(kParamOsc1Wave, -INFINITY);  // ignored
    EXPECT_NE(control(kParamOsc1Wave)->getValue(), 0.0f);
    editor->setParameter(kParamOsc1Wave, -3.0e9f);  // clamped: wave 0
    EXPECT_FLOAT_EQ(control(kParamOsc1Wave)->getValue(), 0.0f);
}

struct ResizeCase {
    const char* name;
    bool readable;
    int32_t extraW, extraH;
    int32_t expectW, expectH;
};

class EditorResize : public EditorFixture, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(EditorResize, ParentKeepsItsExcess) {
    const ResizeCase& c = GetParam();
    FakeWindows windows;
    windows.readable = c.readable;
    windows.window = RECT{300, 200, 300 + 1000 + c.extraW, 200 + 672 + c.extraH};
    make(1);
    editor->setUISize(2);
    EXPECT_TRUE(editor->isResizePending());
    uint8_t stored = 0;
    readUISizeSetting(&stored);
    EXPECT_EQ(stored, 2) << "the registry holds the size before the editor changed";
    idle();
    EXPECT_FALSE(editor->isResizing());
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->getSizeIndex(), 2);
    EXPECT_EQ(frame()->getWidth(), 1500);
    ASSERT_EQ(windows.positions.size(), 1u);
    const std::vector<int>& p = windows.positions[0];
    EXPECT_EQ(p[2], c.expectW);
    EXPECT_EQ(p[3], c.expectH);
    EXPECT_EQ(p[4], static_cast<int>(SWP_NOMOVE));
    EXPECT_EQ(p[5], 0);
    EXPECT_EQ(editor->getEditorRect().right, 1500);  // reopening sets the bare background size
    EXPECT_EQ(RecordingHost::current().last(audioMasterSizeWindow), std::make_pair(1500, intptr_t{1008}));
}

INSTANTIATE_TEST_SUITE_P(Windows, EditorResize,
                         ::testing::Values(ResizeCase{"Excess", true, 20, 30, 1520, 1038},
                                           ResizeCase{"NoExcess", true, 0, 0, 1500, 1008},
                                           ResizeCase{"Unreadable", false, 20, 30, 1500, 1008}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorFixture, ProgramRefreshGoesBeforeASizeChange) {
    FakeWindows windows;
    make(1);
    editor->setUISize(0);
    synth->selectProgram(3);
    idle();
    EXPECT_TRUE(editor->isResizePending());
    EXPECT_EQ(editor->getSizeIndex(), 1);
    idle();
    EXPECT_EQ(editor->getSizeIndex(), 0);
}

TEST_F(EditorFixture, KeyDisplayOnlyForTheKeyboardsNotes) {
    make(1);
    idle();
    const struct {
        int32_t note;
        bool lit;
    } cases[] = {{23, false}, {24, true}, {60, true}, {83, true}, {84, false}, {-5, false}};
    for (const auto& c : cases) {
        editor->setKeyDisplay(c.note, true);
        for (int32_t k = 0; k < kKeyboardKeys; ++k)
            EXPECT_EQ(editor->isKeyHeld(k), c.lit && k == c.note - kKeyboardLowestNote) << c.note << " key " << k;
        editor->setKeyDisplay(c.note, false);
    }
    editor->flushKeyDisplay();
    EXPECT_FALSE(control(kTagKeyboard)->isDirty()) << "the audio thread never touches a view";
    editor->setKeyDisplay(60, true);
    editor->flushKeyDisplay();
    EXPECT_FALSE(control(kTagKeyboard)->isDirty());
    editor->idle();
    EXPECT_TRUE(editor->isKeyHeld(36));
    // The key flags start cleared at every open.
    editor->close();
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_FALSE(editor->isKeyHeld(36));
}

TEST_F(EditorFixture, NotesPlayedByThePluginLightKeysWhileOpen) {
    make(1);
    VstMidiEvent on{};
    on.type = kVstMidiType;
    on.byteSize = sizeof(VstMidiEvent);
    on.midiData[0] = static_cast<char>(0x90);
    on.midiData[1] = 48;
    on.midiData[2] = 100;
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&on);
    synth->processEvents(&events);
    float left[64], right[64];
    float* outs[2] = {left, right};
    synth->processReplacing(nullptr, outs, 64);
    EXPECT_TRUE(editor->isKeyHeld(48 - kKeyboardLowestNote));
}

}  // namespace
