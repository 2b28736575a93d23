// Threads that keep rebuilding the oscillator waves while the audio side takes them at
// slice starts: the audio side must only ever hold one complete table, never a mix of two,
// and no rebuild request may be lost.
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
    bool isSine = true, isSquare = true;
    for (int i = 0; i < kLength - 1; ++i) {
        isSine = isSine && table[i] == WaveTableBank::wave(1)[i % 2048];
        isSquare = isSquare && table[i] == WaveTableBank::wave(3)[i % 2048];
    }
    return isSine ? 1 : (isSquare ? 3 : -1);
}

uint8_t fill(float* t1, float* t2, int wave)
{
    for (float* table : {t1, t2}) {
        for (int i = 0; i < kLength - 1; ++i) table[i] = WaveTableBank::wave(wave)[i % 2048];
        table[kLength - 1] = 0.0f;
    }
    return 1;
}

// Rebuilds follow parameter changes, far apart compared with one hand-over.
void waitAWhile() { std::this_thread::sleep_for(std::chrono::microseconds(20)); }

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
    std::thread ui([&] {  // the only writer of the wave selection, alternating sine and square
        for (int k = 0; !stop.load(); ++k) {
            engine->osc1Wave = (k % 2) ? 3 : 1;
            engine->updateWaveforms();
            waitAWhile();
        }
    });
    int mixes = 0, changes = 0, last = 1;
    for (int slice = 0; slice < 200000 && (slice < 5000 || changes < 20); ++slice) {
        engine->acquireWaveforms();
        const int kind = tableKind(engine->osc1Table);
        mixes += kind < 0;
        changes += kind != last;
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
            exchange->rebuild([wave](float* t1, float* t2) { return fill(t1, t2, wave); });
            waitAWhile();
        }
    };
    std::thread a(builder, 1), b(builder, 3);
    auto t1 = std::make_unique<float[]>(kLength), t2 = std::make_unique<float[]>(kLength);
    fill(t1.get(), t2.get(), 1);
    uint8_t sounding = 0;
    int mixes = 0, taken = 0;
    for (int slice = 0; slice < 2000000 && taken < 50; ++slice) {
        std::this_thread::yield();  // slices are far apart too
        if (!exchange->acquire(t1.get(), t2.get(), sounding)) continue;
        ++taken;
        const int k1 = tableKind(t1.get()), k2 = tableKind(t2.get());
        mixes += k1 < 0 || k1 != k2;
    }
    stop.store(true);
    a.join();
    b.join();
    EXPECT_EQ(mixes, 0);
    EXPECT_GT(taken, 0);
    EXPECT_EQ(sounding, 1);
}

// After every builder has returned, the published tables reflect the last request, even
// when that request was handed to another thread.
TEST(WaveHandOver, LastRequestIsAlwaysBuilt)
{
    auto exchange = std::make_unique<OscTableExchange>();
    std::atomic<int> selection{1};
    auto t1 = std::make_unique<float[]>(kLength), t2 = std::make_unique<float[]>(kLength);
    uint8_t sounding = 0;
    for (int round = 0; round < 200; ++round) {
        auto request = [&](int wave) {
            selection.store(wave);
            exchange->rebuild([&](float* a, float* b) { return fill(a, b, selection.load()); });
        };
        std::thread x(request, 1), y(request, 3);
        x.join();
        y.join();
        exchange->acquire(t1.get(), t2.get(), sounding);
        EXPECT_EQ(tableKind(t1.get()), selection.load()) << "round " << round;
    }
}
