// GuiNoteQueue: order, the room kept for note-offs, note-offs that find the ring
// full, and one producer racing one consumer.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "plugin/GuiNoteQueue.h"

namespace {

struct Played {
    uint8_t status, note, velocity, layer;
    bool operator==(const Played&) const = default;
};

std::vector<Played> drain(GuiNoteQueue& queue) {
    std::vector<Played> played;
    queue.drain([&](const VstMidiEvent& e) {
        played.push_back({static_cast<uint8_t>(e.midiData[0]), static_cast<uint8_t>(e.midiData[1]),
                          static_cast<uint8_t>(e.midiData[2]), static_cast<uint8_t>(e.midiData[3])});
    });
    return played;
}

}  // namespace

TEST(GuiNoteQueue, PlaysInOrderAndKeepsRoomForNoteOffs) {
    auto queue = std::make_unique<GuiNoteQueue>();
    queue->push(0x90, 60, 100, 1);
    queue->push(0x80, 60, 0, 0);
    queue->push(0x90, 250, 90, 2);  // note limited to 127
    EXPECT_EQ(drain(*queue), (std::vector<Played>{{0x90, 60, 100, 1}, {0x80, 60, 0, 0}, {0x90, 127, 90, 2}}));
    EXPECT_TRUE(drain(*queue).empty());
    // Note-ons fill only part of the ring: every note that started gets its note-off.
    uint32_t accepted = 0;
    for (int i = 0; i < 200; ++i) accepted += queue->push(0x90, static_cast<uint8_t>(i % 128), 100, 0) ? 1 : 0;
    EXPECT_EQ(accepted, GuiNoteQueue::kNoteOnLimit);
    for (uint32_t i = 0; i < accepted; ++i) EXPECT_TRUE(queue->push(0x80, static_cast<uint8_t>(i), 0, 0));
    auto played = drain(*queue);
    ASSERT_EQ(played.size(), 2u * accepted);
    EXPECT_EQ(played[accepted], (Played{0x80, 0, 0, 0}));
    // Note-offs that find the ring full still play, after what it holds; other events are dropped.
    for (int i = 0; i < 128; ++i) queue->push(0x80, static_cast<uint8_t>(i), 0, 0);
    EXPECT_EQ(queue->size(), 128u);
    EXPECT_TRUE(queue->push(0x80, 5, 0, 0));
    EXPECT_TRUE(queue->push(0x90, 100, 0, 0));  // velocity 0 is a note-off too
    EXPECT_FALSE(queue->push(0xB0, 1, 0, 0));
    played = drain(*queue);
    ASSERT_EQ(played.size(), 130u);
    EXPECT_EQ(played[128], (Played{0x80, 5, 0, 0}));
    EXPECT_EQ(played[129], (Played{0x80, 100, 0, 0}));
}

TEST(GuiNoteQueueThreads, OneProducerOneConsumerLoseNoNoteOff) {
    auto queue = std::make_unique<GuiNoteQueue>();
    std::atomic<bool> done{false};
    std::vector<int> onCount(128, 0), offCount(128, 0);
    std::thread consumer([&] {
        auto take = [&] {
            queue->drain([&](const VstMidiEvent& e) {
                auto note = static_cast<uint8_t>(e.midiData[1]);
                ++((static_cast<uint8_t>(e.midiData[0]) & 0xF0) == 0x90 ? onCount : offCount)[note];
            });
        };
        while (!done.load()) take();
        take();
    });
    int started = 0;
    for (int i = 0; i < 20000; ++i) {
        auto note = static_cast<uint8_t>(i % 128);
        if (queue->push(0x90, note, 100, 0)) ++started;
        queue->push(0x80, note, 0, 0);
    }
    done.store(true);
    consumer.join();
    int ons = 0;
    for (std::size_t n = 0; n < 128; ++n) {
        ons += onCount[n];
        EXPECT_TRUE(onCount[n] == 0 || offCount[n] > 0) << "note " << n << " started and never ended";
    }
    EXPECT_EQ(ons, started);
}
