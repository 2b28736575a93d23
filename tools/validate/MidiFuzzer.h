#pragma once
// Random MIDI for one block: mostly well-formed notes, controllers, program
// changes, bends and pressure, mixed with raw bytes, running-status garbage
// (data bytes where a status belongs), system messages, system-exclusive
// events, unknown event types, more than 100 events and offsets past the block.
// Runs on the thread that drives audio (the caller's Rng and list).

#include <array>
#include <cstdint>

#include "tools/validate/EventList.h"
#include "tools/validate/Rng.h"

namespace midifuzz {

// Fills events (cleared first) for a block of frames: how wild depends on hostility (0..1).
void fill(Rng& rng, EventList& events, int32_t frames, double hostility);
// One well-formed channel message at a frame of the block.
void addMusical(Rng& rng, EventList& events, int32_t frames);
// Two data bytes of 0..127, the second drawn first (see Rng.h).
std::array<uint8_t, 2> dataBytes(Rng& rng);

}  // namespace midifuzz
