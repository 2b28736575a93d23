#include "plugin/EngineChangeQueue.h"

EngineChangeQueue::EngineChangeQueue() {
    for (uint32_t i = 0; i < kCapacity; ++i) cells[i].sequence.store(i, std::memory_order_relaxed);
}

bool EngineChangeQueue::push(const EngineChange& change) {
    uint32_t pos = enqueuePos.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = cells[pos & (kCapacity - 1)];
        const uint32_t sequence = cell.sequence.load(std::memory_order_acquire);
        // Differences of unsigned positions read as signed: places count up forever and wrap.
        const auto ahead = static_cast<int32_t>(sequence - pos);
        if (ahead == 0) {
            if (enqueuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                cell.change = change;
                cell.sequence.store(pos + 1, std::memory_order_release);
                return true;
            }
        } else if (ahead < 0) {
            // The cell still holds a change from one lap ago: the queue is full.
            lost.fetch_or(1u << change.kind, std::memory_order_acq_rel);
            return false;
        } else {
            pos = enqueuePos.load(std::memory_order_relaxed);
        }
    }
}

bool EngineChangeQueue::pop(EngineChange& change) {
    Cell& cell = cells[dequeuePos & (kCapacity - 1)];
    const uint32_t sequence = cell.sequence.load(std::memory_order_acquire);
    if (static_cast<int32_t>(sequence - (dequeuePos + 1)) < 0) return false;
    change = cell.change;
    cell.sequence.store(dequeuePos + kCapacity, std::memory_order_release);
    ++dequeuePos;
    return true;
}

bool EngineChangeQueue::empty() const {
    const uint32_t sequence = cells[dequeuePos & (kCapacity - 1)].sequence.load(std::memory_order_acquire);
    return static_cast<int32_t>(sequence - (dequeuePos + 1)) < 0;
}
