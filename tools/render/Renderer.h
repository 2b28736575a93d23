#pragma once
// Plays a MIDI sequence through a started plug-in block by block, the way a
// sequencer would: each block's events go to effProcessEvents with their frame
// offsets, then processReplacing renders the block.
// Runs on the thread that drives the host (the tool's main thread).

#include <cstdint>
#include <functional>

#include "tools/render/MidiSequence.h"
#include "tools/render/PluginHost.h"

class Renderer {
public:
    // Receives each rendered block (frames long, read from host.output()); false stops playing.
    using BlockSink = std::function<bool(int32_t frames)>;

    // Plays the sequence and tailSeconds more; answers the seconds spent inside the plug-in's
    // event and processing calls (steady clock), or -1 when the sink stopped the playing.
    static double play(PluginHost& host, const MidiSequence& sequence, double tailSeconds, const BlockSink& sink);
    // The frames play() renders at this rate.
    static int64_t frames(const MidiSequence& sequence, double tailSeconds, double rate);
};
