// Voice allocation: noteOn, noteOff and choosing the voice a note takes.
#include "engine/Dravenor.h"

#include <algorithm>

int32_t Dravenor::chooseVoice()
{
    const int32_t count = std::min(voiceCount, kMaxVoices);
    for (int32_t i = 0; i < count; ++i) {
        if (voices[i].active == 0) {
            voices[i].osc1Phase = 0;
            voices[i].osc2Phase = 0;
            return i;
        }
    }
    if (count < 1) return 0;
    // Steal: the oldest released voice, else the oldest of all; ties go to the higher slot.
    int32_t best = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (voices[i].released == 1 && (best < 0 || voices[i].age >= voices[best].age)) best = i;
    }
    if (best >= 0) return best;
    best = 0;
    for (int32_t i = 1; i < count; ++i) {
        if (voices[i].age >= voices[best].age) best = i;
    }
    return best;
}

void Dravenor::noteOn(int8_t note, int8_t velocity, uint8_t layer)
{
    const float v = static_cast<float>(velocity) * 0.0078125f;  // velocity / 128
    VoiceState& voice = voices[chooseVoice()];
    // A stolen voice keeps its phases, envelope levels and filter memories.
    voice.note = static_cast<uint8_t>(note);
    voice.active = 1;
    voice.started = 0;
    // No release pending for the new note: a note-off of the old note on the same
    // frame (a legato line) has already been given to this voice.
    voice.releaseFrame = -1;
    voice.age = 0;
    voice.velFilter = velToFilter * v;
    voice.velAmpGain = v * velToAmp + 1.0f - velToAmp;
    voice.pitchUpEnv = 1.0f;
    voice.pitchDownEnv = 1.0f;
    voice.velOsc3Gain = v * velToOsc3 + 1.0f - velToOsc3;
    voice.pitchEnvGate = 1;
    voice.framesSinceStart = 0;
    voice.filterMod = 0.0f;
    voice.layer = layer;
    voice.osc3Phase = 0;
    glideFromNote = lastNote;
    if (lfoSync != 0) voice.lfoPhase = 0;
    if (sharedEnvStage == 3) {
        // First key after all were up: the shared filter envelope restarts its attack.
        sharedFilterMod = staticFilterMod(voice);
        sharedEnvRest = 1.0f - sharedFilterEnv;  // the attack climbs on from the level reached
        sharedEnvStage = 0;
    }
}

float Dravenor::staticFilterMod(const VoiceState& voice) const
{
    // Key tracking: 1/200 of the cutoff range per semitone.
    return wheelToFilter * modWheel + pressureToFilter * channelPressure + voice.velFilter +
           static_cast<float>(voice.note) * filterKeyTrack / 200.0f;
}

void Dravenor::noteOff(uint8_t note, uint8_t /*velocity*/)
{
    const int32_t count = std::min(voiceCount, kMaxVoices);
    bool keyHeld = false;
    for (int32_t i = 0; i < count; ++i) {
        VoiceState& voice = voices[i];
        if (voice.active == 0) continue;
        if (voice.note == note) {
            voice.releaseFrame = 0;  // enters its release at the first frame of the next slice
        } else if (voice.ampStage != 3 && voice.releaseFrame == -1) {
            keyHeld = true;
        }
    }
    if (!keyHeld) sharedEnvStage = 3;
}
