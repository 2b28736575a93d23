#pragma once
// Notes from the on-screen keyboard on their way to the audio thread: a
// single-producer (user-interface thread), single-consumer (audio thread) ring
// of MIDI events with atomic indexes. A note-off is never lost: note-ons leave
// room for note-offs, and a note-off that finds the ring full is kept as one bit
// per note and played after the ring's entries.

#include <atomic>
#include <cstdint>

#include "plugin/vst/VstEvents.h"

class GuiNoteQueue {
public:
    static constexpr uint32_t kCapacity = 128;
    // Note-ons are taken only while fewer entries than this wait, so that the
    // note-offs that will follow them find room.
    static constexpr uint32_t kNoteOnLimit = kCapacity / 2;

    GuiNoteQueue();
    GuiNoteQueue(const GuiNoteQueue&) = delete;
    GuiNoteQueue& operator=(const GuiNoteQueue&) = delete;

    // Queues one event (status, note 0..127, velocity, layer in the fourth byte); false when
    // a note-on had to be dropped. Producer thread only.
    bool push(uint8_t status, uint8_t note, uint8_t velocity, uint8_t layer);
    // Hands every waiting event to play(const VstMidiEvent&) in order, then the note-offs
    // that found the ring full as note-off events (velocity 0, layer 0). Consumer thread only.
    template <typename Play>
    void drain(Play&& play);
    // Events waiting in the ring. Any thread.
    uint32_t size() const {
        return writeIndex.load(std::memory_order_acquire) - readIndex.load(std::memory_order_acquire);
    }

private:
    VstMidiEvent events[kCapacity];
    std::atomic<uint32_t> writeIndex{0};  // next slot to write, counts up forever (producer)
    std::atomic<uint32_t> readIndex{0};   // next slot to read (consumer)
    std::atomic<uint64_t> overflowOffs[2]{};  // one bit per note whose note-off found the ring full
};

template <typename Play>
void GuiNoteQueue::drain(Play&& play) {
    // Take the overflow bits before looking at the ring: every entry queued before
    // such a note-off is then in the ring already, so it plays first.
    uint64_t offs[2] = {overflowOffs[0].exchange(0, std::memory_order_acq_rel),
                        overflowOffs[1].exchange(0, std::memory_order_acq_rel)};
    uint32_t read = readIndex.load(std::memory_order_relaxed);
    const uint32_t write = writeIndex.load(std::memory_order_acquire);
    for (; read != write; ++read) play(static_cast<const VstMidiEvent&>(events[read % kCapacity]));
    readIndex.store(read, std::memory_order_release);
    for (int word = 0; word < 2; ++word) {
        for (int bit = 0; bit < 64; ++bit) {
            if ((offs[word] >> bit & 1u) == 0) continue;
            VstMidiEvent off{};
            off.type = kVstMidiType;
            off.byteSize = sizeof(VstMidiEvent);
            off.midiData[0] = static_cast<char>(0x80);
            off.midiData[1] = static_cast<char>(word * 64 + bit);
            play(static_cast<const VstMidiEvent&>(off));
        }
    }
}
