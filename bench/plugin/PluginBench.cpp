// Benchmarks: a block of Quilm.so through the host interface with a number of
// held notes, a block with a hundred note events, and the parameter-change
// list's append and take.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "plugin/ParamChangeList.h"
#include "tools/render/PluginHost.h"

namespace {

VstMidiEvent noteOn(int32_t frame, uint8_t note) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = frame;
    event.midiData[0] = static_cast<char>(0x90);
    event.midiData[1] = static_cast<char>(note);
    event.midiData[2] = 100;
    return event;
}

std::unique_ptr<PluginHost> startModule(benchmark::State& state, int32_t blockSize) {
    auto host = std::make_unique<PluginHost>();
    host->settings.blockSize = blockSize;
    std::string error;
    if (!host->load(QUILM_MODULE_PATH, error)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    host->start();
    host->setParameter(10, 1.0f);  // Amp-Sus: held notes keep sounding
    return host;
}

// Args: held notes, block size in frames.
void BM_ProcessBlock(benchmark::State& state) {
    const auto notes = static_cast<int32_t>(state.range(0));
    const auto frames = static_cast<int32_t>(state.range(1));
    auto host = startModule(state, frames);
    if (!host) return;
    for (int32_t i = 0; i < notes; ++i) {
        VstMidiEvent event = noteOn(0, static_cast<uint8_t>(48 + 3 * i));
        host->sendEvents(&event, 1);
    }
    host->process(frames);
    for (auto _ : state) {
        host->process(frames);
        benchmark::DoNotOptimize(host->output(0).data());
    }
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["realtime_x"] = benchmark::Counter(
        static_cast<double>(frames) / 44100.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProcessBlock)->Args({0, 512})->Args({1, 512})->Args({6, 512})->Args({12, 512})->Args({12, 64});

// A block that carries a hundred note events (note-ons and note-offs in turn).
void BM_HundredNotesInABlock(benchmark::State& state) {
    constexpr int32_t kFrames = 256;
    auto host = startModule(state, kFrames);
    if (!host) return;
    std::vector<VstMidiEvent> events;
    for (int32_t i = 0; i < 100; ++i) {
        VstMidiEvent event = noteOn(i * 2, static_cast<uint8_t>(36 + i % 48));
        if (i % 2 == 1) event.midiData[0] = static_cast<char>(0x80);
        events.push_back(event);
    }
    for (auto _ : state) {
        host->sendEvents(events.data(), static_cast<int32_t>(events.size()));
        host->process(kFrames);
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_HundredNotesInABlock);

// One change appended and taken, as between a producer and the editor's idle step.
void BM_ParamChangeAppendTake(benchmark::State& state) {
    auto list = std::make_unique<ParamChangeList>();
    list->consumerFrees = 1;
    ParamChange change{};
    int32_t index = 0;
    for (auto _ : state) {
        list->append(index, 0.5f);
        list->takeNext(change);
        index = (index + 1) % 82;
        benchmark::DoNotOptimize(change);
    }
}
BENCHMARK(BM_ParamChangeAppendTake);

}  // namespace

BENCHMARK_MAIN();
