// The slice driver and the master chain: shared filter, cutoff bookkeeping,
// bass enhancer, distortion, chorus and output stage.
#include "engine/Dravenor.h"

#include <algorithm>
#include <cmath>

#include "engine/DenormalGuard.h"
#include "engine/FilterLimits.h"
#include "engine/Flush.h"
#include "engine/FloatToInt.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Distortion: drive x sample is looked up in softClipTable at 128 steps per
// entry; the largest magnitude is just under entry 32767 (argument 16).
constexpr float kDistortionScale = 262144.0f; // 32768 x 128 x 0.0625
constexpr int32_t kDistortionLimit = 4194176; // 32767 x 128

// Shortest chorus delay, frames. The cubic reads one frame newer than the delay, which
// must be a frame already written: one frame back it would be the slot about to be
// overwritten (a line length old), and the three written taps alone sum to more than 1,
// so at a high Ch-Fbk the loop grows without bound. Binds only below 2 kHz, where
// Ch-Del's shortest 1 ms is under two frames.
constexpr float kChorusMinDelay = 2.0f;

// Index of a chorus line read, wrapped into 0..length-1 (j lies within one length either side).
inline int32_t wrapIndex(int32_t j, int32_t length)
{
    if (j < 0) return j + length;
    if (j >= length) return j - length;
    return j;
}

} // namespace

void Dravenor::refreshFilterDecay()
{
    const TimeRangeMs range = filterDecayRange(percEnv != 0);
    filterDecayCoef = expTimeCoef(filterDecayNorm, range.lo, range.hi, 0.1f);
}

int32_t Dravenor::syncedLfoDoublings() const
{
    return floatToInt32(lfoRateNorm * 12.0f);
}

uint32_t Dravenor::lfoIncrement(int32_t doublings) const
{
    // Synced to the host: (BPM / 3072) Hz doubled `doublings` times (hostTempo is BPM x 10000).
    const float increment = lfoSync != 0
                                ? phaseIncPerHz * (hostTempo / 30720000.0f) * std::ldexp(1.0f, doublings)
                                : phaseIncPerHz * lfoRateHz;
    return static_cast<uint32_t>(floatToInt64(increment));  // the low 32 bits of the 64-bit truncation
}

void Dravenor::render(int32_t frames, float** outputs, int32_t clear)
{
    if (frames <= 0 || outputs == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) return;
    DenormalGuard denormals;
    acquireWaveforms();

    // Slice set-up. The filter decay follows a PercEnv change at once.
    refreshFilterDecay();
    if (cutoffRampSteps < 1 || (cutoffRampActive != 0 && cutoffRampSteps < frames)) {
        cutoffCurrent = cutoffTarget;
        cutoffRampStep = 0.0f;
        cutoffRampSteps = 0;
    }
    cutoffRampActive = 0;
    if (clear != 0) {
        std::fill(outputs[0], outputs[0] + frames, 0.0f);
        std::fill(outputs[1], outputs[1] + frames, 0.0f);
    }
    if (sounding == 0) return;

    renderVoices(frames, outputs);

    if (perVoiceFilter == 0) processSharedFilter(frames, outputs);
    cutoffCurrent += cutoffRampStep * static_cast<float>(frames);
    if (cutoffRampSteps > 0) cutoffRampSteps -= frames;
    processBassEnhancer(frames, outputs);
    processDistortion(frames, outputs);
    processChorus(frames, outputs);
    processOutputStage(frames, outputs);
    freshAfterReset = 0;
}

