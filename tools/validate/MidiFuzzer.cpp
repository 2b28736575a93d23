#include "tools/validate/MidiFuzzer.h"

#include <climits>
#include <vector>

namespace midifuzz {
namespace {

uint8_t byte7(Rng& rng) { return static_cast<uint8_t>(rng.below(128)); }

int32_t hostileDelta(Rng& rng, int32_t frames) {
    switch (rng.below(8)) {
        case 0: return frames;                                          // one past the block
        case 1: return frames + static_cast<int32_t>(rng.below(100000));
        case 2: return -1 - static_cast<int32_t>(rng.below(1000));
        case 3: return rng.chance(0.5) ? INT32_MAX : INT32_MIN;
        default: return static_cast<int32_t>(rng.below(static_cast<uint64_t>(frames)));
    }
}

void addGarbage(Rng& rng, EventList& events, int32_t frames) {
    const int32_t delta = hostileDelta(rng, frames);
    switch (rng.below(7)) {
        case 0:  // running status: data bytes with no status byte
            events.addMidi(delta, byte7(rng), byte7(rng), byte7(rng));
            break;
        case 1:  // system common and real-time bytes
            events.addMidi(delta, static_cast<uint8_t>(0xF0 | rng.below(16)), static_cast<uint8_t>(rng.next()),
                           static_cast<uint8_t>(rng.next()));
            break;
        case 2: {  // a status with data bytes out of range (bit 7 set)
            events.addMidi(delta, static_cast<uint8_t>(0x80 | rng.below(128)), static_cast<uint8_t>(rng.next()),
                           static_cast<uint8_t>(rng.next()), static_cast<uint8_t>(rng.next()));
            break;
        }
        case 3: {  // system exclusive of 0..300 bytes
            std::vector<char> dump(rng.below(300));
            for (char& c : dump) c = static_cast<char>(rng.next());
            events.addSysex(delta, dump);
            break;
        }
        case 4: {  // an unknown event type or a wrong size
            VstMidiEvent event{};
            event.type = static_cast<int32_t>(rng.chance(0.5) ? rng.range(-5, 20) : static_cast<int64_t>(rng.next()));
            event.byteSize = static_cast<int32_t>(rng.range(-1, 64));
            event.deltaFrames = delta;
            event.flags = static_cast<int32_t>(rng.next());
            for (char& c : event.midiData) c = static_cast<char>(rng.next());
            events.addRaw(event);
            break;
        }
        case 5: {  // a MIDI record whose other fields are garbage
            VstMidiEvent event{};
            event.type = kVstMidiType;
            event.byteSize = static_cast<int32_t>(rng.next());
            event.deltaFrames = delta;
            event.flags = static_cast<int32_t>(rng.next());
            event.noteLength = static_cast<int32_t>(rng.next());
            event.noteOffset = static_cast<int32_t>(rng.next());
            event.midiData[0] = static_cast<char>(0x90 | rng.below(16));
            event.midiData[1] = static_cast<char>(rng.next());
            event.midiData[2] = static_cast<char>(rng.next());
            event.detune = static_cast<char>(rng.next());
            event.noteOffVelocity = static_cast<char>(rng.next());
            events.addRaw(event);
            break;
        }
        default:  // four random bytes
            events.addMidi(delta, static_cast<uint8_t>(rng.next()), static_cast<uint8_t>(rng.next()),
                           static_cast<uint8_t>(rng.next()), static_cast<uint8_t>(rng.next()));
            break;
    }
}

}  // namespace

void addMusical(Rng& rng, EventList& events, int32_t frames) {
    const int32_t delta = static_cast<int32_t>(rng.below(static_cast<uint64_t>(frames)));
    const uint8_t channel = static_cast<uint8_t>(rng.below(16));
    switch (rng.below(12)) {
        case 0:
        case 1:
        case 2:
        case 3: events.addMidi(delta, 0x90 | channel, byte7(rng), static_cast<uint8_t>(rng.range(0, 127))); break;
        case 4:
        case 5:
        case 6: events.addMidi(delta, 0x80 | channel, byte7(rng), byte7(rng)); break;
        case 7: events.addMidi(delta, 0xB0 | channel, byte7(rng), byte7(rng)); break;
        case 8: events.addMidi(delta, 0xC0 | channel, byte7(rng), 0); break;
        case 9: events.addMidi(delta, 0xE0 | channel, byte7(rng), byte7(rng)); break;
        case 10: events.addMidi(delta, 0xD0 | channel, byte7(rng), 0); break;
        default: events.addMidi(delta, 0xA0 | channel, byte7(rng), byte7(rng)); break;
    }
}

void fill(Rng& rng, EventList& events, int32_t frames, double hostility) {
    events.clear();
    std::size_t count = rng.below(6);
    if (rng.chance(0.3 * hostility + 0.05)) count = 101 + rng.below(120);  // past the 100 a block many plug-ins keep
    for (std::size_t i = 0; i < count; ++i) {
        if (rng.chance(hostility * 0.5)) {
            addGarbage(rng, events, frames);
        } else {
            addMusical(rng, events, frames);
        }
    }
}

}  // namespace midifuzz
