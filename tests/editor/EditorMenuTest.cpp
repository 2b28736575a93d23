// The options menu's submenus, the program menu and steps, size requests and the
// right-click size menu, driven through scripted headless popups.
#include <cmath>
#include <filesystem>

#include "EditorTestSupport.h"
#include "tests/common/TestCaseName.h"

using namespace VSTGUI;

namespace {

// Pops the options menu up as a click does; the script makes the choice.
void chooseOption(EditorFixture* fixture, ADEditor* editor, const std::string& submenu, int32_t index) {
    (void)fixture;
    scriptMenuChoice(submenu, index);
    auto* options = dynamic_cast<COptionMenu*>(editor->getControl(kTagOptionsMenu));
    ASSERT_NE(options, nullptr);
    options->popup();
}

class EditorMenus : public EditorFixture {};

TEST_F(EditorMenus, SubmenusShowTheEnginesSettings) {
    make(1);
    auto* options = dynamic_cast<COptionMenu*>(control(kTagOptionsMenu));
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->getNbEntries(), 4);
    const char* titles[] = {"Pitchbend Range", "Polyphony", "Glide Type", "Skin"};
    COptionMenu* submenus[] = {editor->getPitchBendMenu(), editor->getPolyphonyMenu(), editor->getGlideTypeMenu(),
                               editor->getSkinMenu()};
    const int32_t counts[] = {12, 20, 2, 4};
    const Dravenor& engine = synth->getEngine();
    const int32_t checked[] = {engine.bendRange - 1, engine.voiceCount - 1, engine.glideType, 1};
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(options->getEntry(i)->getTitle(), titles[i]);
        EXPECT_EQ(options->getEntry(i)->getSubmenu(), submenus[i]);
        EXPECT_EQ(submenus[i]->getNbEntries(), counts[i]) << titles[i];
        for (int32_t k = 0; k < counts[i]; ++k) EXPECT_EQ(submenus[i]->isCheckEntry(k), k == checked[i]) << titles[i] << k;
    }
    EXPECT_STREQ(editor->getPitchBendMenu()->getEntry(0)->getTitle(), "1 semitones");
    EXPECT_STREQ(editor->getPolyphonyMenu()->getEntry(11)->getTitle(), "12 voices");
    EXPECT_STREQ(editor->getGlideTypeMenu()->getEntry(1)->getTitle(), "Constant Rate");
    EXPECT_STREQ(editor->getSkinMenu()->getEntry(3)->getTitle(), "Huge");
}

// The four submenus outlive close and open (a size change too): each open refills the same
// menus with the settings of that moment, and they go when the editor goes.
TEST_F(EditorMenus, SubmenusAreKeptAndRefilledAtEachOpen) {
    FakeWindows windows;
    make(1);
    const auto submenus = [this] {
        return std::vector<COptionMenu*>{editor->getPitchBendMenu(), editor->getPolyphonyMenu(),
                                         editor->getGlideTypeMenu(), editor->getSkinMenu()};
    };
    const std::vector<COptionMenu*> first = submenus();
    for (COptionMenu* m : first) m->remember();  // to see them given back with the editor
    const auto expectFilled = [&](int32_t skin) {
        auto* options = dynamic_cast<COptionMenu*>(control(kTagOptionsMenu));
        ASSERT_NE(options, nullptr);
        const int32_t counts[] = {12, 20, 2, 4};
        for (int32_t i = 0; i < 4; ++i) {
            EXPECT_EQ(options->getEntry(i)->getSubmenu(), first[i]) << i;
            EXPECT_EQ(first[i]->getNbEntries(), counts[i]) << i;  // refilled, not added to
            int32_t checked = 0;
            for (int32_t k = 0; k < counts[i]; ++k) checked += first[i]->isCheckEntry(k);
            EXPECT_EQ(checked, 1) << i;
        }
        EXPECT_TRUE(first[3]->isCheckEntry(skin));
    };

    editor->close();
    EXPECT_EQ(submenus(), first);
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(submenus(), first);
    expectFilled(1);

    chooseOption(this, editor, "Skin", 2);
    idle();  // the size change closes and opens again
    ASSERT_TRUE(editor->isOpen());
    EXPECT_EQ(submenus(), first);
    expectFilled(2);
    chooseOption(this, editor, "Polyphony", 7);  // the kept menus still choose
    EXPECT_EQ(synth->getEngine().voiceCount, 8);
    idle();
    EXPECT_TRUE(first[1]->isCheckEntry(7));

    destroy();
    for (COptionMenu* m : first) {
        EXPECT_EQ(m->getNbReference(), 1);  // only the test's own reference is left
        m->forget();
    }
}

struct ChoiceCase {
    const char* submenu;
    int32_t index;
    int32_t parameter;
    float value;
};

