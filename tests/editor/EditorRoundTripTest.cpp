// Values through the controls to the engine and back: every wave by chooser and
// step buttons, the voice modes, the filter types; the wheel of the own host and
// the web link.
#include "EditorTestSupport.h"
#include "tests/common/TestCaseName.h"
#include "controls/ZelCParamDisplay.h"
#include "controls/ZelCPopup.h"
#include "editor/ParameterValueText.h"

using namespace VSTGUI;

namespace {

class WaveRoundTrip : public EditorFixture, public ::testing::WithParamInterface<int32_t> {};

TEST_P(WaveRoundTrip, EveryWaveByChooserAndBack) {
    make(1);
    const int32_t oscillator = GetParam();
    const int32_t param = oscillator == 0 ? kParamOsc1Wave : kParamOsc2Wave;
    auto* chooser = dynamic_cast<ZelCPopup*>(control(oscillator == 0 ? kTagOsc1WaveChooser : kTagOsc2WaveChooser));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->getItemCount(), 40u);
    for (int32_t wave = 0; wave <= 39; ++wave) {
        ASSERT_TRUE(chooser->selectItem(wave));
        editor->valueChanged(chooser);
        const uint8_t played = oscillator == 0 ? synth->getEngine().osc1Wave : synth->getEngine().osc2Wave;
        EXPECT_EQ(played, wave);
        chooser->selectItem(wave == 0 ? 1 : 0);
        idle();  // back through the change list
        int32_t id = -1;
        EXPECT_TRUE(chooser->getSelected(id));
        EXPECT_EQ(id, wave);
        EXPECT_FLOAT_EQ(control(param)->getValue(), static_cast<float>(wave) / 39.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Oscillators, WaveRoundTrip, ::testing::Values(0, 1),
                         [](const auto& info) { return "Osc" + std::to_string(info.param + 1); });

TEST_F(EditorFixture, DisplayShowsTheWaveTheEnginePlays) {
    make(1);
    for (float value : {0.0f, 0.02f, 0.5f, 0.51f, 0.99f, 1.0f, 2.578f}) {
        synth->setParameter(kParamOsc1Wave, value);
        idle();
        const int32_t played = synth->getEngine().osc1Wave;
        int32_t id = -1;
        auto* chooser = dynamic_cast<ZelCPopup*>(control(kTagOsc1WaveChooser));
        ASSERT_TRUE(chooser->getSelected(id));
        EXPECT_EQ(id, played) << value;
        EXPECT_FLOAT_EQ(control(kParamOsc1Wave)->getValue(), static_cast<float>(played) / 39.0f) << value;
    }
}

struct WaveStepCase {
    const char* name;
    int32_t start;
    float step;
    int32_t expect;
};

class WaveSteps : public EditorFixture, public ::testing::WithParamInterface<WaveStepCase> {};

TEST_P(WaveSteps, StepsWithoutWrapping) {
    const WaveStepCase& c = GetParam();
    make(1);
    synth->setParameterAutomated(kParamOsc2Wave, static_cast<float>(c.start) / 39.0f);
    ASSERT_EQ(synth->getEngine().osc2Wave, c.start);
    idle();
    control(kParamOsc2Wave)->setDirty(false);
    CControl* step = control(kTagOsc2WaveStep);
    step->setValue(c.step);
    editor->valueChanged(step);
    EXPECT_EQ(synth->getEngine().osc2Wave, c.expect);
    EXPECT_FLOAT_EQ(live(kParamOsc2Wave), static_cast<float>(c.expect) / 39.0f) << "at either end it stays";
    EXPECT_TRUE(control(kParamOsc2Wave)->isDirty());
}

INSTANTIATE_TEST_SUITE_P(Ends, WaveSteps,
                         ::testing::Values(WaveStepCase{"Previous", 10, 1.0f, 9}, WaveStepCase{"Next", 10, -1.0f, 11},
                                           WaveStepCase{"OffStaysOff", 0, 1.0f, 0},
                                           WaveStepCase{"LastStaysLast", 39, -1.0f, 39}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SwitchCase {
    const char* name;
    int32_t param;
    int32_t positions;
    int32_t Dravenor::*field;
    int32_t engineValue[4];  // the engine's number per switch position
};

class SwitchRoundTrip : public EditorFixture, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SwitchRoundTrip, EveryPositionReachesTheEngineAndComesBack) {
    const SwitchCase& c = GetParam();
    make(1);
    CControl* sw = control(c.param);
    ASSERT_NE(sw, nullptr);
    for (int32_t position = 0; position < c.positions; ++position) {
        const float value = static_cast<float>(position) / static_cast<float>(c.positions - 1);
        sw->setValue(value);
        editor->valueChanged(sw);
        EXPECT_EQ(synth->getEngine().*(c.field), c.engineValue[position]) << "parameter " << c.param;
        sw->setValue(position == 0 ? 1.0f : 0.0f);
        idle();
        EXPECT_FLOAT_EQ(sw->getValue(), value);
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, SwitchRoundTrip,
                         ::testing::Values(SwitchCase{"VoiceMode", kParamVoiceMode, 3, &Dravenor::voiceMode,
                                                      {0, 1, 2, 0}},
                                           // The top position is the engine's type 4 (the same response as 3).
                                           SwitchCase{"FilterType", kParamFltType, 4, &Dravenor::filterType,
                                                      {0, 1, 2, 4}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorFixture, KnobsAndTheLogoAndWheelReachTheEngine) {
    make(1);
    for (int32_t tag : {0, 16, 58, 81, static_cast<int32_t>(kTagPitchWheel)}) {
        CControl* c = control(tag);
        c->setValue(0.25f);
        editor->valueChanged(c);
        EXPECT_FLOAT_EQ(live(tag), 0.25f) << tag;
    }
    editor->setParameter(kTagPitchWheel, 0.75f);
    EXPECT_FLOAT_EQ(control(kTagPitchWheel)->getValue(), 0.75f);
    editor->setParameter(kTagKeyboard, 0.75f);  // editor-only tags without feedback change nothing
    editor->close();
    editor->setParameter(kParamFltCutoff, 0.5f);  // closed: nothing
}

TEST_F(EditorFixture, OnScreenKeyPlaysTheInstrument) {
    make(1);
    const KeyboardGeometry& g = editor->getKeyboardGeometry();
    CPoint key(g.originLeft + 3 * 7 * 24 + g.white[0][1].left + 5, g.originTop + g.white[0][1].top + 5);  // a C
    frame()->platformOnMouseDown(key, CButtonState(kLButton));
    EXPECT_TRUE(editor->isKeyHeld(36));
    std::vector<float> left(512), right(512);
    float* outs[2] = {left.data(), right.data()};
    synth->processReplacing(nullptr, outs, 512);
    double energy = 0;
    for (float s : left) energy += static_cast<double>(s) * s;
    EXPECT_GT(energy, 0.0);
    frame()->platformOnMouseUp(key, CButtonState(kLButton));
    EXPECT_FALSE(editor->isKeyHeld(36));
}

TEST_F(EditorFixture, KnobPressShowsItsValueText) {
    make(1);
    editor->setParameter(kParamFltCutoff, 0.5f);
    synth->setParameter(kParamFltCutoff, 0.5f);
    CPoint at = centreOf(kParamFltCutoff);
    frame()->platformOnMouseDown(at, CButtonState(kLButton));
    ZelCParamDisplay* readout = editor->getReadout();
    ASSERT_NE(readout, nullptr);
    EXPECT_TRUE(readout->isAttached());
    EXPECT_STREQ(readout->text.data(), "50 %");
    frame()->platformOnMouseUp(at, CButtonState(kLButton));
    EXPECT_FALSE(readout->isAttached());
    // Closing while the read-out shows leaves nothing behind.
    frame()->platformOnMouseDown(at, CButtonState(kLButton));
    editor->close();
    EXPECT_EQ(editor->getReadout(), nullptr);
}

TEST_F(EditorFixture, KeyHeldAtCloseIsReleased) {
    make(1);
    const KeyboardGeometry& g = editor->getKeyboardGeometry();
    CPoint key(g.originLeft + g.white[2][1].left + 3, g.originTop + g.white[2][1].top + 3);  // the lowest E
    frame()->platformOnMouseDown(key, CButtonState(kLButton));
    EXPECT_TRUE(editor->isKeyHeld(4));
    editor->close();
    // The note-off went out behind the note-on: after one block every voice of the note releases.
    std::vector<float> left(256), right(256);
    float* outs[2] = {left.data(), right.data()};
    synth->processReplacing(nullptr, outs, 256);
    int32_t voices = 0;
    for (const VoiceState& voice : synth->getEngine().voices) {
        if (voice.active == 0 || voice.note != 28) continue;
        ++voices;
        EXPECT_TRUE(voice.released != 0 || voice.releaseFrame >= 0);
    }
    EXPECT_GT(voices, 0);
}

TEST_F(EditorFixture, LogoOpensTheMakersSite) {
    RecordingLauncher launcher;
    make(1);
    click(centreOf(kTagLogoLink));
    ASSERT_EQ(launcher.launched.size(), 1u);
    EXPECT_EQ(launcher.launched[0].second, "https://corvane-audio.example/");
    click(centreOf(kTagLogoLink), kRButton);
    EXPECT_EQ(launcher.launched.size(), 1u);
}

struct WheelCase {
    const char* vendor;
    bool moves;
};

class HostWheel : public EditorFixture, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(HostWheel, ReachesTheKnobUnderThePointerOnlyForTheOwnHost) {
    FakeWindows windows;
    windows.window = RECT{1000, 600, 2000, 1272};
    RecordingHost::current().vendor = GetParam().vendor;
    make(1);
    dispatch(effOpen);
    const CPoint at = centreOf(kParamFltCutoff);
    const float before = live(kParamFltCutoff);
    const intptr_t position = (static_cast<intptr_t>(600 + at.y) << 16) | static_cast<intptr_t>(1000 + at.x);
    dispatch(effVendorSpecific, VstXSynth::kWheelVendorCode, position, nullptr, 1.0f);
    EXPECT_EQ(live(kParamFltCutoff) != before, GetParam().moves);
}

INSTANTIATE_TEST_SUITE_P(Vendors, HostWheel,
                         ::testing::Values(WheelCase{"Corvane Audio", true}, WheelCase{"Other Host", false}),
                         [](const auto& info) { return camelCaseName(info.param.vendor); });

TEST_F(EditorFixture, WheelPositionsAreSignedScreenCoordinates) {
    FakeWindows windows;
    windows.window = RECT{-1400, -300, -400, 372};  // a screen left of and above the primary one
    make(1);
    const CPoint at = centreOf(kParamFltReso);
    const float before = live(kParamFltReso);
    const auto x = static_cast<uint16_t>(static_cast<int16_t>(-1400 + at.x));
    const auto y = static_cast<uint16_t>(static_cast<int16_t>(-300 + at.y));
    editor->onMouseWheel((static_cast<intptr_t>(y) << 16) | x, 1.0f);
    EXPECT_NE(live(kParamFltReso), before);
}

TEST(WebLink, OpensTheAddressWithItsScheme) {
    RecordingLauncher launcher;
    openWebAddress(CFixedString(kMakerWebAddress));
    ASSERT_EQ(launcher.launched.size(), 1u);
    EXPECT_EQ(launcher.launched[0].second, "https://corvane-audio.example/");
}

}  // namespace