void Dravenor::processSharedFilter(int32_t frames, float** outputs)
{
    if (frames <= 0) return;
    refreshFilterDecay();
    const float envAmount = filterInvert != 0 ? -filterEnvAmount : filterEnvAmount;
    // Unlike the voices' LFO, the synced doublings are not limited here.
    const uint32_t lfoInc = lfoIncrement(syncedLfoDoublings());

    const float* lfoSine = tables->lfoSineTable;
    const float* coefTable = tables->filterCoefTable;
    const float q = filterResonance;
    const float coefLimit = stableFilterCoefLimit(q);
    const float separation = filterSeparation;
    const float rampStep = cutoffRampStep;
    const float mod = sharedFilterMod;
    const float toFilter = lfoToFilter;
    const float attack = filterAttackCoef, decay = filterDecayCoef, sustain = filterSustain,
                release = filterReleaseCoef, delayCoef = lfoDelayCoef;
    const int32_t type = filterType;

    float cutoff = cutoffCurrent;
    float env = sharedFilterEnv, envRest = sharedEnvRest;
    float fade = sharedLfoFade, fadeRest = sharedFadeRest;
    uint8_t envStage = sharedEnvStage, lfoStage = sharedLfoStage;
    uint32_t phase = sharedLfoPhase;
    SharedFilterState& st = sharedFilterState;
    float low1 = st.low1, band1 = st.band1, low2 = st.low2, band2 = st.band2;
    float* out0 = outputs[0];
    float* out1 = outputs[1];

    for (int32_t i = 0; i < frames; ++i) {
        if (lfoStage == 0) {
            fade = 1.0f - fadeRest;
            fadeRest *= delayCoef;
            if (fadeRest < 0.1f) lfoStage = 2;
        }
        const float x = out0[i];
        if (envStage == 0) {
            env = 1.0f - envRest;
            envRest *= attack;
            if (envRest < 0.1f) envStage = 1;
        } else if (envStage == 1) {
            if (env > sustain) env *= decay;
        } else {
            env *= release;
        }
        const float lfo = lfoSine[phase >> 21] * toFilter * fade;
        phase += lfoInc;
        int32_t idx = floatToInt32((env * envAmount + mod + cutoff + lfo) * kCutoffIndexScale);
        idx = idx < 1 ? 0 : std::min(idx, kFilterCoefSize - 1);
        cutoff += rampStep;
        const float f = std::min(coefTable[idx], coefLimit);
        const float f2 = std::min(separation * f, coefLimit);
        float high2 = 0.0f;
        for (int pass = 0; pass < 2; ++pass) {
            const float high1 = x - low1 - q * band1;
            band1 += f * high1;
            low1 += f * band1;
            float in2;
            switch (type) {
                case 1: in2 = high1; break;
                case 2: in2 = band1; break;
                case 3:
                case 4: in2 = high1 + low1; break;
                default: in2 = low1; break; // 0 and values no program holds
            }
            high2 = in2 - low2 - q * band2;
            band2 += f2 * high2;
            low2 += f2 * band2;
        }
        const float y = (type == 1 ? high2 : low2) * kFilterOutputGain;
        out0[i] = y;
        out1[i] = y;
    }

    st.low1 = low1;
    st.band1 = band1;
    st.low2 = low2;
    st.band2 = band2;
    sharedFilterEnv = env;
    sharedLfoFade = fade;
    sharedEnvRest = envRest;
    sharedFadeRest = fadeRest;
    sharedEnvStage = envStage;
    sharedLfoStage = lfoStage;
    sharedLfoPhase = phase;
}

void Dravenor::processBassEnhancer(int32_t frames, float** outputs)
{
    if (!(bassAmount > 0.0001f) || frames <= 0) return;  // Bass-Amt at 0: the stage is off
    // Unwarped bilinear one-pole low-pass at bassFreqHz; two in series make 12 dB/octave.
    const float w = bassFreqHz * 6.2831855f;
    const float k = 2.0f * sampleRate;
    const float a = (w - k) / (k + w);
    const float b = w / (k + w);
    // theta 0.3 pi .. 0.9 pi: sin(theta lp) / sin(theta) rises like theta / sin(theta) x lp
    // for small signals and flattens for large ones.
    const double theta = (bassSaturation * 0.6f + 0.3f) * kPi;
    const double norm = 1.0 / std::sin(theta);
    const float amount = bassAmount;
    const int32_t length = std::clamp(bassDelayLength, 0, kBassDelayLineLength - 1);

    for (int c = 0; c < 2; ++c) {
        BassState& s = bassState[c];
        float in1 = s.in1, low1 = s.low1, in2 = s.in2, low2 = s.low2;
        float* out = outputs[c];
        int32_t pos = bassDelayPos;
        if (pos < 0 || pos > length) pos = 0;
        for (int32_t i = 0; i < frames; ++i) {
            const float x = out[i];
            float u = x;
            if (c == 1) {
                // Output 1 hears the bass length + 1 frames late (Bass-Sprd).
                u = bassDelayLine[pos];
                bassDelayLine[pos] = x;
                if (++pos > length) pos = 0;
            }
            const float lp1 = (u + in1) * b - a * low1;
            in1 = u;
            low1 = lp1;
            const float lp2 = (lp1 + in2) * b - a * low2;
            in2 = lp1;
            low2 = lp2;
            out[i] = x + amount * static_cast<float>(std::sin(theta * lp2) * norm - lp2);
        }
        if (c == 1) bassDelayPos = pos;
        s.in1 = in1;
        s.low1 = flushMagnitude(low1, 1e-7f);
        s.in2 = in2;
        s.low2 = flushMagnitude(low2, 1e-7f);
    }
}