class EditorMenuChoices : public EditorFixture, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(EditorMenuChoices, ChoosingSetsTheParameterAndChecksBack) {
    const ChoiceCase& c = GetParam();
    make(1);
    idle();
    chooseOption(this, editor, c.submenu, c.index);
    EXPECT_FLOAT_EQ(live(c.parameter), c.value);
    idle();  // the change comes back through the list and checks the entry
    COptionMenu* submenu = c.parameter == kParamVoiceCount  ? editor->getPolyphonyMenu()
                           : c.parameter == kParamBendRange ? editor->getPitchBendMenu()
                                                            : editor->getGlideTypeMenu();
    EXPECT_TRUE(submenu->isCheckEntry(c.index));
}

INSTANTIATE_TEST_SUITE_P(Options, EditorMenuChoices,
                         ::testing::Values(ChoiceCase{"Polyphony", 19, kParamVoiceCount, 0.2f},
                                           ChoiceCase{"Polyphony", 11, kParamVoiceCount, 0.12f},
                                           ChoiceCase{"Polyphony", 0, kParamVoiceCount, 0.01f},
                                           ChoiceCase{"Pitchbend Range", 11, kParamBendRange, 0.12f},
                                           ChoiceCase{"Pitchbend Range", 0, kParamBendRange, 0.01f},
                                           ChoiceCase{"Glide Type", 1, kParamGlideType, 1.0f},
                                           ChoiceCase{"Glide Type", 0, kParamGlideType, 0.0f}),
                         [](const auto& info) {
                             return camelCaseName(info.param.submenu) + "Entry" + std::to_string(info.param.index);
                         });

// Values between the entries (a host's slider, a MIDI controller: k/512, k/127, each step's
// boundary and one float either side) check the entry that the engine plays, and none where
// the submenu has no entry for it (0 voices, a bend range of 13 semitones and more).
TEST_F(EditorMenus, SubmenusCheckWhatTheEnginePlays) {
    make(1);
    std::vector<float> values;
    for (int32_t k = 0; k <= 512; ++k) values.push_back(static_cast<float>(k) / 512.0f);
    for (int32_t k = 0; k <= 127; ++k) values.push_back(static_cast<float>(k / 127.0));
    std::vector<float> boundaries{0.99f};  // the glide type's second entry
    for (int32_t n = 1; n <= 21; ++n) boundaries.push_back(static_cast<float>(n) / 100.01f);  // n voices, semitones
    for (float b : boundaries)
        for (float v : {std::nextafter(b, 0.0f), b, std::nextafter(b, 1.0f)}) values.push_back(v);
    const Dravenor& engine = synth->getEngine();
    const std::pair<int32_t, COptionMenu*> menus[] = {{kParamVoiceCount, editor->getPolyphonyMenu()},
                                                      {kParamBendRange, editor->getPitchBendMenu()},
                                                      {kParamGlideType, editor->getGlideTypeMenu()}};
    for (float v : values) {
        for (const auto& [param, menu] : menus) {
            synth->setParameter(param, v);
            idle();
            // The entry of what the engine plays now.
            const int32_t plays = param == kParamVoiceCount  ? engine.voiceCount - 1
                                  : param == kParamBendRange ? engine.bendRange - 1
                                                             : engine.glideType;
            for (int32_t i = 0; i < menu->getNbEntries(); ++i) {
                if (menu->isCheckEntry(i) != (i == plays)) {
                    ADD_FAILURE() << "parameter " << param << " at " << v << ": entry " << i << " checked "
                                  << menu->isCheckEntry(i) << ", the engine plays entry " << plays;
                    return;
                }
            }
        }
    }
}

TEST_F(EditorMenus, VoiceCountsRoundTripThroughTheEngine) {
    make(1);
    for (int32_t voices = 1; voices <= kMaxVoices; ++voices) {
        chooseOption(this, editor, "Polyphony", voices - 1);
        EXPECT_EQ(synth->getEngine().voiceCount, voices);
        idle();
        EXPECT_TRUE(editor->getPolyphonyMenu()->isCheckEntry(voices - 1)) << voices;
    }
}

TEST_F(EditorMenus, SkinChoiceChangesTheSizeOnce) {
    FakeWindows windows;
    make(1);
    chooseOption(this, editor, "Skin", 2);
    chooseOption(this, editor, "Skin", 3);  // a second request before the idle step is ignored
    uint8_t stored = 0;
    readUISizeSetting(&stored);
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(synth->uiSize, 2);
    idle();
    EXPECT_EQ(editor->getSizeIndex(), 2);
    EXPECT_TRUE(editor->getSkinMenu()->isCheckEntry(2));
    idle();
    EXPECT_EQ(windows.positions.size(), 1u);
}

// A configuration folder whose parents do not exist yet: the size picked is kept.
TEST_F(EditorMenus, SkinChoiceIsKeptUnderAConfigPathWithoutParents) {
    make(1);
    const std::string base = settings.path() + "/not/yet/there";
    setenv("XDG_CONFIG_HOME", base.c_str(), 1);  // the settings folder puts the old one back
    chooseOption(this, editor, "Skin", 2);
    uint8_t stored = 0;
    readUISizeSetting(&stored);
    EXPECT_EQ(stored, 2);
    EXPECT_TRUE(std::filesystem::is_regular_file(base + "/Corvane Audio/Quilm/uisize"));
}

