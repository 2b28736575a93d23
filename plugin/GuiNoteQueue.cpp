#include "plugin/GuiNoteQueue.h"

#include <cstring>

GuiNoteQueue::GuiNoteQueue() { std::memset(events, 0, sizeof(events)); }

bool GuiNoteQueue::push(uint8_t status, uint8_t note, uint8_t velocity, uint8_t layer) {
    if (note > 127) note = 127;
    const uint8_t kind = status & 0xF0;
    const bool noteOn = kind == 0x90 && velocity != 0;
    const uint32_t write = writeIndex.load(std::memory_order_relaxed);
    const uint32_t waiting = write - readIndex.load(std::memory_order_acquire);
    if (waiting >= (noteOn ? kNoteOnLimit : kCapacity)) {
        if (noteOn) return false;
        if (kind != 0x80 && kind != 0x90) return false;
        overflowOffs[note >> 6].fetch_or(uint64_t{1} << (note & 63), std::memory_order_acq_rel);
        return true;
    }
    VstMidiEvent& event = events[write % kCapacity];
    event.deltaFrames = 0;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(note);
    event.midiData[2] = static_cast<char>(velocity);
    event.midiData[3] = static_cast<char>(layer);
    writeIndex.store(write + 1, std::memory_order_release);
    return true;
}
