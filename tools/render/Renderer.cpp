#include "tools/render/Renderer.h"

#include "tools/common/MidiEventRecord.h"

#include <chrono>
#include <cmath>
#include <vector>

double Renderer::play(PluginHost& host, const MidiSequence& sequence, double tailSeconds, const BlockSink& sink) {
    const double rate = host.settings.sampleRate;
    const int32_t block = host.settings.blockSize;
    const auto& events = sequence.events();
    const int64_t totalFrames = Renderer::frames(sequence, tailSeconds, rate);
    std::vector<VstMidiEvent> pending;
    std::size_t next = 0;
    std::chrono::steady_clock::duration spent{};
    for (int64_t start = 0; start < totalFrames; start += block) {
        const auto frames = static_cast<int32_t>(std::min<int64_t>(block, totalFrames - start));
        pending.clear();
        while (next < events.size()) {
            auto frame = static_cast<int64_t>(std::llround(events[next].seconds * rate));
            if (frame >= start + frames) break;
            const auto& bytes = events[next].bytes;
            VstMidiEvent event = midiEventRecord(static_cast<int32_t>(std::max<int64_t>(frame - start, 0)),
                                                 bytes[0], bytes[1], bytes[2]);
            event.flags = kVstMidiEventIsRealtime;
            pending.push_back(event);
            ++next;
        }
        auto before = std::chrono::steady_clock::now();
        if (!pending.empty()) host.sendEvents(pending.data(), static_cast<int32_t>(pending.size()));
        host.process(frames);
        spent += std::chrono::steady_clock::now() - before;
        if (!sink(frames)) return -1.0;
    }
    return std::chrono::duration<double>(spent).count();
}

int64_t Renderer::frames(const MidiSequence& sequence, double tailSeconds, double rate) {
    return static_cast<int64_t>(std::ceil((sequence.lengthSeconds() + tailSeconds) * rate));
}
