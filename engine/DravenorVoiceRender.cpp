// Per-voice rendering: voice start, the three oscillators and their routing,
// LFO, pitch envelopes, glide, bend smoothing, amplitude and filter envelopes,
// the per-voice two-stage filter and the Voice-Mode output gains.

#include "engine/Dravenor.h"
#include "engine/FilterLimits.h"
#include "engine/FloatToInt.h"
#include "engine/Flush.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kPitchTableLast = 24575;    // last entry of the pitch tables
constexpr int32_t kBasePitchLast = 18431;     // base pitch indexes stay below this (1/128 semitone)
constexpr int32_t kOffsetLimit = 32768;       // |per-sample offset| beyond which every index clamps anyway

// Filter wiring of one voice; 0 means the voices leave filtering to the shared filter.
enum FilterMode { kNoFilter = 0, kLowPass, kHighPass, kBandLow, kNotchLow };

// Everything a voice reads per sample that stays fixed over one slice.
struct VoiceSlice {
    const float* osc1Table;
    const float* osc2Table;
    float phaseIncPerHz, lfoPitchScale;
    float g0, g1;                       // output gains, already halved
    uint32_t lfoInc;                    // LFO phase increment per frame
    float lfoDepth;                     // LFO pitch depth (phase-increment units / lfoPitchScale)
    float osc3Depth;
    float fmDepth, osc1Level, ringModLevel;
    bool osc3On;
    float filterMod, envAmount, lfoToFilter;
    float cutoff, cutoffStep, separation, resonance;
    float coefLimit;                    // largest stable filter coefficient for this resonance
    float upSteps, downSteps, upCoef, downCoef;  // pitch envelopes, 1/128 semitone at level 1
    float glideDistance, glideCoef;
    float b0, a1, pitchBend;                     // bend smoothing
    float ampAttackCoef, ampDecayCoef, ampSustain, ampReleaseCoef;
    float filterAttackCoef, filterDecayCoef, filterSustain, filterReleaseCoef;
    float lfoDelayCoef;
    float osc2DecayCoef, osc2Sustain, osc3DecayCoef, osc3Sustain;
    int32_t releaseFrame;
    const RateTables* tables;
};

// Linear interpolation in a 2048-sample cycle; index 2048 is the guard sample.
inline float readWave(const float* table, uint32_t phase) {
    const uint32_t i = phase >> 21;
    const float fr = static_cast<float>((phase >> 13) & 255u) * 0.00390625f;
    return table[i] + (table[i + 1] - table[i]) * fr;
}

// Base index plus offset, kept inside the 24576 entries of the pitch tables.
inline int32_t pitchIndex(int32_t base, int32_t offset) {
    return std::clamp(base + offset, 0, kPitchTableLast);
}

