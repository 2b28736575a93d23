// Threads that keep rebuilding the oscillator waves while the audio side takes
// them at slice starts: the audio side must only ever hold one complete table,
// never a mix of two, and no rebuild request may be lost.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/Dravenor.h"
#include "engine/OscTableExchange.h"
#include "engine/WaveTableBank.h"

namespace {

constexpr int kLength = OscTableExchange::kTableLength;

// Which candidate wave a table holds: 1 sine, 3 square, -1 a mix of both.
int tableKind(const float* table)
{
    const float* sine = WaveTableBank::wave(1);
    const float* square = WaveTableBank::wave(3);
    bool isSine = true, isSquare = true;
    for (int i = 0; i < kLength - 1; ++i) {
        isSine = isSine && table[i] == sine[i % 2048];
        isSquare = isSquare && table[i] == square[i % 2048];
    }
    return isSine ? 1 : (isSquare ? 3 : -1);
}

void fill(float* table, int wave)
{
    for (int i = 0; i < kLength - 1; ++i) table[i] = WaveTableBank::wave(wave)[i % 2048];
    table[kLength - 1] = 0.0f;
}

} // namespace

TEST(WaveHandOver, EngineAudioSideNeverHoldsAHalfBuiltTable)
{
    auto e = std::make_unique<Dravenor>();
    e->osc1Wave = 1;
    e->osc1Drive = 1.0f;
    e->updateWaveforms();
    e->acquireWaveforms();
    Dravenor* engine = e.get();

    std::atomic<bool> stop{false};
    std::atomic<int> rebuilds{0};
    // The UI side: the only writer of the wave selection, alternating sine and square.
    std::thread ui([&] {
        for (int k = 0; !stop.load(); ++k) {
            engine->osc1Wave = (k % 2) ? 3 : 1;
            engine->updateWaveforms();
            rebuilds.fetch_add(1);
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    });
    int mixes = 0, changes = 0, last = 1;
    for (int slice = 0; slice < 200000 && (slice < 5000 || changes < 20); ++slice) {
        engine->acquireWaveforms();
        const int kind = tableKind(engine->osc1Table);
        if (kind < 0) ++mixes;
        if (kind != last) ++changes;
        last = kind;
    }
    stop.store(true);
    ui.join();
    EXPECT_EQ(mixes, 0);
    EXPECT_GT(changes, 0);
}

TEST(WaveHandOver, TwoBuildersAndOneReader)
{
    auto exchange = std::make_unique<OscTableExchange>();
    std::atomic<bool> stop{false};
    auto builder = [&](int wave) {
        while (!stop.load()) {
            exchange->rebuild([wave](float* t1, float* t2) -> uint8_t {
                fill(t1, wave);
                fill(t2, wave);
                return 1;
            });
            // Rebuilds follow parameter changes, far apart compared with one
            // hand-over; back-to-back rebuilds would keep the reader waiting.
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    };
    std::thread a(builder, 1), b(builder, 3);
    auto t1 = std::make_unique<float[]>(kLength);
    auto t2 = std::make_unique<float[]>(kLength);
    fill(t1.get(), 1);
    fill(t2.get(), 1);
    uint8_t sounding = 0;
    int mixes = 0, taken = 0;
    for (int slice = 0; slice < 2000000 && taken < 50; ++slice) {
        std::this_thread::yield(); // slices are far apart too
        if (!exchange->acquire(t1.get(), t2.get(), sounding)) continue;
        ++taken;
        const int k1 = tableKind(t1.get()), k2 = tableKind(t2.get());
        if (k1 < 0 || k1 != k2) ++mixes;
    }
    stop.store(true);
    a.join();
    b.join();
    EXPECT_EQ(mixes, 0);
    EXPECT_GT(taken, 0);
    EXPECT_EQ(sounding, 1);
}

TEST(WaveHandOver, LastRequestIsAlwaysBuilt)
{
    // After every builder has returned, the published tables reflect the last
    // request, even when that request was handed to another thread.
    auto exchange = std::make_unique<OscTableExchange>();
    std::atomic<int> selection{1};
    auto t1 = std::make_unique<float[]>(kLength);
    auto t2 = std::make_unique<float[]>(kLength);
    uint8_t sounding = 0;
    for (int round = 0; round < 200; ++round) {
        auto request = [&](int wave) {
            selection.store(wave);
            exchange->rebuild([&](float* a, float* b) -> uint8_t {
                const int w = selection.load();
                fill(a, w);
                fill(b, w);
                return 1;
            });
        };
        std::thread x(request, 1), y(request, 3);
        x.join();
        y.join();
        exchange->acquire(t1.get(), t2.get(), sounding);
        EXPECT_EQ(tableKind(t1.get()), selection.load()) << "round " << round;
    }
}