void Dravenor::processDistortion(int32_t frames, float** outputs)
{
    if (outDistOn != 1 || frames <= 0) return;
    const float* table = tables->softClipTable;
    const float target = outDistGain * kDistortionScale;
    const float limit = static_cast<float>(kDistortionLimit);
    for (int c = 0; c < 2; ++c) {
        float drive = outDistDriveCurrent[c];
        float step = 0.0f;
        if (drive < 0.0f) {
            drive = target; // first slice after a reset: the full drive at once
        } else {
            step = (target - drive) / static_cast<float>(frames);
        }
        float* out = outputs[c];
        for (int32_t i = 0; i < frames; ++i) {
            // Limited in float first, so no product overflows the integer conversion;
            // NaN still converts to 0x80000000 and lands on the negative limit.
            const float p = std::clamp(drive * out[i], -limit, limit);
            const int32_t n = floatToInt32(p);
            const uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
            const uint32_t m = std::min(magnitude, static_cast<uint32_t>(kDistortionLimit));
            const uint32_t entry = m >> 7;
            const float fr = static_cast<float>(m & 127u) * 0.0078125f;  // 1/128: step between entries
            const float y = table[entry] * (1.0f - fr) + table[entry + 1] * fr;
            out[i] = n < 0 ? -y : y;
            drive += step;
        }
        outDistDriveCurrent[c] = target;
    }
}