template <int Routing, int Filter>
void runVoice(VoiceState& v, const VoiceSlice& s, int32_t frames, float* out0, float* out1) {
    // Working copies of the voice, written back after the loop.
    uint32_t osc1Phase = v.osc1Phase, osc2Phase = v.osc2Phase, osc3Phase = v.osc3Phase;
    uint32_t lfoPhase = v.lfoPhase;
    float osc2Level = v.osc2Level, osc3Level = v.osc3Level;
    float ampLevel = v.ampLevel, filterEnv = v.filterEnvLevel, lfoFade = v.lfoFade;
    float upEnv = v.pitchUpEnv, downEnv = v.pitchDownEnv, glideRemain = v.glideRemain;
    float bendIn = v.bendIn, bendSmoothed = v.bendSmoothed;
    float low1 = v.filterLow1, band1 = v.filterBand1, low2 = v.filterLow2, band2 = v.filterBand2;
    uint8_t ampStage = v.ampStage, filterStage = v.filterStage, lfoStage = v.lfoStage;
    // Attacks run on the remainder to 1, which the voice carries between slices.
    float ampRest = v.ampRest, filterRest = v.filterRest, fadeRest = v.fadeRest;
    float cutoff = s.cutoff;
    const int32_t base1 = v.osc1Pitch, base2 = v.osc2Pitch, base3 = v.osc3Pitch;
    const float ampPeak = v.ampPeak;
    uint8_t gate = v.pitchEnvGate;
    uint32_t released = v.released;
    const float* lfoSine = s.tables->lfoSineTable;
    const float* hz = s.tables->pitchHzTable;
    const uint32_t* inc = s.tables->pitchIncTable;
    const float* filterCoef = s.tables->filterCoefTable;

    for (int32_t i = 0; i < frames; ++i) {
        const float lfo = lfoSine[lfoPhase >> 21];
        upEnv *= s.upCoef;
        downEnv *= s.downCoef;
        const int32_t lfoTerm = floatToInt32(lfo * s.lfoDepth * lfoFade * s.lfoPitchScale);
        glideRemain *= s.glideCoef;
        bendSmoothed = (bendIn + s.pitchBend) * s.b0 - s.a1 * bendSmoothed;
        bendIn = s.pitchBend;
        const int32_t offset = std::clamp(
            floatToInt32(s.glideDistance * glideRemain + s.upSteps * upEnv - s.downSteps * downEnv + bendSmoothed),
            -kOffsetLimit, kOffsetLimit);
        const int32_t idx1 = pitchIndex(base1, offset);
        const int32_t idx2 = pitchIndex(base2, offset);

        float x;
        uint32_t inc1, inc2;
        const uint32_t p2 = osc2Phase + static_cast<uint32_t>(lfoTerm);
        const uint32_t p1 = osc1Phase + static_cast<uint32_t>(lfoTerm);
        const bool runOsc3 = Routing != 1 || s.osc3On;
        float o3 = 0.0f;
        if (runOsc3) {
            o3 = readWave(lfoSine, osc3Phase) * osc3Level;
            if (osc3Level >= s.osc3Sustain) osc3Level *= s.osc3DecayCoef;
        }
        const float s2 = readWave(s.osc2Table, p2) * osc2Level;
        if (osc2Level >= s.osc2Sustain) osc2Level *= s.osc2DecayCoef;
        const float s1 = readWave(s.osc1Table, p1);
        if constexpr (Routing == 1) {
            const float hz1 = hz[idx1];
            if (s.osc3On) {
                const float hz2 = hz[idx2];
                inc2 = static_cast<uint32_t>(floatToInt32((hz2 + o3 * hz2 * s.osc3Depth) * s.phaseIncPerHz));
            } else {
                inc2 = inc[idx2];
            }
            inc1 = static_cast<uint32_t>(floatToInt32((hz1 + s2 * hz1 * s.fmDepth) * s.phaseIncPerHz));
            x = s1;
        } else if constexpr (Routing == 2) {
            const float hz1 = hz[idx1];
            inc2 = inc[idx2];
            inc1 = static_cast<uint32_t>(
                floatToInt32(((s2 * s.fmDepth + o3 * s.osc3Depth) * hz1 + hz1) * s.phaseIncPerHz));
            x = s1;
        } else {
            const float hz2 = hz[idx2];
            inc2 = static_cast<uint32_t>(floatToInt32((hz2 + o3 * hz2 * s.osc3Depth) * s.phaseIncPerHz));
            inc1 = inc[idx1];
            x = (s1 + s2) * s.osc1Level + s1 * s2 * s.ringModLevel;
        }
        osc1Phase = p1 + inc1;
        osc2Phase = p2 + inc2;
        if (runOsc3) osc3Phase += inc[pitchIndex(base3, offset)];

        // Filter envelope: the attack ends at a level of at most 0.9.
        if (filterStage == 0) {
            filterEnv = 1.0f - filterRest;
            filterRest *= s.filterAttackCoef;
            if (filterRest < 0.1f) filterStage = 1;
        } else if (filterStage == 1) {
            if (filterEnv > s.filterSustain) filterEnv *= s.filterDecayCoef;
        } else {
            filterEnv *= s.filterReleaseCoef;
        }
        // LFO delay fade-in, which stops at most at 0.9.
        if (lfoStage == 0) {
            lfoFade = 1.0f - fadeRest;
            fadeRest *= s.lfoDelayCoef;
            if (fadeRest < 0.1f) lfoStage = 2;
        }

        if constexpr (Filter != kNoFilter) {
            int32_t idx = floatToInt32(
                (filterEnv * s.envAmount + s.filterMod + cutoff + lfo * s.lfoToFilter * lfoFade) * kCutoffIndexScale);
            idx = idx < 1 ? 0 : std::min(idx, kFilterCoefSize - 1);
            const float f = std::min(filterCoef[idx], s.coefLimit);
            const float f2 = std::min(s.separation * f, s.coefLimit);
            const float q = s.resonance;
            float high1 = 0.0f, high2 = 0.0f;
            // Two passes of both stages per sample on the same input.
            for (int pass = 0; pass < 2; ++pass) {
                high1 = x - low1 - q * band1;
                band1 += f * high1;
                low1 += f * band1;
                float in2;
                if constexpr (Filter == kLowPass) in2 = low1;
                else if constexpr (Filter == kHighPass) in2 = high1;
                else if constexpr (Filter == kBandLow) in2 = band1;
                else in2 = high1 + low1;
                high2 = in2 - low2 - q * band2;
                band2 += f2 * high2;
                low2 += f2 * band2;
            }
            x = (Filter == kHighPass ? high2 : low2) * kFilterOutputGain;
            cutoff += s.cutoffStep;
        }

        lfoPhase += s.lfoInc;

        x *= ampLevel;
        if (ampStage == 0) {
            ampLevel = 1.0f - ampRest;
            ampRest *= s.ampAttackCoef;
            if (ampLevel >= ampPeak) ampStage = 1;
        } else if (ampStage == 1) {
            if (ampLevel > s.ampSustain) ampLevel *= s.ampDecayCoef;
        } else {
            ampLevel *= s.ampReleaseCoef;
        }
        if (i == s.releaseFrame) {
            gate = 3;
            released = 1;
            ampStage = 3;
            filterStage = 3;
        }
        out0[i] += s.g0 * x;
        out1[i] += s.g1 * x;
    }

    v.osc1Phase = osc1Phase; v.osc2Phase = osc2Phase; v.osc3Phase = osc3Phase; v.lfoPhase = lfoPhase;
    v.osc2Level = osc2Level; v.osc3Level = osc3Level;
    v.ampLevel = ampLevel; v.filterEnvLevel = filterEnv; v.lfoFade = lfoFade;
    v.ampRest = ampRest; v.filterRest = filterRest; v.fadeRest = fadeRest;
    v.pitchUpEnv = upEnv; v.pitchDownEnv = downEnv; v.glideRemain = glideRemain;
    v.bendIn = bendIn; v.bendSmoothed = bendSmoothed;
    v.filterLow1 = low1; v.filterBand1 = band1; v.filterLow2 = low2; v.filterBand2 = band2;
    v.ampStage = ampStage; v.filterStage = filterStage; v.lfoStage = lfoStage;
    v.pitchEnvGate = gate; v.released = released;
}

