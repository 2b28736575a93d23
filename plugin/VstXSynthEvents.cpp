// VstXSynth: MIDI intake, the on-screen keyboard's notes and block rendering.
#include <algorithm>
#include <cmath>

#include "plugin/AEffEditor.h"
#include "plugin/SynthEditor.h"
#include "plugin/VstXSynth.h"

namespace {
constexpr float kDefaultTempo = 1200000.0f;  // 120 BPM x 10000, the engine's unit
constexpr float kInverse127 = 0.007874016f;  // nearest float to 1/127
constexpr float kPressureDepth = 0.15f;      // channel pressure at 127 gives this amount
}  // namespace

int32_t VstXSynth::processEvents(VstEvents* events) {
    // Changes queued by other threads act before this call's MIDI, which is newer.
    beginRenderCall();
    if (events == nullptr) return 1;
    // The record declares two slots but holds numEvents of them: index through a pointer.
    VstEvent* const* list = events->events;
    // The count is read again after each event, as the host may grow the list.
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = list[i];
        if (event == nullptr || event->type != kVstMidiType) continue;
        handleMidi(*reinterpret_cast<const VstMidiEvent*>(event), true);
    }
    return 1;
}

void VstXSynth::handleMidi(const VstMidiEvent& event, bool bendEcho) {
    const auto status = static_cast<uint8_t>(static_cast<uint8_t>(event.midiData[0]) & 0xF0);
    // Data bytes are 7-bit; a host that sets the top bit must not reach tables with it.
    const auto data1 = static_cast<uint8_t>(static_cast<uint8_t>(event.midiData[1]) & 0x7F);
    const auto data2 = static_cast<uint8_t>(static_cast<uint8_t>(event.midiData[2]) & 0x7F);
    switch (status) {
        case 0x80:
        case 0x90: queueHostNote({event.deltaFrames, status, data1, data2}); break;
        case 0xB0:
            if (data1 == 32) {
                bankSelectLsb = data2;
            } else if (data1 == 64) {
                // Sustain pedal: consumed, no effect.
            } else if (data1 == 123) {
                engine.reset();
            } else {
                uint8_t parameter = ccToParamMap[data1];
                if (parameter != kNoParameter && !isImageLineHost()) {
                    setParameter(parameter, static_cast<float>(data2 / 127.0));
                }
            }
            break;
        case 0xC0: setProgram(bankSelectLsb * 128 + data1); break;
        case 0xE0: applyPitchBend(data1, data2, bendEcho); break;
        case 0xD0: engine.channelPressure = static_cast<float>(data1) * kInverse127 * kPressureDepth; break;
        default: break;
    }
}

void VstXSynth::queueHostNote(const QueuedMidiNote& queued) {
    if (hostNoteCount < static_cast<uint32_t>(kMaxHostNotes)) {
        hostNotes[hostNoteCount++] = queued;
        return;
    }
    if (queued.status == 0x90 && queued.velocity != 0) return;  // a start finding the queue full
    // Nothing starts once the queue is full, so a key's first late release reaches all its
    // voices and a second would change nothing: one per key, and the late slots never overflow.
    for (uint32_t i = kMaxHostNotes; i < hostNoteCount; ++i) {
        if (hostNotes[i].note == queued.note) return;
    }
    hostNotes[hostNoteCount++] = queued;
}

void VstXSynth::applyPitchBend(uint8_t lsb, uint8_t msb, bool bendEcho) {
    if (bendEcho) setParameter(kTagPitchWheel, static_cast<float>(msb) / 127.0f + static_cast<float>(lsb) / 16129.0f);
    // Steps of 1/128 semitone: range x 128 at full deflection (8192 = centre).
    int64_t bend = (static_cast<int64_t>(engine.bendRange) * 128 * (msb * 128 + lsb - 8192)) / 8192;
    bend = std::clamp<int64_t>(bend, INT32_MIN, INT32_MAX);
    engine.setPitchBend(static_cast<int32_t>(bend));
}

