#pragma once
// Changes for the engine on their way from the threads that do not render
// (host automation, the dispatcher, the editor) to the thread that renders:
// a bounded lock-free queue for any number of producers and one consumer, in
// the order the producers claimed their places. Nothing allocates. A change
// that finds the queue full is not queued; its kind is kept in a "lost" mask
// instead, and the consumer then applies every live value afresh, so that no
// change is lost for good.

#include <atomic>
#include <cstdint>

// One change. For a parameter the engine takes the live value of the index when
// the change is applied; value keeps what was set (tests, the wheel's bend).
struct EngineChange {
    enum Kind : uint8_t {
        kParameter = 0,  // index: parameter number 0..91
        kProgram = 1,    // index: program number 0..127 (the full program load)
        kWheelBend = 2,  // value: the editor's pitch-wheel position 0..1
    };
    Kind kind = kParameter;
    int32_t index = 0;
    float value = 0.0f;
};

class EngineChangeQueue {
public:
    // Places in the queue: far more than a host automates between two blocks.
    static constexpr uint32_t kCapacity = 1024;
    static_assert((kCapacity & (kCapacity - 1)) == 0, "capacity is a power of two");

    EngineChangeQueue();
    EngineChangeQueue(const EngineChangeQueue&) = delete;
    EngineChangeQueue& operator=(const EngineChangeQueue&) = delete;

    // Queues a change behind every change queued before it; false when the queue is full
    // (the change's kind is then marked lost). Any thread, lock-free, no allocation.
    bool push(const EngineChange& change);
    // Hands every complete change to apply(const EngineChange&) in order and returns how
    // many. A change whose producer has not finished writing it stops the walk; it comes
    // first at the next drain. Consumer only.
    template <typename Apply>
    uint32_t drain(Apply&& apply);
    // The kinds (bit 1 << kind) of the changes lost since the last call; clears them. Consumer.
    uint32_t takeLost() { return lost.exchange(0, std::memory_order_acq_rel); }
    // True when no change waits. Consumer.
    bool empty() const;

private:
    // Vyukov's bounded queue: a cell is free for the producer that claimed place p when
    // its sequence is p, and ready for the consumer when it is p + 1.
    struct Cell {
        std::atomic<uint32_t> sequence{0};
        EngineChange change;
    };

    bool pop(EngineChange& change);

    Cell cells[kCapacity];
    std::atomic<uint32_t> enqueuePos{0};  // next place to claim (producers)
    uint32_t dequeuePos = 0;              // next place to read (consumer)
    std::atomic<uint32_t> lost{0};        // kinds of changes that found the queue full
};

template <typename Apply>
uint32_t EngineChangeQueue::drain(Apply&& apply) {
    uint32_t count = 0;
    EngineChange change;
    while (pop(change)) {
        apply(static_cast<const EngineChange&>(change));
        ++count;
    }
    return count;
}
