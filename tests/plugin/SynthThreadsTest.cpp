// VstXSynth across threads: while the host processes, a change made on a
// thread that does not render is live at once (getParameter, editor nodes) and
// reaches the engine at the renderer's next call, in order; a full queue loses
// nothing; suspend and the rendering thread itself apply at once.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "SynthUnitSupport.h"

namespace {

constexpr int32_t kFrames = 64;

// One block rendered on a thread of its own, the way a host's audio thread does.
void audioBlock(VstXSynth& synth) {
    std::thread audio([&synth] {
        std::vector<float> left(kFrames), right(kFrames);
        float* outputs[2] = {left.data(), right.data()};
        synth.processReplacing(nullptr, outputs, kFrames);
    });
    audio.join();
}

// Voice count n travels as n x 0.01.
float voices(int32_t n) { return static_cast<float>(n) * 0.01f; }

int32_t drainNodes(VstXSynth& synth) {
    int32_t n = 0;
    ParamChange change{};
    while (synth.getParamChanges().takeNext(change)) ++n;
    return n;
}

class SynthThreads : public ScriptedHostTest {
protected:
    void SetUp() override {
        ScriptedHostTest::SetUp();
        synth = std::make_unique<VstXSynth>(&ScriptedHost::callback, &RecordingEditor::make);
        synth->resume();
        audioBlock(*synth);  // names the audio thread: this one no longer renders
    }
    Dravenor& engine() { return synth->getEngine(); }
    std::unique_ptr<VstXSynth> synth;
};

}  // namespace

TEST_F(SynthThreads, AutomationIsLiveAtOnceAndReachesTheEngineAtTheNextBlock) {
    synth->setParameter(kParamVoiceCount, voices(12));
    audioBlock(*synth);
    synth->setParameter(kParamVoiceCount, voices(3));
    synth->setParameter(kParamVoiceMode, 1.0f);
    EXPECT_FLOAT_EQ(synth->getParameter(kParamVoiceCount), voices(3));
    EXPECT_EQ(engine().voiceCount, 12);  // the audio thread has not taken it yet
    audioBlock(*synth);
    EXPECT_EQ(engine().voiceCount, 3);
    EXPECT_EQ(engine().voiceMode, 2);
}

TEST_F(SynthThreads, QueuedWaveChangesRebuildTheWavesForTheNextBlock) {
    synth->setParameter(kParamOsc1Wave, 0.0f);
    synth->setParameter(kParamOsc2Wave, 0.0f);
    audioBlock(*synth);
    EXPECT_EQ(engine().sounding, 0);  // both oscillators off
    // Many turns of the knob between two blocks; the last one counts.
    for (int32_t n = 0; n < 300; ++n) synth->setParameter(kParamOsc1Wave, static_cast<float>(n % 2));
    synth->setParameter(kParamOsc1Wave, 3.0f / 39.0f);
    audioBlock(*synth);
    EXPECT_EQ(engine().osc1Wave, 3);
    EXPECT_EQ(engine().sounding, 1);
    synth->setParameter(kParamOsc1Wave, 0.0f);
    audioBlock(*synth);
    EXPECT_EQ(engine().sounding, 0);
}

TEST_F(SynthThreads, ProgramChangeTellsTheEditorAtOnceAndLoadsAtTheNextBlock) {
    RecordingEditor::last->open(this);
    drainNodes(*synth);
    const ProgramRecord& record = (*synth->getProgramBank())[127];
    synth->setProgram(127);
    EXPECT_EQ(synth->getProgram(), 127);
    for (int32_t i = 0; i < kNumParams; ++i) EXPECT_FLOAT_EQ(synth->getParameter(i), record.value[i]) << i;
    EXPECT_EQ(drainNodes(*synth), kNumParams);
    EXPECT_EQ(RecordingEditor::last->refreshes, 1);
    // A change after the program change wins over the program's value.
    synth->setParameter(kParamVoiceCount, voices(7));
    audioBlock(*synth);
    EXPECT_EQ(engine().currentProgram, 127);
    EXPECT_EQ(engine().voiceCount, 7);
    EXPECT_EQ(engine().voiceMode, static_cast<int32_t>(record.value[kParamVoiceMode] * 2.01f));
    RecordingEditor::last->close();
}