using VoiceKernel = void (*)(VoiceState&, const VoiceSlice&, int32_t, float*, float*);

template <int Routing>
constexpr VoiceKernel kernelFor(int filter) {
    switch (filter) {
        case kLowPass: return &runVoice<Routing, kLowPass>;
        case kHighPass: return &runVoice<Routing, kHighPass>;
        case kBandLow: return &runVoice<Routing, kBandLow>;
        case kNotchLow: return &runVoice<Routing, kNotchLow>;
        default: return &runVoice<Routing, kNoFilter>;
    }
}

}  // namespace

void Dravenor::renderVoices(int32_t frames, float** outputs)
{
    if (frames <= 0 || outputs == nullptr) return;
    // Bend smoothing: a one-pole low-pass at 10 Hz (w = 2 pi 10), bilinear form.
    const float w = 62.831852f;
    const float b0 = w / (w + 2.0f * sampleRate);
    const float a1 = (w - 2.0f * sampleRate) / (w + 2.0f * sampleRate);
    const int32_t count = std::clamp(voiceCount, 0, kMaxVoices);
    for (int32_t slot = 0; slot < kMaxVoices; ++slot) {
        VoiceState& voice = voices[slot];
        if (voice.active == 0) {
            voice.started = -1;
            voice.releaseFrame = -1;
            continue;
        }
        if (slot >= count) {
            // Left above a lowered voice count: a voice that never sounded is dropped,
            // a sounding one is released and rendered until its tail has died away.
            if (voice.started == 0) {
                voice.active = 0;
                voice.ampLevel = 0.0f;
                voice.started = -1;
                voice.releaseFrame = -1;
                continue;
            }
            if (voice.released == 0 && voice.releaseFrame < 0) voice.releaseFrame = 0;
        }
        renderVoice(voice, slot, frames, outputs, b0, a1);
    }
}

void Dravenor::voiceOutputGains(const VoiceState& voice, int32_t slot, float& gain0, float& gain1) const
{
    float g0 = 1.0f, g1 = 1.0f;
    if (voiceMode == 1) {
        if (voice.layer == 0) {
            g1 = 0.25f;
        } else {
            g0 = 0.25f;
        }
    } else if (voiceMode == 2) {
        // Lower half of the slots (integer division) on output 0, the rest on output 1.
        const bool lower = slot < voiceCount / 2;
        g0 = lower ? 1.0f : 0.0f;
        g1 = lower ? 0.0f : 1.0f;
    }
    gain0 = g0 * 0.5f;
    gain1 = g1 * 0.5f;
}

