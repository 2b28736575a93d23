#include "tools/validate/EventList.h"

#include "tools/common/MidiEventRecord.h"

#include <cstddef>
#include <cstring>

void EventList::addMidi(int32_t delta, uint8_t status, uint8_t data1, uint8_t data2, uint8_t data3) {
    addRaw(midiEventRecord(delta, status, data1, data2, data3));
}

void EventList::addRaw(const VstMidiEvent& event) {
    Slot slot;
    slot.midi = std::make_unique<VstMidiEvent>(event);
    slots_.push_back(std::move(slot));
}

void EventList::addSysex(int32_t delta, const std::vector<char>& dump) {
    Slot slot;
    slot.dump = dump;
    slot.sysex = std::make_unique<SysexEvent>();
    std::memset(slot.sysex.get(), 0, sizeof(SysexEvent));
    slot.sysex->type = kVstSysExType;
    slot.sysex->byteSize = sizeof(SysexEvent) - 8;
    slot.sysex->deltaFrames = delta;
    slot.sysex->dumpBytes = static_cast<int32_t>(slot.dump.size());
    slot.sysex->sysexDump = slot.dump.empty() ? nullptr : slot.dump.data();
    slots_.push_back(std::move(slot));
}

VstEvents* EventList::events() {
    // numEvents and reserved take two pointer-sized words, then one pointer per event.
    storage_.assign(2 + std::max<std::size_t>(slots_.size(), 2), 0);
    auto* list = reinterpret_cast<VstEvents*>(storage_.data());
    list->numEvents = static_cast<int32_t>(slots_.size());
    auto** pointers = reinterpret_cast<VstEvent**>(storage_.data() + 2);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        pointers[i] = slots_[i].midi ? reinterpret_cast<VstEvent*>(slots_[i].midi.get())
                                     : reinterpret_cast<VstEvent*>(slots_[i].sysex.get());
    }
    return list;
}

void EventList::clear() { slots_.clear(); }