TEST_F(SynthThreads, FullQueueLosesNoValueAndNoProgramLoad) {
    // Far more changes than places between two blocks; the last ones find the queue full.
    for (uint32_t k = 0; k < EngineChangeQueue::kCapacity + 200; ++k) {
        synth->setParameter(kParamVoiceCount, voices(static_cast<int32_t>(k % 3) + 1));
    }
    synth->setParameter(kParamVoiceCount, voices(9));
    audioBlock(*synth);
    EXPECT_EQ(engine().voiceCount, 9);

    for (uint32_t k = 0; k < EngineChangeQueue::kCapacity; ++k) synth->setParameter(kParamVoiceMode, 0.0f);
    synth->setProgram(42);
    audioBlock(*synth);
    EXPECT_EQ(engine().currentProgram, 42);
    const ProgramRecord& record = (*synth->getProgramBank())[42];
    EXPECT_EQ(engine().voiceMode, static_cast<int32_t>(record.value[kParamVoiceMode] * 2.01f));
}

TEST_F(SynthThreads, SuspendAppliesWhatIsQueuedAndLaterChangesActAtOnce) {
    synth->setParameter(kParamVoiceCount, voices(4));
    synth->suspend();
    EXPECT_EQ(engine().voiceCount, 4);
    synth->setParameter(kParamVoiceCount, voices(6));
    EXPECT_EQ(engine().voiceCount, 6);
}

TEST_F(SynthThreads, ChangesOnTheRenderingThreadActAtOnce) {
    int32_t seen = 0;
    std::thread audio([&] {
        std::vector<float> left(kFrames), right(kFrames);
        float* outputs[2] = {left.data(), right.data()};
        synth->processReplacing(nullptr, outputs, kFrames);
        synth->setParameter(kParamVoiceCount, voices(5));
        seen = engine().voiceCount;
    });
    audio.join();
    EXPECT_EQ(seen, 5);
}

TEST_F(SynthThreads, AutomationProgramsAndMidiWhileRendering) {
    // Under ThreadSanitizer this shows any unsynchronised hand-over; here it also checks
    // that the engine ends up with the live values.
    RecordingEditor::last->open(this);
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> left(kFrames), right(kFrames);
        float* outputs[2] = {left.data(), right.data()};
        VstMidiEvent controller{};
        controller.type = kVstMidiType;
        controller.byteSize = sizeof(VstMidiEvent);
        controller.midiData[0] = static_cast<char>(0xB0);
        controller.midiData[1] = 20;  // controller 20 -> parameter 4
        VstEvents events{};
        events.numEvents = 1;
        events.events[0] = reinterpret_cast<VstEvent*>(&controller);
        for (int32_t block = 0; running.load() || block < 50; ++block) {
            controller.midiData[2] = static_cast<char>(block & 0x7F);
            synth->processEvents(&events);
            synth->processReplacing(nullptr, outputs, kFrames);
        }
    });
    std::thread automation([&] {
        for (int32_t n = 0; n < 5000; ++n) synth->setParameter(n % kNumParams, static_cast<float>(n % 101) / 100.0f);
    });
    for (int32_t n = 0; n < 20; ++n) {
        synth->setProgram(n);
        synth->setParameterAutomated(kTagPitchWheel, 0.25f);
        drainNodes(*synth);
    }
    automation.join();
    synth->setParameter(kParamVoiceCount, voices(8));
    running.store(false);
    audio.join();
    synth->suspend();
    EXPECT_EQ(engine().voiceCount, 8);
    EXPECT_EQ(engine().voiceMode, static_cast<int32_t>(synth->getParameter(kParamVoiceMode) * 2.01f));
    drainNodes(*synth);
    RecordingEditor::last->close();
}