void Dravenor::processChorus(int32_t frames, float** outputs)
{
    if (!(chorusWetCurrent > 0.01f || chorusDry > 0.001f) || frames <= 0) return;
    if (chorusLines[0] == nullptr || chorusLines[1] == nullptr || chorusLineLength < 8) return;
    const int32_t length = chorusLineLength;
    // The synced delay is worked out here without touching chorusDelay, so that
    // switching sync off returns to the Ch-Del setting.
    float baseDelay = chorusDelay;
    if (chorusSync != 0 && hostTempo > 0.0f) {
        // chorusSyncSteps tenths of a beat in frames (hostTempo is BPM x 10000), at most half the line.
        baseDelay = std::min(sampleRate * 60000.0f * chorusSyncSteps / hostTempo, 0.49f * length);
    }
    // Reads at delay d touch the frames d - 1 .. d + 2 behind the write position.
    const float maxDelay = static_cast<float>(length - 3);
    const float* sine = tables->chorusSineTable;
    const uint32_t startPhase = chorusPhase;
    const float dryStart = chorusDryCurrent, wetStart = chorusWetCurrent;
    const float dryTarget = chorusDry, wetTarget = chorusWet;
    const float depthTarget = chorusModDepth, feedbackTarget = chorusFeedback;
    const float lpA = chorusLowpassA, lpB = chorusLowpassB, hpA = chorusHighpassA, hpB = chorusHighpassB;
    const uint32_t phaseInc = chorusPhaseInc;
    float dry = dryStart, wet = wetStart;

    for (int c = 0; c < 2; ++c) {
        ChorusState& s = chorusState[c];
        const float delayTarget = c == 0 ? baseDelay : baseDelay * (1.0f + chorusSpread);
        if (freshAfterReset != 0) {
            s.depth = depthTarget;
            s.delay = delayTarget;
            s.feedback = feedbackTarget;
        }
        float depth = s.depth, delay = std::min(s.delay, maxDelay), feedback = s.feedback;
        float lpIn = s.lowpassIn, lpOut = s.lowpassOut, lpPrev = s.lowpassPrev, hp = s.highpassOut;
        uint32_t phase = startPhase + (c == 0 ? 0u : 0x40000000u); // output 1 a quarter cycle later
        dry = dryStart;
        wet = wetStart;
        float* line = chorusLines[c];
        int32_t wp = chorusWritePos[c];
        if (wp < 0 || wp >= length) wp = 0;
        float* out = outputs[c];

        for (int32_t i = 0; i < frames; ++i) {
            const float x = out[i];
            // Per-frame smoothing toward the targets: about 1000 frames, 10000 for the delay.
            depth += (depthTarget - depth) * 0.001f;
            delay += (delayTarget - delay) * 0.0001f;
            delay = std::min(delay, maxDelay);
            const float lfo = sine[phase >> 15] + 1.0f;
            phase += phaseInc;
            dry += (dryTarget - dry) * 0.001f;
            wet += (wetTarget - wet) * 0.001f;
            feedback += (feedbackTarget - feedback) * 0.001f;
            // Delay in frames, inside the line and long enough that all four reads are
            // frames already written (a delay that is not a number reads the shortest).
            const float raw = lfo * depth + delay;
            const float d = raw >= kChorusMinDelay ? std::min(raw, maxDelay) : kChorusMinDelay;
            const int32_t di = floatToInt32(d);
            const float fr = d - static_cast<float>(di);
            const int32_t p = wp - di;
            const float ya = line[wrapIndex(p + 1, length)];
            const float yb = line[wrapIndex(p, length)];
            const float yc = line[wrapIndex(p - 1, length)];
            const float ye = line[wrapIndex(p - 2, length)];
            // Four-point cubic interpolation.
            const float y = yb + fr * (yc - ya) * 0.5f + fr * fr * (2.0f * yc + ya - (5.0f * yb + ye) * 0.5f) +
                            fr * fr * fr * ((yb - yc) * 3.0f - ya + ye) * 0.5f;
            const float lp = (y + lpIn) * lpB - lpA * lpOut;
            lpIn = y;
            lpOut = lp;
            hp = (lp - lpPrev) * hpB - hpA * hp;
            lpPrev = lp;
            hp = flushMagnitude(hp, 1e-9f);
            line[wp] = hp * feedback + x;
            if (++wp >= length) wp = 0;
            out[i] = x * dry + wet * hp;
        }

        s.depth = depth;
        s.delay = delay;
        s.feedback = feedback;
        s.lowpassIn = lpIn;
        s.lowpassOut = flushMagnitude(lpOut, 1e-8f);
        s.lowpassPrev = lpPrev;
        s.highpassOut = flushMagnitude(hp, 1e-8f);
        chorusWritePos[c] = wp;
        if (c == 0) chorusPhase = phase;
    }
    chorusDryCurrent = dry;
    chorusWetCurrent = wet;
}

void Dravenor::processOutputStage(int32_t frames, float** outputs)
{
    if (frames <= 0) return;
    const bool filtered = outLowpassOn == 1 || outHighpassOn == 1;
    const float target = outGain;
    const float lpA = outLowpassA, lpB = outLowpassB, hpA = outHighpassA, hpB = outHighpassB;
    for (int c = 0; c < 2; ++c) {
        OutputState& s = outputState[c];
        float gain = s.gain, step = 0.0f;
        if (gain < 1e-8f) {
            gain = target; // after a reset (or from silence) the gain is taken at once
        } else {
            step = (target - gain) / static_cast<float>(frames);
        }
        float* out = outputs[c];
        if (filtered) {
            // Both filters run when either switch is on; an unswitched one sits at its own corner.
            float lpIn = s.lowpassIn, lpOut = s.lowpassOut, lpPrev = s.lowpassPrev, hp = s.highpassOut;
            for (int32_t i = 0; i < frames; ++i) {
                const float x = out[i];
                const float lp = (x + lpIn) * lpB - lpA * lpOut;
                lpIn = x;
                lpOut = lp;
                hp = (lp - lpPrev) * hpB - hpA * hp;
                lpPrev = lp;
                out[i] = gain * hp;
                gain += step;
            }
            s.lowpassIn = lpIn;
            s.lowpassOut = flushMagnitude(lpOut, 1e-9f);
            s.lowpassPrev = lpPrev;
            s.highpassOut = flushMagnitude(hp, 1e-9f);
        } else {
            int32_t i = 0;
            for (; i + 1 < frames; i += 2) {
                out[i] *= gain;
                gain += step;
                out[i + 1] *= gain;
                gain += step;
            }
            if (i < frames) {
                out[i] *= gain;
                gain += step;
            }
        }
        s.gain = gain;
    }
}
