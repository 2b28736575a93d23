#pragma once
// Drives a plug-in's audio side the way a host does (activation with a rate
// and a largest block, events then processReplacing per block) and checks
// every block: each output sample written and finite, nothing written outside
// the block, no input touched. Ends a scenario with the hanging-note check.
// One thread at a time: the host's audio thread while running, else the UI thread.

#include <cstdint>
#include <vector>

#include "tools/validate/EventList.h"
#include "tools/validate/PluginInstance.h"

class AudioDriver {
public:
    static constexpr int32_t kMaxBlock = 8192;     // largest block any scenario sends, frames
    static constexpr int32_t kGuardFrames = 1024;  // frames watched past the block and before it
    static constexpr float kSilence = 1.0e-4f;     // -80 dBFS: below this an output is silent

    // A driver for plugin (not owned) with guarded buffers of kMaxBlock frames. UI thread.
    explicit AudioDriver(PluginInstance& plugin);

    // Switches off, sets rate and largest block, switches on. UI thread, audio stopped.
    void activate(float sampleRate, int32_t maxBlock);
    // The rate and largest block of the last activate. Any thread.
    float sampleRate() const { return sampleRate_; }
    int32_t maxBlock() const { return maxBlock_; }

    // Sends events (when not empty) and renders one block of frames (1..maxBlock); checks it.
    // Returns the block's peak magnitude. Audio thread.
    float process(EventList& events, int32_t frames);
    // Releases everything (sustain off, a note-off for every note on every channel, at most
    // `perBlock` events a block) and renders until the output stays silent for 100 ms or
    // releaseSeconds have passed; a fault when it never falls silent and its RMS level at
    // the end is not clearly below its level at half that time. Audio thread.
    void checkRelease(double releaseSeconds, int32_t perBlock = 64);
    // Peak magnitude of every block since construction.
    float peak() const { return peak_; }

private:
    void checkBlock(int32_t frames);

    PluginInstance& plugin_;
    float sampleRate_ = 44100.0f;
    int32_t maxBlock_ = 1024;
    float peak_ = 0.0f;
    float lastPeak_ = 0.0f;
    double lastSquares_ = 0.0;  // sum of the squared samples of the last block, all outputs
    int32_t faultsReported_ = 0;
    std::vector<std::vector<float>> outputs_;  // guard, block, guard per channel
    std::vector<std::vector<float>> inputs_;
    std::vector<float*> outputPointers_;
    std::vector<float*> inputPointers_;
};
