// ParamChangeList on its own: shutting down, and several producers racing one
// consumer (the plug-in's own use is tested through VstXSynth).
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "plugin/ParamChangeList.h"

TEST(ParamChangeList, ShutDownFreesEverythingAndStopsAppendingAndReading) {
    auto list = std::make_unique<ParamChangeList>();
    list->consumerFrees = 1;
    list->append(1, 0.1f);
    list->append(2, 0.2f);
    list->shutDown();
    EXPECT_EQ(list->allocatedNodes(), 0);
    EXPECT_FALSE(list->append(3, 0.3f));
    ParamChange change{};
    EXPECT_FALSE(list->takeNext(change));
}

// Two producers (say host automation and the audio thread's MIDI) and the consumer
// run at once: every change arrives exactly once with its value, each producer's in
// its own order, and nothing stays allocated but the newest node.
TEST(ParamChangeListThreads, TwoProducersOneConsumer) {
    auto list = std::make_unique<ParamChangeList>();
    list->consumerFrees = 1;
    constexpr int32_t kPerProducer = 20000;
    auto produce = [&](int32_t producer) {
        for (int32_t i = 0; i < kPerProducer; ++i) {
            // Index tells the producer, value the sequence number.
            while (!list->append(producer, static_cast<float>(i))) std::this_thread::yield();
        }
    };
    std::vector<int32_t> received(2, 0);
    bool ordered = true;
    std::thread consumer([&] {
        ParamChange change{};
        for (int32_t total = 0; total < 2 * kPerProducer;) {
            if (!list->takeNext(change)) {
                std::this_thread::yield();
                continue;
            }
            auto producer = static_cast<std::size_t>(change.index);
            if (producer > 1 || change.kind != 3u || change.value != static_cast<float>(received[producer])) {
                ordered = false;
            }
            if (producer <= 1) ++received[producer];
            ++total;
        }
    });
    std::thread first(produce, 0);
    std::thread second(produce, 1);
    first.join();
    second.join();
    consumer.join();
    EXPECT_TRUE(ordered);
    EXPECT_EQ(received, (std::vector<int32_t>{kPerProducer, kPerProducer}));
    EXPECT_EQ(list->allocatedNodes(), 1);
}
