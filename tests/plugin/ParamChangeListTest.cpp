// ParamChangeList on its own: order, the newest-node rule, the pool limit, and
// (in the threads test) several producers racing one consumer.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "plugin/ParamChangeList.h"

namespace {

std::unique_ptr<ParamChangeList> makeList() {
    auto list = std::make_unique<ParamChangeList>();
    list->consumerFrees = 1;
    return list;
}

std::vector<int32_t> drain(ParamChangeList& list) {
    std::vector<int32_t> indexes;
    ParamChange change{};
    while (list.takeNext(change)) {
        EXPECT_EQ(change.kind, 3u);
        indexes.push_back(change.index);
    }
    return indexes;
}

}  // namespace

TEST(ParamChangeList, KeepsOrderAndValues) {
    auto list = makeList();
    ParamChange change{};
    EXPECT_FALSE(list->takeNext(change));
    for (int32_t i = 0; i < 5; ++i) ASSERT_TRUE(list->append(i, static_cast<float>(i) / 10.0f));
    for (int32_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(list->takeNext(change));
        EXPECT_EQ(change.index, i);
        EXPECT_EQ(change.value, static_cast<float>(i) / 10.0f);
    }
    EXPECT_FALSE(list->takeNext(change));
}

TEST(ParamChangeList, TheNewestNodeIsFreedOnlyWhenANewerOneExists) {
    auto list = makeList();
    for (int32_t i = 0; i < 3; ++i) list->append(i, 0.5f);
    EXPECT_EQ(list->allocatedNodes(), 3);
    EXPECT_EQ(drain(*list).size(), 3u);
    EXPECT_EQ(list->allocatedNodes(), 1);
    list->append(7, 0.5f);
    EXPECT_EQ(list->allocatedNodes(), 2);
    EXPECT_EQ(drain(*list), std::vector<int32_t>{7});
    EXPECT_EQ(list->allocatedNodes(), 1);
}

TEST(ParamChangeList, WithoutConsumerFreesNothingIsFreed) {
    ParamChangeList list;  // consumerFrees left at 0
    for (int32_t i = 0; i < 4; ++i) list.append(i, 0.0f);
    EXPECT_EQ(drain(list).size(), 4u);
    EXPECT_EQ(list.allocatedNodes(), 4);
    list.shutDown();
    EXPECT_EQ(list.allocatedNodes(), 0);
}

TEST(ParamChangeList, AFullPoolDropsTheChangeAndMarksTheOverflow) {
    auto list = makeList();
    for (int32_t i = 0; i < ParamChangeList::kPoolSize; ++i) ASSERT_TRUE(list->append(i % 82, 0.5f));
    EXPECT_FALSE(list->takeOverflow());
    EXPECT_FALSE(list->append(1, 0.5f));
    EXPECT_TRUE(list->takeOverflow());
    EXPECT_FALSE(list->takeOverflow());
    EXPECT_EQ(drain(*list).size(), static_cast<std::size_t>(ParamChangeList::kPoolSize));
    // Read nodes went back to the pool: the list keeps working.
    EXPECT_TRUE(list->append(2, 0.5f));
    EXPECT_EQ(drain(*list), std::vector<int32_t>{2});
}

TEST(ParamChangeList, ShutDownStopsAppendingAndReading) {
    auto list = makeList();
    list->append(1, 0.1f);
    list->append(2, 0.2f);
    list->shutDown();
    EXPECT_EQ(list->allocatedNodes(), 0);
    EXPECT_FALSE(list->append(3, 0.3f));
    ParamChange change{};
    EXPECT_FALSE(list->takeNext(change));
}

// Two producers (say host automation and the audio thread's MIDI) and the
// consumer run at once: every change arrives exactly once, each producer's in
// its own order, and nothing stays allocated but the newest node.
TEST(ParamChangeListThreads, TwoProducersOneConsumer) {
    auto list = makeList();
    constexpr int32_t kPerProducer = 20000;
    std::atomic<int> producersDone{0};
    auto produce = [&](int32_t producer) {
        for (int32_t i = 0; i < kPerProducer; ++i) {
            // Index tells the producer, value the sequence number.
            while (!list->append(producer, static_cast<float>(i))) std::this_thread::yield();
        }
        producersDone.fetch_add(1);
    };
    std::vector<int32_t> received(2, 0);
    bool ordered = true;
    int32_t total = 0;
    std::thread consumer([&] {
        ParamChange change{};
        while (total < 2 * kPerProducer) {
            if (!list->takeNext(change)) {
                std::this_thread::yield();
                continue;
            }
            auto producer = static_cast<std::size_t>(change.index);
            if (producer > 1 || change.value != static_cast<float>(received[producer])) ordered = false;
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
    EXPECT_EQ(received[0], kPerProducer);
    EXPECT_EQ(received[1], kPerProducer);
    EXPECT_EQ(list->allocatedNodes(), 1);
}
