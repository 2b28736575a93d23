// Engine set-up costs: construction, sample-rate changes, program loads and conversions.
#include <benchmark/benchmark.h>

#include "engine/Dravenor.h"

// Building an engine: bank copy, delay lines, tables for 44100 Hz.
static void BM_EngineConstruction(benchmark::State& state)
{
    for (auto _ : state) {
        Dravenor engine;
        benchmark::DoNotOptimize(engine.tables);
    }
}
BENCHMARK(BM_EngineConstruction)->Unit(benchmark::kMillisecond);

// Rebuilding the rate-dependent tables (the host's sample-rate change).
static void BM_SetSampleRate(benchmark::State& state)
{
    Dravenor engine;
    double rate = 44100.0;
    for (auto _ : state) {
        engine.setSampleRate(rate);
        rate = rate == 44100.0 ? 48000.0 : 44100.0;
        benchmark::DoNotOptimize(engine.tables->pitchIncTable[7680]);
    }
}
BENCHMARK(BM_SetSampleRate)->Unit(benchmark::kMillisecond);

// A whole program load (reset, 82 conversions, one wave rebuild) without an owner.
static void BM_ProgramLoad(benchmark::State& state)
{
    Dravenor engine;
    int32_t program = 0;
    for (auto _ : state) {
        engine.setProgram(program, true);
        program = (program + 1) % kNumPrograms;
        benchmark::DoNotOptimize(engine.osc1Wave);
    }
}
BENCHMARK(BM_ProgramLoad)->Unit(benchmark::kMicrosecond);

// The conversions alone: all 82 parameters of the current program.
static void BM_ApplyAllParameters(benchmark::State& state)
{
    Dravenor engine;
    engine.setProgram(0, true);
    engine.waveRebuildEnabled = 0;  // conversions only, no wave rebuild
    for (auto _ : state) {
        engine.applyAllParameters();
        benchmark::DoNotOptimize(engine.ampAttackCoef);
    }
}
BENCHMARK(BM_ApplyAllParameters)->Unit(benchmark::kMicrosecond);
