#include "engine/OscTableExchange.h"

#include <cstring>

void OscTableExchange::publish(uint8_t sounding)
{
    // Builders are serialised by building_, so the sequence is even here.
    const uint32_t seq = sequence_.load(std::memory_order_relaxed);
    const uint32_t slot = (seq / 2 + 1) & 1u;
    sequence_.store(seq + 1, std::memory_order_release);
    std::atomic_thread_fence(std::memory_order_release);
    for (int t = 0; t < 2; ++t)
        for (int32_t i = 0; i < kTableLength; ++i)
            std::atomic_ref<float>(shared_[slot][t][i]).store(scratch_[t][i], std::memory_order_relaxed);
    sharedSounding_[slot].store(sounding, std::memory_order_relaxed);
    sequence_.store(seq + 2, std::memory_order_release);
}

bool OscTableExchange::acquire(float* table1, float* table2, uint8_t& sounding)
{
    const uint32_t before = sequence_.load(std::memory_order_acquire);
    const uint32_t latest = before / 2; // newest complete publication
    if (latest == taken_) return false;
    const uint32_t slot = latest & 1u;
    for (int t = 0; t < 2; ++t)
        for (int32_t i = 0; i < kTableLength; ++i)
            reading_[t][i] = std::atomic_ref<float>(shared_[slot][t][i]).load(std::memory_order_relaxed);
    const uint8_t s = sharedSounding_[slot].load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    // The slot is rewritten by publication latest + 2, which starts at 2 x latest + 3.
    if (sequence_.load(std::memory_order_relaxed) - 2 * latest > 2) return false; // torn: next slice
    std::memcpy(table1, reading_[0], sizeof reading_[0]);
    std::memcpy(table2, reading_[1], sizeof reading_[1]);
    sounding = s;
    taken_ = latest;
    return true;
}
