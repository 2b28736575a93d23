// The audio thread lights keys while the UI thread runs the editor's idle steps:
// the hand-over is atomic flags only (checked under ThreadSanitizer in CI).
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

}  // namespace
