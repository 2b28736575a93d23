#include <benchmark/benchmark.h>

#include "engine/Dravenor.h"

// Cost of building an engine (bank copy, delay lines, tables for 44100 Hz).
static void BM_EngineConstruction(benchmark::State& state)
{
    for (auto _ : state) {
        Dravenor engine;
        benchmark::DoNotOptimize(engine.tables);
    }
}
BENCHMARK(BM_EngineConstruction)->Unit(benchmark::kMillisecond);
