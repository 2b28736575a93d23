#pragma once
// The MIDI event record a host hands to effProcessEvents, shared by the tools that
// play notes into a plug-in. Any thread (no shared state).

#include <cstdint>

#include "plugin/vst/VstEvents.h"

// A well-formed MIDI record acting deltaFrames frames into the next block, carrying
// these bytes; other fields (flags, note length, detune) are zero.
inline VstMidiEvent midiEventRecord(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2,
                                    uint8_t data3 = 0) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    event.midiData[3] = static_cast<char>(data3);
    return event;
}
