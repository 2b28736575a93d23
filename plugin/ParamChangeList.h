#pragma once
// Parameter changes on their way from the plug-in to the open editor: a linked
// list in arrival order, filled by any number of producers (host automation,
// the audio thread's MIDI, the user-interface thread) and read by one consumer
// (the editor's idle step). Lock-free; nodes come from a fixed pool inside the
// list, so appending never allocates. The newest node stays allocated until a
// newer one is linked behind it, because producers link to it.

#include <atomic>
#include <cstdint>

// One change. kind 3 = parameter change; index -1 and kind 0 in a node not yet filled.
struct ParamChangeNode {
    uint32_t kind = 0;
    int32_t index = -1;
    float value = 0.0f;
    uint8_t consumed = 0;                        // set by the consumer once read
    std::atomic<ParamChangeNode*> next{nullptr}; // the next newer node
    std::atomic<bool> inUse{false};              // taken from the pool
};

// What the consumer takes out of the list.
struct ParamChange {
    uint32_t kind;
    int32_t index;
    float value;
};

class ParamChangeList {
public:
    static constexpr uint32_t kParameterChange = 3;
    // Nodes in the pool: far more than one program load (82 changes) per editor idle step.
    static constexpr int32_t kPoolSize = 1024;

    ParamChangeList() = default;
    ParamChangeList(const ParamChangeList&) = delete;
    ParamChangeList& operator=(const ParamChangeList&) = delete;

    // Appends a change behind the newest one; false (and the overflow mark set) when the
    // pool is empty, false when suppressed. Any thread, lock-free, no allocation.
    bool append(int32_t index, float value);
    // Takes the oldest unread change and frees the read nodes that have a newer one;
    // false when nothing is waiting or the list is suppressed. Consumer thread only.
    bool takeNext(ParamChange& change);
    // True once after at least one change could not be queued (the consumer should then
    // show every value afresh). Consumer thread.
    bool takeOverflow() { return overflow.exchange(false, std::memory_order_acq_rel); }
    // Stops appending and reading for good and lets every node go (destruction). UI thread.
    void shutDown();
    // Nodes currently taken from the pool. Any thread.
    int32_t allocatedNodes() const { return inUseCount.load(std::memory_order_acquire); }

    // 1: the consumer frees consumed nodes (set by the plug-in's constructor).
    std::atomic<uint8_t> consumerFrees{0};
    // 1 while the plug-in is being destroyed: no node is appended or read.
    std::atomic<uint8_t> suppress{0};

private:
    ParamChangeNode* acquireNode();
    void releaseNode(ParamChangeNode* node);

    std::atomic<ParamChangeNode*> tail{nullptr};   // newest node; never null again once set
    std::atomic<ParamChangeNode*> first{nullptr};  // the very first node, handed to the consumer once
    ParamChangeNode* freeCursor = nullptr;         // oldest node still allocated (consumer)
    ParamChangeNode* lastRead = nullptr;           // newest node read so far (consumer)
    std::atomic<uint32_t> nextSlot{0};             // where the pool search starts
    std::atomic<int32_t> inUseCount{0};
    std::atomic<bool> overflow{false};
    ParamChangeNode pool[kPoolSize];
};