bool VstXSynth::queueGuiMidiEvent(uint8_t status, uint8_t note, uint8_t velocity, uint8_t layer) {
    return guiNoteQueue.push(status, note, velocity, layer);
}

void VstXSynth::processReplacing(float**, float** outputs, int32_t sampleFrames) {
    beginRenderCall();
    if (outputs == nullptr || outputs[0] == nullptr || outputs[1] == nullptr || sampleFrames <= 0) return;
    // Key lights go to an open editor that takes them.
    const bool editorOpen = synthEditor != nullptr && editorIsOpen();

    VstTimeInfo* time = getTimeInfo(kVstTempoValid);
    float tempo = kDefaultTempo;
    if (time != nullptr && (time->flags & kVstTempoValid) != 0 && std::isfinite(time->tempo) && time->tempo > 0.0 &&
        time->tempo <= kMaxHostTempo) {
        tempo = static_cast<float>(time->tempo * 10000.0);
    }
    engine.hostTempo = tempo;

    guiNoteQueue.drain([this](const VstMidiEvent& event) {
        const auto status = static_cast<uint8_t>(static_cast<uint8_t>(event.midiData[0]) & 0xF0);
        const auto note = static_cast<uint8_t>(static_cast<uint8_t>(event.midiData[1]) & 0x7F);
        const auto velocity = static_cast<uint8_t>(static_cast<uint8_t>(event.midiData[2]) & 0x7F);
        const auto layer = static_cast<uint8_t>(event.midiData[3]);
        if (status != 0x80 && status != 0x90) return;
        if (status == 0x90 && velocity >= 1) {
            engine.noteOn(static_cast<int8_t>(note), static_cast<int8_t>(velocity), layer);
        } else {
            engine.noteOff(note, velocity);
        }
    });

    renderBlock(outputs, sampleFrames, 1, editorOpen);
}

void VstXSynth::processAccumulating(float**, float** outputs, int32_t sampleFrames) {
    beginRenderCall();
    if (outputs == nullptr || outputs[0] == nullptr || outputs[1] == nullptr || sampleFrames <= 0) return;
    renderBlock(outputs, sampleFrames, 0, synthEditor != nullptr && editorIsOpen());
}

void VstXSynth::renderBlock(float** outputs, int32_t frames, int32_t clear, bool editorOpen) {
    float* out[2] = {outputs[0], outputs[1]};
    int32_t pos = 0;
    for (uint32_t i = 0; i < hostNoteCount; ++i) {
        const QueuedMidiNote& queued = hostNotes[i];
        // Offsets outside the block act at its nearest edge: nothing is ever
        // rendered past the host's buffers or backwards.
        const int32_t offset = std::clamp(queued.frameOffset, 0, frames - 1);
        if (offset > pos) {
            engine.render(offset - pos, out, clear);
            out[0] += offset - pos;
            out[1] += offset - pos;
            pos = offset;
        }
        if (queued.status != 0x80 && queued.velocity != 0) {
            startNote(queued.note, queued.velocity, editorOpen);
        } else {
            if (editorOpen) synthEditor->setKeyDisplay(queued.note, false);
            engine.noteOff(queued.note, 0);
        }
    }
    if (frames - pos >= 1) engine.render(frames - pos, out, clear);
    hostNoteCount = 0;
    if (editorOpen) synthEditor->flushKeyDisplay();
}

void VstXSynth::startNote(uint8_t note, uint8_t velocity, bool editorOpen) {
    if (editorOpen) synthEditor->setKeyDisplay(note, true);
    const auto key = static_cast<int8_t>(note);
    const auto strength = static_cast<int8_t>(velocity);
    switch (engine.voiceMode) {
        case 0: engine.noteOn(key, strength, 0); break;
        case 1:
            engine.noteOn(key, strength, 0);
            engine.noteOn(key, strength, 1);
            break;
        case 2:
            for (int32_t layer = 0; layer < engine.voiceCount && layer < kMaxVoices; ++layer) {
                engine.noteOn(key, strength, static_cast<uint8_t>(layer));
            }
            break;
        default: break;
    }
}
