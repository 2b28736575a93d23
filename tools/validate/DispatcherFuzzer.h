#pragma once
// Random dispatcher calls with hostile arguments over every opcode, checking
// what the plug-in writes into the host's buffers: never past what the
// interface allows, texts terminated, pointers it hands back readable.
// Runs on the validator's UI-side thread (the one that calls the dispatcher).

#include <cstdint>

#include "tools/validate/PluginInstance.h"
#include "tools/validate/Rng.h"

class DispatcherFuzzer {
public:
    DispatcherFuzzer(PluginInstance& plugin, Rng& rng, int32_t maxBlock) : plugin_(plugin), rng_(rng), maxBlock_(maxBlock) {}

    // One random call. onlyWhileProcessing limits it to opcodes a host sends while audio runs.
    // Returns true when it may have changed the sample rate, block size or on/off state. Thread of the caller.
    bool step(bool onlyWhileProcessing);
    // One call of this opcode with random hostile arguments; same answer as step.
    bool call(int32_t opcode);
    // The largest block the audio side announced (for effProcessEvents offsets).
    void setMaxBlock(int32_t frames) { maxBlock_ = frames; }

private:
    int32_t indexFor(int32_t opcode);
    // Dispatches opcode with this index and pointer, a hostile value and a hostile float.
    intptr_t dispatchHostile(int32_t opcode, int32_t index, void* ptr);
    void textOut(int32_t opcode, std::size_t bytes);
    void textIn(int32_t opcode, bool nullAllowed);
    void structOut(int32_t opcode, std::size_t bytes);
    void rectOut();
    void chunkOut();
    void chunkIn();
    void pointerPairOut(int32_t opcode);
    void arrangementPair();
    void structIn(int32_t opcode, std::size_t bytes);
    void events();
    void plain(int32_t opcode);

    PluginInstance& plugin_;
    Rng& rng_;
    int32_t maxBlock_;
};