int32_t Dravenor::fineTuneFactor(uint8_t layer) const
{
    if (voiceMode == 1) return layer == 0 ? 1 : (layer == 1 ? -1 : 0);
    if (voiceMode == 2) {
        // Layers spread symmetrically around the note: +1, +2, -1, -2, +3, +4, -3, -4 fine steps.
        static constexpr int32_t kFactors[8] = {1, 2, -1, -2, 3, 4, -3, -4};
        return layer < 8 ? kFactors[layer] : 0;
    }
    return 1;
}

void Dravenor::startVoice(VoiceState& voice, int32_t /*slot*/)
{
    voice.released = 0;
    voice.started = -1;
    lastNote = voice.note;

    // Glide: distance and speed are engine-wide and belong to the latest start.
    if (glideScale < 0.128f) {
        voice.glideRemain = 0.0f;
        glideDistance = 0.0f;
        glideCoef = 0.0f;
    } else {
        glideDistance = static_cast<float>((glideFromNote - static_cast<int32_t>(voice.note)) * 128);
        voice.glideRemain = 1.0f;
        if (glideType == 1) {
            // Constant rate: 0.02 ms per 1/128 semitone at a glide scale of 1.
            glideCoef = glideFromNote != voice.note
                            ? timeCoef(std::fabs(glideDistance) * glideScale * 0.02f, 0.1f)
                            : 0.0f;
        } else {
            glideCoef = timeCoef(glideScale * 40.0f, 0.1f);  // constant time: 40 ms at scale 1
        }
    }

    const int32_t factor = fineTuneFactor(voice.layer);
    const int32_t note = voice.note;
    voice.osc1Pitch = std::clamp(std::clamp(note + osc1Coarse, 0, 100) * 128 + osc1Fine * factor, 0, kBasePitchLast);
    voice.osc2Pitch = std::clamp(std::clamp(note + osc2Coarse, 0, 100) * 128 + osc2Fine * factor, 0, kBasePitchLast);
    voice.osc3Pitch = std::clamp(std::clamp(note + osc3Coarse, 0, 143) * 128 + osc3Fine, 0, kBasePitchLast);

    // Attacks start from the current levels, so a stolen voice does not click to 0.
    voice.ampPeak = voice.velAmpGain * 0.9f;
    voice.osc2Level = 1.0f;
    voice.osc3Level = voice.velOsc3Gain;
    voice.lfoFade = 0.0f;
    voice.ampRest = 1.0f - voice.ampLevel;
    voice.filterRest = 1.0f - voice.filterEnvLevel;
    voice.fadeRest = 1.0f;
    voice.ampStage = 0;
    voice.filterStage = 0;
    voice.lfoStage = 0;
}

