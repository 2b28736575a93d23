// The editor beside a host whose audio renders on a thread of its own: the audio
// thread lights keys while the UI thread runs the editor's idle steps (atomic flags
// only, checked under ThreadSanitizer in CI), and the wave step buttons step once
// per click whether that thread renders or idles.
#include <atomic>
#include <thread>
#include <vector>

#include "EditorTestSupport.h"

namespace {

VstMidiEvent noteEvent(uint8_t status, uint8_t note, uint8_t velocity) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(note);
    e.midiData[2] = static_cast<char>(velocity);
    return e;
}

TEST_F(EditorFixture, Threads_KeyLightsFromTheAudioThreadWhileIdling) {
    make(1);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> left(128), right(128);
        float* outs[2] = {left.data(), right.data()};
        for (int block = 0; block < 400 && !stop.load(); ++block) {
            const auto note = static_cast<uint8_t>(24 + block % 60);
            VstMidiEvent on = noteEvent(0x90, note, 100), off = noteEvent(0x80, note, 0);
            VstEvents events{};
            events.numEvents = 2;
            events.events[0] = reinterpret_cast<VstEvent*>(&on);
            events.events[1] = reinterpret_cast<VstEvent*>(&off);
            off.deltaFrames = 64;
            synth->processEvents(&events);
            synth->processReplacing(nullptr, outs, 128);
        }
    });
    for (int i = 0; i < 200; ++i) editor->idle();
    stop.store(true);
    audio.join();
    editor->idle();
    for (int32_t k = 0; k < kKeyboardKeys; ++k) EXPECT_FALSE(editor->isKeyHeld(k)) << k;
}

// Each click on a wave step button steps the wave once, whether the host's audio thread renders
// between the editor's idle steps or idles, and however long the button is held; a step past
// either end writes nothing. The host set Osc1W to start before the click.
struct StepClick {
    const char* name;
    bool rendering;  // a block after every idle step; otherwise none until the end
    bool held;       // held over ten idle steps; otherwise pressed and released within one
    bool next;       // the upper half (the next wave); otherwise the lower half (the previous one)
    float start;
    float expected;  // Osc1W's value after the clicks
    int clicks = 1;
};

void PrintTo(const StepClick& c, std::ostream* os) { *os << c.name; }

class WaveStepClick : public EditorFixture, public ::testing::WithParamInterface<StepClick> {};

TEST_P(WaveStepClick, Threads_StepsOncePerClick) {
    const StepClick& c = GetParam();
    make(1);
    synth->setParameter(kParamOsc1Wave, c.start);
    idle();
    AudioThread audio(*synth);
    audio.block();
    const auto step = [&] {
        editor->idle();
        if (c.rendering) audio.block();
    };
    const VSTGUI::CRect r = control(kTagOsc1WaveStep)->getViewSize();
    VSTGUI::CPoint where((r.left + r.right) / 2, c.next ? r.top + r.getHeight() / 4 : r.bottom - r.getHeight() / 4);
    for (int k = 0; k < c.clicks; ++k) {
        frame()->platformOnMouseDown(where, VSTGUI::CButtonState(VSTGUI::kLButton));
        for (int i = 0; c.held && i < 10; ++i) step();
        frame()->platformOnMouseUp(where, VSTGUI::CButtonState(VSTGUI::kLButton));
        step();
    }
    audio.block();  // whatever still waits reaches the engine
    idle();
    const int32_t wave = static_cast<int32_t>(c.expected * 39.99f);
    EXPECT_EQ(live(kParamOsc1Wave), c.expected);
    EXPECT_EQ(synth->getEngine().osc1Wave, wave);
    EXPECT_FLOAT_EQ(control(kParamOsc1Wave)->getValue(), static_cast<float>(wave) / 39.0f);
}

INSTANTIATE_TEST_SUITE_P(Clicks, WaveStepClick,
                         ::testing::Values(StepClick{"RenderingQuickNext", true, false, true, 0.872f, 35 / 39.0f},
                                           StepClick{"RenderingQuickPrevious", true, false, false, 0.872f, 33 / 39.0f},
                                           StepClick{"RenderingHeldNext", true, true, true, 0.872f, 35 / 39.0f},
                                           StepClick{"RenderingHeldPrevious", true, true, false, 0.872f, 33 / 39.0f},
                                           StepClick{"IdleQuickNext", false, false, true, 0.872f, 35 / 39.0f},
                                           StepClick{"IdleQuickPrevious", false, false, false, 0.872f, 33 / 39.0f},
                                           StepClick{"IdleHeldNext", false, true, true, 0.872f, 35 / 39.0f},
                                           StepClick{"IdleHeldPrevious", false, true, false, 0.872f, 33 / 39.0f},
                                           StepClick{"IdleQuickTwiceNext", false, false, true, 0.872f, 36 / 39.0f, 2},
                                           StepClick{"IdlePastTheLast", false, false, true, 0.9999f, 0.9999f},
                                           StepClick{"RenderingBeforeTheFirst", true, true, false, 0.01f, 0.01f}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
