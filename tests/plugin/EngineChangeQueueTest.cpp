// EngineChangeQueue: order across laps, the lost mask of a full queue, and several
// producers racing one consumer (run under ThreadSanitizer in CI).
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "plugin/EngineChangeQueue.h"

namespace {

std::vector<EngineChange> drainAll(EngineChangeQueue& queue) {
    std::vector<EngineChange> out;
    queue.drain([&](const EngineChange& change) { out.push_back(change); });
    return out;
}

}  // namespace

TEST(EngineChangeQueueThreads, KeepsOrderOverManyLapsAndMarksWhatAFullQueueLost) {
    auto queue = std::make_unique<EngineChangeQueue>();
    int32_t next = 0, expected = 0;
    // Batches of odd sizes walk the places across the end of the ring many times.
    for (int32_t batch : {1, 700, 1024, 3, 1000, 999, 1024, 17}) {
        for (int32_t i = 0; i < batch; ++i) ASSERT_TRUE(queue->push({EngineChange::kParameter, next++ % 92, 0.0f}));
        const std::vector<EngineChange> out = drainAll(*queue);
        ASSERT_EQ(out.size(), static_cast<std::size_t>(batch));
        for (const EngineChange& change : out) EXPECT_EQ(change.index, expected++ % 92);
        EXPECT_TRUE(queue->empty());
    }
    EXPECT_EQ(queue->takeLost(), 0u);
    for (uint32_t i = 0; i < EngineChangeQueue::kCapacity; ++i) queue->push({EngineChange::kParameter, 1, 0.5f});
    EXPECT_FALSE(queue->push({EngineChange::kProgram, 5, 0.0f}));
    EXPECT_FALSE(queue->push({EngineChange::kWheelBend, 86, 0.25f}));
    EXPECT_EQ(queue->takeLost(), (1u << EngineChange::kProgram) | (1u << EngineChange::kWheelBend));
    EXPECT_EQ(queue->takeLost(), 0u);  // taken once
    // What was queued before the overflow is all there, and room is back after a drain.
    EXPECT_EQ(drainAll(*queue).size(), EngineChangeQueue::kCapacity);
    EXPECT_TRUE(queue->push({EngineChange::kProgram, 7, 0.0f}));
    const std::vector<EngineChange> out = drainAll(*queue);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, EngineChange::kProgram);
    EXPECT_EQ(out[0].index, 7);
}

TEST(EngineChangeQueueThreads, ProducersRacingOneConsumerKeepTheirOwnOrder) {
    constexpr int32_t kProducers = 4;
    constexpr int32_t kPerProducer = 20000;
    auto queue = std::make_unique<EngineChangeQueue>();
    std::atomic<int32_t> done{0};
    std::vector<std::thread> producers;
    for (int32_t p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int32_t n = 0; n < kPerProducer; ++n) {
                // This test wants every change delivered: wait for room instead of losing it.
                while (!queue->push({EngineChange::kParameter, p, static_cast<float>(n)})) std::this_thread::yield();
            }
            done.fetch_add(1);
        });
    }
    std::vector<int32_t> nextOf(kProducers, 0);
    bool ordered = true;
    auto take = [&](const EngineChange& change) {
        ordered = ordered && change.value == static_cast<float>(nextOf[change.index]);
        ++nextOf[change.index];
    };
    while (done.load() < kProducers) queue->drain(take);
    for (std::thread& t : producers) t.join();
    queue->drain(take);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(nextOf, std::vector<int32_t>(kProducers, kPerProducer));
}
