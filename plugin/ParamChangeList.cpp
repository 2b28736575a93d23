#include "plugin/ParamChangeList.h"

bool ParamChangeList::append(int32_t index, float value) {
    if (suppress.load(std::memory_order_acquire) != 0) return false;
    ParamChangeNode* node = acquireNode();
    if (node == nullptr) {
        overflow.store(true, std::memory_order_release);
        return false;
    }
    node->kind = kParameterChange;
    node->index = index;
    node->value = value;
    node->consumed = 0;
    node->next.store(nullptr, std::memory_order_relaxed);
    // Swing the tail first, then link: the consumer never frees a node without a
    // successor, so the previous tail stays valid until this producer links to it.
    ParamChangeNode* previous = tail.exchange(node, std::memory_order_acq_rel);
    if (previous != nullptr) {
        previous->next.store(node, std::memory_order_release);
    } else {
        first.store(node, std::memory_order_release);
    }
    return true;
}

bool ParamChangeList::takeNext(ParamChange& change) {
    if (suppress.load(std::memory_order_acquire) != 0) return false;
    if (freeCursor == nullptr) {
        freeCursor = first.exchange(nullptr, std::memory_order_acquire);
        lastRead = nullptr;
        if (freeCursor == nullptr) return false;
    }
    ParamChangeNode* node = lastRead != nullptr ? lastRead->next.load(std::memory_order_acquire) : freeCursor;
    if (node == nullptr) return false;
    change = {node->kind, node->index, node->value};
    node->consumed = 1;
    lastRead = node;
    if (consumerFrees.load(std::memory_order_relaxed) == 1) {
        // Every node before lastRead is read and has a successor: free from the oldest on.
        while (freeCursor != lastRead && freeCursor->consumed != 0) {
            ParamChangeNode* older = freeCursor;
            freeCursor = older->next.load(std::memory_order_acquire);
            releaseNode(older);
        }
    }
    return true;
}

void ParamChangeList::shutDown() {
    suppress.store(1, std::memory_order_release);
    tail.store(nullptr, std::memory_order_release);
    first.store(nullptr, std::memory_order_release);
    lastRead = nullptr;
    // With suppress set the walk ignores the consumed marks: every node still allocated goes.
    while (freeCursor != nullptr) {
        ParamChangeNode* node = freeCursor;
        freeCursor = node->next.load(std::memory_order_acquire);
        releaseNode(node);
    }
    for (ParamChangeNode& node : pool) {
        if (node.inUse.load(std::memory_order_acquire)) releaseNode(&node);
    }
}

ParamChangeNode* ParamChangeList::acquireNode() {
    // Claim a free slot with a compare-exchange on its own flag: no shared free
    // list, so no ABA problem with several producers.
    for (int32_t tries = 0; tries < kPoolSize; ++tries) {
        uint32_t slot = nextSlot.fetch_add(1, std::memory_order_relaxed) % static_cast<uint32_t>(kPoolSize);
        ParamChangeNode& node = pool[slot];
        bool expected = false;
        if (!node.inUse.load(std::memory_order_relaxed) &&
            node.inUse.compare_exchange_strong(expected, true, std::memory_order_acquire)) {
            inUseCount.fetch_add(1, std::memory_order_acq_rel);
            return &node;
        }
    }
    return nullptr;
}

void ParamChangeList::releaseNode(ParamChangeNode* node) {
    node->kind = 0;
    node->index = -1;
    inUseCount.fetch_sub(1, std::memory_order_acq_rel);
    node->inUse.store(false, std::memory_order_release);
}
