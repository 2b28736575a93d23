#include "tools/validate/BackgroundHost.h"

#include <cmath>
#include <cstdio>

#include "plugin/vst/VstTimeInfo.h"
#include "tools/validate/EventList.h"
#include "tools/validate/HostileValues.h"
#include "tools/validate/MidiFuzzer.h"
#include "tools/validate/PluginModule.h"
#include "tools/validate/Rng.h"

void BackgroundHost::start(Rng& rng) {
    const uint64_t automationSeed = rng.fork();  // forked before the audio seed (see Rng.h)
    const uint64_t audioSeed = rng.fork();
    stop();
    running_.store(true);
    audio_ = std::thread([this, audioSeed] { audioLoop(audioSeed); });
    automation_ = std::thread([this, automationSeed] { automationLoop(automationSeed); });
}

void BackgroundHost::stop() {
    running_.store(false);
    if (audio_.joinable()) audio_.join();
    if (automation_.joinable()) automation_.join();
}

void BackgroundHost::audioLoop(uint64_t seed) {
    Rng rng(seed);
    PluginModule::setAudioThread(true);
    PluginModule::setTimeAnswer(true, 120.0, kVstTempoValid, driver_.sampleRate());
    EventList events;
    while (running_.load(std::memory_order_relaxed)) {
        const int32_t frames = rng.chance(0.5) ? driver_.maxBlock()
                                               : static_cast<int32_t>(rng.range(1, driver_.maxBlock()));
        midifuzz::fill(rng, events, frames, 0.3);
        // Controllers and bends arrive on this thread as well: they set parameters too.
        for (int i = 0; i < 4; ++i) {
            const uint8_t status = rng.chance(0.7) ? 0xB0 : 0xE0;
            // Data bytes, channel and frame, in this order (see Rng.h).
            const auto data = midifuzz::dataBytes(rng);
            const auto channel = static_cast<uint8_t>(rng.below(16));
            const auto frame = static_cast<int32_t>(rng.below(static_cast<uint64_t>(frames)));
            events.addMidi(frame, status | channel, data[0], data[1]);
        }
        driver_.process(events, frames);
        blocks_.fetch_add(1, std::memory_order_relaxed);
    }
    PluginModule::setAudioThread(false);
}

void BackgroundHost::automationLoop(uint64_t seed) {
    Rng rng(seed);
    const int32_t count = plugin_.effect()->numParams;
    uint64_t n = 0;
    while (running_.load(std::memory_order_relaxed)) {
        const int32_t index = hostile::index(rng, count);
        if (rng.chance(0.8)) {
            // Values a host's automation lane holds (the edges included); the hostile values are
            // the single-threaded scenarios' work, so that a fault here is one of concurrency.
            const float value = rng.chance(0.1) ? static_cast<float>(rng.below(2)) : static_cast<float>(rng.unit());
            plugin_.setParameter(rng.chance(0.9) ? static_cast<int32_t>(rng.below(static_cast<uint64_t>(count))) : index,
                                 value);
        } else {
            const float value = plugin_.getParameter(index);
            if (index >= 0 && index < count && !std::isfinite(value)) {
                char message[96];
                std::snprintf(message, sizeof(message), "getParameter(%d) answered a value that is not finite",
                              index);
                plugin_.fault(message);
            }
        }
        // A host's automation arrives in bursts; let the other threads in between.
        if (++n % 32 == 0) std::this_thread::yield();
    }
}
