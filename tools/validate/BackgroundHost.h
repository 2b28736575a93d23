#pragma once
// The host's other threads while the UI thread works: an audio thread that
// sends MIDI and renders block after block, and an automation thread that
// sets parameters with hostile values. Start after activation, stop before
// the next one (a host never changes the rate while it renders).

#include <atomic>
#include <cstdint>
#include <thread>

#include "tools/validate/AudioDriver.h"
#include "tools/validate/PluginInstance.h"
#include "tools/validate/Rng.h"

class BackgroundHost {
public:
    BackgroundHost(PluginInstance& plugin, AudioDriver& driver) : plugin_(plugin), driver_(driver) {}
    // Stops the threads.
    ~BackgroundHost() { stop(); }
    BackgroundHost(const BackgroundHost&) = delete;
    BackgroundHost& operator=(const BackgroundHost&) = delete;

    // Starts both threads, each with a seed forked from the UI thread's stream. UI thread.
    void start(Rng& rng);
    // Asks both threads to end and waits for them. UI thread.
    void stop();
    // Blocks rendered so far. Any thread.
    uint64_t blocks() const { return blocks_.load(std::memory_order_relaxed); }

private:
    void audioLoop(uint64_t seed);
    void automationLoop(uint64_t seed);

    PluginInstance& plugin_;
    AudioDriver& driver_;
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> blocks_{0};
    std::thread audio_;
    std::thread automation_;
};
