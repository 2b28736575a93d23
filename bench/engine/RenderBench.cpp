// Cost of rendering: one second at 48 kHz in 64-frame blocks with 1, 8 and 20
// voices, per-voice and shared filter, chorus on; and 20 released voices
// decaying. The "voice_samples" counter reads as time per voice-sample.
#include <benchmark/benchmark.h>

#include "tests/engine/EngineRig.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int32_t kBlock = 64;

// An engine rig (the test suite's owner stand-in) with the benchmark's setting.
struct Setup : EngineRig {
    Setup(int32_t program, bool sharedFilter) : EngineRig(kRate, program)
    {
        set(kParamVoiceCount, 0.2f);
        set(kParamSharedFilter, sharedFilter ? 1.0f : 0.0f);
        set(kParamChorusAmount, 0.5f);
        set(kParamAmpSustain, 1.0f); // held notes keep sounding for the whole second
    }
    void notesOn(int voices)
    {
        for (int k = 0; k < voices; ++k) engine->noteOn(static_cast<int8_t>(36 + 2 * k), 100, 0);
    }
    void notesOff(int voices)
    {
        for (int k = 0; k < voices; ++k) engine->noteOff(static_cast<uint8_t>(36 + 2 * k), 0);
    }
    int32_t activeVoices() const
    {
        int32_t n = 0;
        for (const VoiceState& v : engine->voices) n += v.active != 0;
        return n;
    }
    void renderSeconds(double seconds)
    {
        float* out[2] = {left, right};
        for (int32_t done = 0; done < static_cast<int32_t>(kRate * seconds); done += kBlock)
            engine->render(kBlock, out, 1);
        benchmark::DoNotOptimize(left[0]);
    }
    // Called with timing paused: times one second of rendering, then counts the voices still sounding.
    void timedSecond(benchmark::State& state)
    {
        state.ResumeTiming();
        renderSeconds(1.0);
        state.PauseTiming();
        activeAtEnd = activeVoices();
        state.ResumeTiming();
    }
    // Time per voice-sample, and the voices sounding at the end of the last second.
    void report(benchmark::State& state, int voices) const
    {
        state.counters["voice_samples"] = benchmark::Counter(
            kRate * voices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
        state.counters["active_at_end"] = activeAtEnd;
    }
    float left[kBlock]{}, right[kBlock]{};
    int32_t activeAtEnd = 0;
};

// Args: program, shared filter (0/1), voices.
void BM_RenderHeld(benchmark::State& state)
{
    const int voices = static_cast<int>(state.range(2));
    Setup s(static_cast<int32_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        s.engine->reset();
        s.notesOn(voices);
        s.timedSecond(state);
    }
    s.report(state, voices);
}

// 20 voices released after 0.2 s, then one second of their long tails.
void BM_RenderReleased(benchmark::State& state)
{
    Setup s(static_cast<int32_t>(state.range(0)), state.range(1) != 0);
    s.set(kParamAmpRelease, 1.0f); // 15 s release: tails last the whole second
    for (auto _ : state) {
        state.PauseTiming();
        s.engine->reset();
        s.notesOn(20);
        s.renderSeconds(0.2);
        s.notesOff(20);
        s.timedSecond(state);
    }
    s.report(state, 20);
}

} // namespace

BENCHMARK(BM_RenderHeld)
    ->ArgNames({"program", "shared", "voices"})
    ->ArgsProduct({{0, kInitPatchProgram}, {0, 1}, {1, 8, 20}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderReleased)
    ->ArgNames({"program", "shared"})
    ->ArgsProduct({{0, kInitPatchProgram}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
