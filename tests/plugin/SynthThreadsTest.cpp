// VstXSynth across threads: while the host processes, a change made on a thread
// that does not render is live at once (getParameter, editor nodes) and reaches the
// engine at the renderer's next call, in order; a full queue loses nothing; suspend
// and the rendering thread itself apply at once. All three threads at once, under
// ThreadSanitizer: validate.threads and validate.editor (tests/tools).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "SynthUnitSupport.h"

namespace {

constexpr int32_t kFrames = 64;

// Voice count n travels as n x 0.01.
float voices(int32_t n) { return static_cast<float>(n) * 0.01f; }

class SynthThreads : public ScriptedHostTest {
protected:
    void SetUp() override {
        ScriptedHostTest::SetUp();
        synth = std::make_unique<VstXSynth>(&ScriptedHost::callback, &RecordingEditor::make);
        synth->resume();
        audioBlock();  // names the audio thread: this one no longer renders
    }
    // One block rendered on a thread of its own, as a host's audio thread does; then `after` there.
    void audioBlock(const std::function<void()>& after = {}) {
        std::thread audio([&] {
            float left[kFrames], right[kFrames];
            float* outputs[2] = {left, right};
            synth->processReplacing(nullptr, outputs, kFrames);
            if (after) after();
        });
        audio.join();
    }
    int32_t drainNodes() {
        int32_t n = 0;
        for (ParamChange change{}; synth->getParamChanges().takeNext(change);) ++n;
        return n;
    }
    int32_t storedVoiceMode(int32_t program) {
        return static_cast<int32_t>((*synth->getProgramBank())[program].value[kParamVoiceMode] * 2.01f);
    }
    Dravenor& engine() { return synth->getEngine(); }
    std::unique_ptr<VstXSynth> synth;
};

}  // namespace

TEST_F(SynthThreads, ChangesFromOtherThreadsAreLiveAtOnceAndReachTheEngineAtTheNextBlock) {
    synth->setParameter(kParamVoiceCount, voices(12));
    audioBlock();
    synth->setParameter(kParamVoiceCount, voices(3));
    synth->setParameter(kParamVoiceMode, 1.0f);
    EXPECT_FLOAT_EQ(synth->getParameter(kParamVoiceCount), voices(3));
    EXPECT_EQ(engine().voiceCount, 12);  // the audio thread has not taken it yet
    audioBlock();
    EXPECT_EQ(engine().voiceCount, 3);
    EXPECT_EQ(engine().voiceMode, 2);
    int32_t seen = 0;  // a change on the rendering thread itself acts at once
    audioBlock([&] {
        synth->setParameter(kParamVoiceCount, voices(5));
        seen = engine().voiceCount;
    });
    EXPECT_EQ(seen, 5);
    // Suspend applies what is queued; after it, changes act at once.
    synth->setParameter(kParamVoiceCount, voices(4));
    synth->suspend();
    EXPECT_EQ(engine().voiceCount, 4);
    synth->setParameter(kParamVoiceCount, voices(6));
    EXPECT_EQ(engine().voiceCount, 6);
}

TEST_F(SynthThreads, QueuedWaveChangesRebuildTheWavesForTheNextBlock) {
    synth->setParameter(kParamOsc1Wave, 0.0f);
    synth->setParameter(kParamOsc2Wave, 0.0f);
    audioBlock();
    EXPECT_EQ(engine().sounding, 0);  // both oscillators off
    // Many turns of the knob between two blocks; the last one counts.
    for (int32_t n = 0; n < 300; ++n) synth->setParameter(kParamOsc1Wave, static_cast<float>(n % 2));
    synth->setParameter(kParamOsc1Wave, 3.0f / 39.0f);
    audioBlock();
    EXPECT_EQ(engine().osc1Wave, 3);
    EXPECT_EQ(engine().sounding, 1);
    synth->setParameter(kParamOsc1Wave, 0.0f);
    audioBlock();
    EXPECT_EQ(engine().sounding, 0);
}

TEST_F(SynthThreads, ProgramChangesTellTheEditorAtOnceAndLoadAtTheNextBlockEvenFromAFullQueue) {
    RecordingEditor::last->open(this);
    drainNodes();
    synth->setProgram(127);
    EXPECT_EQ(synth->getProgram(), 127);
    const ProgramRecord& record = (*synth->getProgramBank())[127];
    for (int32_t i = 0; i < kNumParams; ++i) EXPECT_FLOAT_EQ(synth->getParameter(i), record.value[i]) << i;
    EXPECT_EQ(drainNodes(), kNumParams);
    EXPECT_EQ(RecordingEditor::last->refreshes, 1);
    // A change after the program change wins over the program's value.
    synth->setParameter(kParamVoiceCount, voices(7));
    audioBlock();
    EXPECT_EQ(engine().currentProgram, 127);
    EXPECT_EQ(engine().voiceCount, 7);
    EXPECT_EQ(engine().voiceMode, storedVoiceMode(127));
    RecordingEditor::last->close();
    // Far more changes than places between two blocks: the last ones find the queue full.
    for (uint32_t k = 0; k < EngineChangeQueue::kCapacity + 200; ++k) {
        synth->setParameter(kParamVoiceCount, voices(static_cast<int32_t>(k % 3) + 1));
    }
    synth->setParameter(kParamVoiceCount, voices(9));
    audioBlock();
    EXPECT_EQ(engine().voiceCount, 9);
    for (uint32_t k = 0; k < EngineChangeQueue::kCapacity; ++k) synth->setParameter(kParamVoiceMode, 0.0f);
    synth->setProgram(42);
    audioBlock();
    EXPECT_EQ(engine().currentProgram, 42);
    EXPECT_EQ(engine().voiceMode, storedVoiceMode(42));
}
