#pragma once
// A VstEvents list built by the host: any number of events (the record
// declares two pointers, a host allocates room for as many as it sends).
// Filled and handed over on one thread (the one calling effProcessEvents).

#include <cstdint>
#include <memory>
#include <vector>

#include "plugin/vst/VstEvents.h"

// The published system-exclusive event record (64-bit layout); the plug-in's headers only name its type.
struct SysexEvent {
    int32_t type;        // kVstSysExType
    int32_t byteSize;    // record size after the first two fields
    int32_t deltaFrames;
    int32_t flags;
    int32_t dumpBytes;   // bytes at sysexDump
    int32_t pad;
    intptr_t resvd1;
    char* sysexDump;
    intptr_t resvd2;
};
static_assert(sizeof(SysexEvent) == 48);

class EventList {
public:
    // Adds a MIDI event acting at frame delta with these bytes.
    void addMidi(int32_t delta, uint8_t status, uint8_t data1, uint8_t data2, uint8_t data3 = 0);
    // Adds a MIDI event record as given (hostile type, size and flags included).
    void addRaw(const VstMidiEvent& event);
    // Adds a system-exclusive event with dumpBytes bytes of data.
    void addSysex(int32_t delta, const std::vector<char>& dump);
    // The list for effProcessEvents; valid until the next change.
    VstEvents* events();
    std::size_t size() const { return slots_.size(); }
    void clear();

private:
    struct Slot {
        std::unique_ptr<VstMidiEvent> midi;
        std::unique_ptr<SysexEvent> sysex;
        std::vector<char> dump;
    };
    std::vector<Slot> slots_;
    std::vector<intptr_t> storage_;  // the VstEvents header and its pointers, pointer-aligned
};
