#pragma once
// Events that a host hands to effProcessEvents: a generic 32-byte event, the MIDI
// event that overlays it, and the list record. Offsets are checked because hosts
// build these records themselves.

#include <cstddef>
#include <cstdint>

enum VstEventTypes : int32_t {
    kVstMidiType = 1,
    kVstSysExType = 6,
};

// VstMidiEvent.flags bit: the event was played live, not from a sequencer track.
inline constexpr int32_t kVstMidiEventIsRealtime = 1;

struct VstEvent {
    int32_t type;         // VstEventTypes
    int32_t byteSize;     // size of the record after this field
    int32_t deltaFrames;  // frame of the coming block at which the event acts
    int32_t flags;
    char data[16];
};

struct VstMidiEvent {
    int32_t type;          // kVstMidiType
    int32_t byteSize;      // 24
    int32_t deltaFrames;   // frame of the coming block
    int32_t flags;         // kVstMidiEventIsRealtime
    int32_t noteLength;    // frames, 0 when unknown
    int32_t noteOffset;    // frames into the note (from a loop or sequence start)
    char midiData[4];      // status and up to two data bytes; the fourth is free
    char detune;           // cents, -64..63
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

// A host-built list: numEvents pointers follow in place of the two declared ones.
struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];
};

static_assert(offsetof(VstEvent, type) == 0);
static_assert(offsetof(VstEvent, byteSize) == 4);
static_assert(offsetof(VstEvent, deltaFrames) == 8);
static_assert(offsetof(VstEvent, flags) == 12);
static_assert(offsetof(VstEvent, data) == 16);
static_assert(sizeof(VstEvent) == 32);

static_assert(offsetof(VstMidiEvent, type) == 0);
static_assert(offsetof(VstMidiEvent, byteSize) == 4);
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiEvent, flags) == 12);
static_assert(offsetof(VstMidiEvent, noteLength) == 16);
static_assert(offsetof(VstMidiEvent, noteOffset) == 20);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(offsetof(VstMidiEvent, noteOffVelocity) == 29);
static_assert(offsetof(VstMidiEvent, reserved1) == 30);
static_assert(offsetof(VstMidiEvent, reserved2) == 31);
static_assert(sizeof(VstMidiEvent) == 32);

static_assert(offsetof(VstEvents, numEvents) == 0);
static_assert(offsetof(VstEvents, reserved) == 8);
static_assert(offsetof(VstEvents, events) == 16);
static_assert(sizeof(VstEvents) == 32);
