#include "tools/validate/MidiFuzzer.h"

#include <climits>
#include <vector>

namespace midifuzz {
namespace {

uint8_t byte7(Rng& rng) { return static_cast<uint8_t>(rng.below(128)); }
uint8_t byte8(Rng& rng) { return static_cast<uint8_t>(rng.next()); }

// n bytes from draw, the last drawn first (see Rng.h).
template <std::size_t n>
std::array<uint8_t, n> lastFirst(Rng& rng, uint8_t (*draw)(Rng&)) {
    std::array<uint8_t, n> bytes{};
    for (std::size_t i = n; i-- > 0;) bytes[i] = draw(rng);
    return bytes;
}

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
        case 0: {  // running status: data bytes with no status byte
            const auto b = lastFirst<3>(rng, byte7);
            events.addMidi(delta, b[0], b[1], b[2]);
            break;
        }
        case 1: {  // system common and real-time bytes; the data drawn before the status
            const auto data = lastFirst<2>(rng, byte8);
            events.addMidi(delta, static_cast<uint8_t>(0xF0 | rng.below(16)), data[0], data[1]);
            break;
        }
        case 2: {  // a status with data bytes out of range (bit 7 set); the data drawn before the status
            const auto data = lastFirst<3>(rng, byte8);
            events.addMidi(delta, static_cast<uint8_t>(0x80 | rng.below(128)), data[0], data[1], data[2]);
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
        default: {  // four random bytes
            const auto b = lastFirst<4>(rng, byte8);
            events.addMidi(delta, b[0], b[1], b[2], b[3]);
            break;
        }
    }
}

}  // namespace

void addMusical(Rng& rng, EventList& events, int32_t frames) {
    const int32_t delta = static_cast<int32_t>(rng.below(static_cast<uint64_t>(frames)));
    const uint8_t channel = static_cast<uint8_t>(rng.below(16));
    // Notes on (velocity 0 included) and off, controllers, programs, bends, channel and key pressure.
    static constexpr uint8_t kStatus[12] = {0x90, 0x90, 0x90, 0x90, 0x80, 0x80, 0x80, 0xB0, 0xC0, 0xE0, 0xD0, 0xA0};
    const uint8_t status = kStatus[rng.below(12)];
    if (status == 0xC0 || status == 0xD0) {
        events.addMidi(delta, status | channel, byte7(rng), 0);
        return;
    }
    const auto data = dataBytes(rng);
    events.addMidi(delta, status | channel, data[0], data[1]);
}

std::array<uint8_t, 2> dataBytes(Rng& rng) { return lastFirst<2>(rng, byte7); }

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