void Dravenor::renderVoice(VoiceState& voice, int32_t slot, int32_t frames, float** outputs, float bendB0,
                           float bendA1)
{
    voice.age += static_cast<uint32_t>(frames);

    VoiceSlice s;
    voiceOutputGains(voice, slot, s.g0, s.g1);

    // The synced doublings are limited to +-30 (a Rate far outside 0..1).
    s.lfoInc = lfoIncrement(std::clamp(syncedLfoDoublings(), -30, 30));

    const float note = static_cast<float>(voice.note);
    s.lfoDepth = wheelToLfo * modWheel + lfoToOsc + pressureToLfo * channelPressure;
    s.osc3Depth = osc3Amount * (1.0f - osc3KeyTrack * note / 100.0f) + wheelToOsc3 * modWheel +
                  pressureToOsc3 * channelPressure;
    voice.filterMod = staticFilterMod(voice);
    s.filterMod = voice.filterMod;
    s.envAmount = filterInvert != 0 ? -filterEnvAmount : filterEnvAmount;

    // Pitch envelopes: full amount is 4 octaves with PercEnv, else 1 octave (1/128 semitone).
    const float m = percEnv != 0 ? 6144.0f : 1536.0f;
    s.upSteps = pitchUpAmount * m;
    s.downSteps = pitchDownAmount * m;
    const bool held = voice.pitchEnvGate == 1;
    // Signed comparison: a delay made negative by an out-of-range host value means no delay.
    s.upCoef = static_cast<int64_t>(voice.framesSinceStart) < pitchUpDelay
                   ? 1.0f
                   : (held ? pitchUpDecayCoef : pitchUpReleaseCoef);
    s.downCoef = static_cast<int64_t>(voice.framesSinceStart) < pitchDownDelay
                     ? 1.0f
                     : (held ? pitchDownDecayCoef : pitchDownReleaseCoef);
    voice.framesSinceStart += static_cast<uint32_t>(frames);

    // A note released before it ever sounded still holds for this one slice.
    if (voice.started == 0 && voice.releaseFrame == 0) voice.releaseFrame = frames - 1;
    if (voice.started == 0) startVoice(voice, slot);

    s.osc1Table = osc1Table;
    s.osc2Table = osc2Table;
    s.phaseIncPerHz = phaseIncPerHz;
    s.lfoPitchScale = lfoPitchScale;
    s.fmDepth = ringModLevel * 8.0f;
    s.osc1Level = osc1Level;
    s.ringModLevel = ringModLevel;
    s.osc3On = osc3On != 0;
    s.lfoToFilter = lfoToFilter;
    s.cutoff = cutoffCurrent;
    s.cutoffStep = cutoffRampStep;
    s.separation = filterSeparation;
    s.resonance = filterResonance;
    // Only bites at rates below about 40 kHz, where full cutoff would make the stages unstable.
    s.coefLimit = stableFilterCoefLimit(s.resonance);
    s.glideDistance = glideDistance;
    s.glideCoef = glideCoef;
    s.b0 = bendB0;
    s.a1 = bendA1;
    s.pitchBend = pitchBend;
    s.ampAttackCoef = ampAttackCoef;
    s.ampDecayCoef = ampDecayCoef;
    s.ampSustain = ampSustain;
    s.ampReleaseCoef = ampReleaseCoef;
    s.filterAttackCoef = filterAttackCoef;
    s.filterDecayCoef = filterDecayCoef;
    s.filterSustain = filterSustain;
    s.filterReleaseCoef = filterReleaseCoef;
    s.lfoDelayCoef = lfoDelayCoef;
    s.osc2DecayCoef = osc2DecayCoef;
    s.osc2Sustain = osc2Sustain;
    s.osc3DecayCoef = osc3DecayCoef;
    s.osc3Sustain = osc3Sustain;
    s.releaseFrame = voice.releaseFrame;
    s.tables = tables;

    int filter = kNoFilter;
    if (perVoiceFilter == 1) {
        switch (filterType) {
            case 1: filter = kHighPass; break;
            case 2: filter = kBandLow; break;
            case 3:
            case 4: filter = kNotchLow; break;
            default: filter = kLowPass; break;  // 0 and values a stored program should never hold
        }
    }
    VoiceKernel kernel;
    switch (oscRouting) {
        case 1: kernel = kernelFor<1>(filter); break;
        case 2: kernel = kernelFor<2>(filter); break;
        default: kernel = kernelFor<0>(filter); break;
    }
    kernel(voice, s, frames, outputs[0], outputs[1]);

    // Flush tiny values so nothing decays into denormals; a silent amplitude ends the voice.
    // Thresholds: 1e-6 (-120 dB) for levels and memories, 1e-5 (-100 dB) for the
    // Osc2 and Osc3 envelope levels.
    if (voice.ampLevel < 1e-6f && voice.ampStage != 0) {
        voice.active = 0;
        voice.ampLevel = 0.0f;
    }
    voice.filterEnvLevel = flushBelow(voice.filterEnvLevel, 1e-6f);
    voice.lfoFade = flushBelow(voice.lfoFade, 1e-6f);
    voice.pitchUpEnv = flushBelow(voice.pitchUpEnv, 1e-6f);
    voice.pitchDownEnv = flushBelow(voice.pitchDownEnv, 1e-6f);
    voice.glideRemain = flushBelow(voice.glideRemain, 1e-6f);
    voice.filterLow1 = flushMagnitude(voice.filterLow1, 1e-6f);
    voice.filterBand1 = flushMagnitude(voice.filterBand1, 1e-6f);
    voice.filterLow2 = flushMagnitude(voice.filterLow2, 1e-6f);
    voice.filterBand2 = flushMagnitude(voice.filterBand2, 1e-6f);
    voice.bendSmoothed = flushMagnitude(voice.bendSmoothed, 1e-6f);
    voice.osc2Level = flushBelow(voice.osc2Level, 1e-5f);
    voice.osc3Level = flushBelow(voice.osc3Level, 1e-5f);
    voice.started = -1;
    voice.releaseFrame = -1;
}