TEST_F(EditorMenus, ChoosingTheCurrentSizeDoesNothing) {
    make(1);
    writeUISizeSetting(0);  // so that a write would show
    editor->setUISize(1);
    EXPECT_FALSE(editor->isResizePending());
    uint8_t stored = 9;
    readUISizeSetting(&stored);
    EXPECT_EQ(stored, 0);
    editor->setUISize(7);
    EXPECT_FALSE(editor->isResizePending());
    editor->close();
    editor->setUISize(2);  // closed: refused
    EXPECT_FALSE(editor->isResizePending());
    EXPECT_EQ(synth->uiSize, 1);
}

TEST_F(EditorMenus, ProgramMenuSelectsAndTellsTheHost) {
    make(1);
    scriptMenuChoice("", 42);
    auto* menu = dynamic_cast<COptionMenu*>(control(kTagProgramMenu));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getNbItemsPerColumn(), 32);
    char name[kProgramNameSize + 1] = {};
    std::memcpy(name, (*synth->getEngine().getPrograms())[42].name, kProgramNameSize);
    EXPECT_STREQ(menu->getEntry(42)->getTitle(), name);
    menu->popup();
    EXPECT_EQ(synth->getProgram(), 42);
    EXPECT_TRUE(menu->isCheckEntry(42));
    EXPECT_EQ(RecordingHost::current().count(audioMasterUpdateDisplay), 1);
    idle(2);
    EXPECT_EQ(menu->getCurrentIndex(true), 42);
}

struct StepCase {
    const char* name;
    int32_t start;
    float step;
    int32_t expect;
};

class ProgramSteps : public EditorFixture, public ::testing::WithParamInterface<StepCase> {};

TEST_P(ProgramSteps, StepWithoutWrapping) {
    const StepCase& c = GetParam();
    make(1);
    synth->selectProgram(c.start);
    RecordingHost::current().opcodes.clear();
    CControl* step = control(kTagProgramStep);
    step->setValue(c.step);
    editor->valueChanged(step);
    EXPECT_EQ(synth->getProgram(), c.expect);
    EXPECT_EQ(RecordingHost::current().count(audioMasterUpdateDisplay), 1) << "sent in every case";
}

INSTANTIATE_TEST_SUITE_P(Ends, ProgramSteps,
                         ::testing::Values(StepCase{"UpFromFive", 5, 1.0f, 4}, StepCase{"DownFromFive", 5, -1.0f, 6},
                                           StepCase{"UpAtFirst", 0, 1.0f, 0}, StepCase{"DownAtLast", 127, -1.0f, 127}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorMenus, RightClickOpensTheSizeMenu) {
    make(1);
    CPoint where(10, 10);
    EXPECT_EQ(editor->onMouseDown(where, CButtonState(kLButton)), kMouseEventNotImplemented);
    EXPECT_EQ(editor->onMouseDown(where, CButtonState(kRButton | kLButton)), kMouseEventNotImplemented);
    scriptMenuChoice("", 3);
    const uint32_t views = frame()->getNbViews();
    EXPECT_EQ(editor->onMouseDown(where, CButtonState(kRButton)), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_TRUE(editor->isResizePending());
    EXPECT_EQ(synth->uiSize, 3);
    EXPECT_EQ(frame()->getNbViews(), views);  // the menu left the frame again
}

TEST_F(EditorMenus, RightClickOnTheBackgroundReachesTheSizeMenu) {
    make(1);
    scriptMenuChoice("", 0);
    CPoint knob = centreOf(kParamFltCutoff);
    frame()->platformOnMouseDown(knob, CButtonState(kRButton));  // the knob's own right click
    EXPECT_FALSE(editor->isResizePending());
    CPoint background(3, 3);
    frame()->platformOnMouseDown(background, CButtonState(kLButton));
    EXPECT_FALSE(editor->isResizePending());
    frame()->platformOnMouseDown(background, CButtonState(kRButton));
    EXPECT_TRUE(editor->isResizePending());
    EXPECT_EQ(synth->uiSize, 0);
}

TEST_F(EditorMenus, GesturesReachTheHostOnlyThroughTheEditorsOwnCalls) {
    make(1);
    const CPoint at = centreOf(kParamFltCutoff);
    CPoint down = at, moved = CPoint(at.x, at.y - 20), up = moved;
    frame()->platformOnMouseDown(down, CButtonState(kLButton));
    frame()->platformOnMouseMoved(moved, CButtonState(kLButton));
    frame()->platformOnMouseUp(up, CButtonState(kLButton));
    EXPECT_EQ(RecordingHost::current().count(audioMasterBeginEdit), 0);
    EXPECT_EQ(RecordingHost::current().count(audioMasterEndEdit), 0);
    editor->beginEdit(16);
    editor->endEdit(16);
    EXPECT_EQ(RecordingHost::current().last(audioMasterBeginEdit).first, 16);
    EXPECT_EQ(RecordingHost::current().last(audioMasterEndEdit).first, 16);
}

}  // namespace
