// Parameter conversion: normalised values into the engine's working values.
// Products and comparisons are float32 on purpose (e.g. 0.999f, 0.1f, 0.001f):
// stored programs sit on these exact thresholds and truncation steps.
#include "engine/Dravenor.h"

#include <cmath>

#include "engine/FloatToInt.h"
#include "engine/ParameterSteps.h"
#include "engine/ParameterUnits.h"
#include "engine/SharedField.h"

namespace {

uint8_t flag(bool on)
{
    return on ? 1 : 0;
}

// Osc2-Dec and Osc3-Dec: 5..10000 ms to a tenth; no decay at the top of the knob.
void setOscDecay(const Dravenor& e, float v, float& coef, double& ms)
{
    publishField(coef, oscDecays(v) ? e.expTimeCoef(v, 5.0f, 10000.0f, 0.1f) : 1.0f);
    publishField(ms, oscDecayMsOf(v));
}

// The four conversions whose range PercEnv chooses. Each keeps its value, so that a change
// of PercEnv converts it again: what plays then follows the values alone, whatever order
// they came in and whatever program came before.

void setAmpAttack(Dravenor& e, float v)
{
    e.ampAttackNorm = v;
    const TimeRangeMs range = ampAttackRange(e.percEnv != 0);
    e.ampAttackCoef = e.expTimeCoef(v, range.lo, range.hi, 0.1f);
    publishField(e.ampAttackMs, ampAttackMsOf(v, e.percEnv != 0));
}

// Flt-Dec: rendering also derives its multiplier afresh at every slice.
void setFilterDecay(Dravenor& e, float v)
{
    e.filterDecayNorm = v;
    e.refreshFilterDecay();
    publishField(e.filterDecayMs, filterDecayMsOf(v, e.percEnv != 0));
}

// PUp-Dec and PDw-Dec; no decay at the top of the knob.
float pitchDecayCoef(const Dravenor& e, float v)
{
    if (!(v < 0.999f)) return 1.0f;
    const TimeRangeMs range = pitchDecayRange(e.percEnv != 0);
    return e.expTimeCoef(v, range.lo, range.hi, 0.1f);
}

void setPercEnv(Dravenor& e, float v)
{
    e.percEnv = switchOn(v) ? 1 : 0;
    setAmpAttack(e, e.ampAttackNorm);
    setFilterDecay(e, e.filterDecayNorm);
    e.pitchUpDecayCoef = pitchDecayCoef(e, e.pitchUpDecayNorm);
    e.pitchDownDecayCoef = pitchDecayCoef(e, e.pitchDownDecayNorm);
}

// Osc1, Osc2, Osc3 and the routing.
bool setOscillator(Dravenor& e, int32_t index, float v)
{
    switch (index) {
    case kParamOsc1Coarse: e.osc1Coarse = coarseTuningOf(v); break;  // -12..+12 semitones
    case kParamOsc1Fine: e.osc1Fine = fineTuningOf(v); break;  // 1/128 semitone
    case kParamOsc1Sat:
        e.osc1Drive = Dravenor::dbToGain(v * 50.0f + 1.0f);
        e.updateWaveforms();
        break;
    case kParamLevelRm:
        e.osc1Level = 1.0f - v;
        e.ringModLevel = 2.0f * v;
        break;
    case kParamOsc2Coarse: e.osc2Coarse = coarseTuningOf(v); break;
    case kParamOsc2Fine: e.osc2Fine = fineTuningOf(v); break;
    case kParamOsc2Sat:
        e.osc2Drive = Dravenor::dbToGain(v * 50.0f + 1.0f);
        e.updateWaveforms();
        break;
    case kParamOsc2Decay: setOscDecay(e, v, e.osc2DecayCoef, e.osc2DecayMs); break;
    case kParamOsc2Sustain: e.osc2Sustain = v; break;
    case kParamOsc1Wave:
        publishField(e.osc1Wave, static_cast<uint8_t>(waveOf(v)));
        e.updateWaveforms();
        break;
    case kParamOsc2Wave:
        publishField(e.osc2Wave, static_cast<uint8_t>(waveOf(v)));
        e.updateWaveforms();
        break;
    case kParamOscRouting: e.oscRouting = static_cast<uint8_t>(truncClamp(v, 0, 255)); break;
    case kParamOsc3Coarse: e.osc3Coarse = osc3CoarseTuningOf(v); break;  // -48..+48 semitones
    case kParamOsc3Fine: e.osc3Fine = fineTuningOf(v); break;
    case kParamOsc3KeyTrack: e.osc3KeyTrack = v; break;
    case kParamOsc3Decay: setOscDecay(e, v, e.osc3DecayCoef, e.osc3DecayMs); break;
    case kParamOsc3Sustain: e.osc3Sustain = v; break;
    case kParamOsc3Amount:
        e.osc3On = flag(v > 0.0f);
        e.osc3Amount = v > 0.0f ? Dravenor::expScale(v, 0.125f, 64.0f) : 0.0f;
        break;
    default: return false;
    }
    return true;
}

// LFO, glide and the amplitude envelope.
bool setModulationAndAmp(Dravenor& e, int32_t index, float v)
{
    switch (index) {
    case kParamLfoRate:
        e.lfoRateHz = Dravenor::expScale(v, 0.05f, 100.0f);
        e.lfoRateNorm = v;
        break;
    case kParamLfoFilter: e.lfoToFilter = v * v * 0.25f; break;
    case kParamLfoDelay: e.lfoDelayCoef = e.expTimeCoef(v, 1.0f, 10000.0f, 0.1f); break;
    case kParamLfoSync: publishField(e.lfoSync, flag(switchOn(v))); break;
    case kParamLfoOsc: e.lfoToOsc = v * v * 0.25f; break;
    case kParamGlide: e.glideScale = Dravenor::expScale(v, 0.125f, 8.0f); break;
    case kParamGlideType: publishField(e.glideType, glideTypeOf(v)); break;
    case kParamAmpAttack: setAmpAttack(e, v); break;
    case kParamAmpDecay:
        e.ampDecayCoef = e.expTimeCoef(v, 35.0f, 3500.0f, 0.1f);
        publishField(e.ampDecayMs, ampDecayMsOf(v));
        break;
    case kParamAmpSustain: e.ampSustain = v; break;
    case kParamAmpRelease:
        e.ampReleaseCoef = e.expTimeCoef(v, 16.0f, 15000.0f, 0.001f);
        publishField(e.ampReleaseMs, ampReleaseMsOf(v));
        break;
    case kParamPercEnv: setPercEnv(e, v); break;
    default: return false;
    }
    return true;
}

// The filter and its envelope.
bool setFilter(Dravenor& e, int32_t index, float v)
{
    switch (index) {
    case kParamFltCutoff:
        // Rendering glides cutoffCurrent to the target over kCutoffRampFrames frames.
        e.cutoffTarget = v;
        e.cutoffRampStep = (v - e.cutoffCurrent) / static_cast<float>(kCutoffRampFrames);
        e.cutoffRampSteps = kCutoffRampFrames;
        e.cutoffRampActive = 1;
        break;
    case kParamFltReso: e.filterResonance = Dravenor::expScale(1.0f - v, 0.15f, 2.0f); break;
    case kParamFltEnv: e.filterEnvAmount = static_cast<float>(v * 0.99 + 0.01); break;
    case kParamFltSep:
        // Deliberately leaves the velocity amounts alone (they belong to Vel-Amp and Vel-Flt).
        e.filterSeparation = 1.0f - v * 0.5f;
        break;
    case kParamFltAttack:
        e.filterAttackCoef = e.expTimeCoef(v, 2.2f, 2200.0f, 0.01f);
        publishField(e.filterAttackMs, filterAttackMsOf(v));  // where the attack ends
        break;
    case kParamFltDecay: setFilterDecay(e, v); break;
    case kParamFltSustain: e.filterSustain = v; break;
    case kParamFltRelease:
        e.filterReleaseCoef = e.expTimeCoef(v, 16.0f, 5000.0f, 0.001f);
        publishField(e.filterReleaseMs, filterReleaseMsOf(v));
        break;
    case kParamFltKeyTrack: e.filterKeyTrack = v; break;
    case kParamFltType: e.filterType = filterTypeOf(v); break;
    case kParamFltInvert: e.filterInvert = filterInvertOf(v); break;
    case kParamSharedFilter: e.perVoiceFilter = flag(perVoiceFilterOf(v)); break;
    default: return false;
    }
    return true;
}

// The pitch-up and pitch-down envelopes.
bool setPitchEnvelope(Dravenor& e, int32_t index, float v)
{
    const float sr = e.sampleRate;
    auto release = [&](float x) { return x < 0.999f ? e.expTimeCoef(x, 20.0f, 20000.0f, 0.1f) : 1.0f; };
    switch (index) {
    case kParamPitchUpAmount: e.pitchUpAmount = v; break;
    case kParamPitchUpDelay: e.pitchUpDelay = truncToInt32(sr * v); break;  // frames, up to 1 s
    case kParamPitchUpDecay:
        e.pitchUpDecayNorm = v;
        e.pitchUpDecayCoef = pitchDecayCoef(e, v);
        break;
    case kParamPitchUpRelease: e.pitchUpReleaseCoef = release(v); break;
    case kParamPitchDownAmount: e.pitchDownAmount = v; break;
    case kParamPitchDownDelay: e.pitchDownDelay = truncToInt32(sr * v); break;
    case kParamPitchDownDecay:
        e.pitchDownDecayNorm = v;
        e.pitchDownDecayCoef = pitchDecayCoef(e, v);
        break;
    case kParamPitchDownRelease: e.pitchDownReleaseCoef = release(v); break;
    default: return false;
    }
    return true;
}

// Voices, chorus, bass enhancer and output stage.
bool setVoicesAndEffects(Dravenor& e, int32_t index, float v)
{
    const float sr = e.sampleRate;
    switch (index) {
    case kParamVoiceMode: publishField(e.voiceMode, voiceModeOf(v)); break;
    case kParamVoiceCount: e.setPolyphony(voiceCountOf(v)); break;  // n / 100 asks for n
    case kParamBendRange: publishField(e.bendRange, bendRangeOf(v)); break;
    case kParamChorusSync: publishField(e.chorusSync, flag(switchOn(v))); break;
    case kParamChorusAmount:
        e.chorusDry = std::sqrt(1.0f - v * 0.5f);
        e.chorusWet = std::sqrt(v * 0.5f);
        break;
    case kParamChorusDelay:
        e.chorusSyncSteps = static_cast<float>(truncBounded(v * 7.9f) + 1);  // 1..8 tenths of a beat
        publishField(e.chorusDelayMs, chorusDelayMsOf(v));
        e.chorusDelay = e.chorusDelayMs * sr * 0.001f;                     // frames
        break;
    case kParamChorusMod: e.chorusModDepth = Dravenor::expScale(v, 1.0f, 5.0f) * sr * 0.001f; break;
    case kParamChorusRate:
        e.chorusRateHz = Dravenor::expScale(v, 0.015f, 10.0f);
        e.chorusPhaseInc = static_cast<uint32_t>(truncToInt64(e.chorusRateHz * e.phaseIncPerHz));
        break;
    case kParamChorusSpread: e.chorusSpread = v; break;
    case kParamChorusLow:
        e.onePoleLowpassCoefs(Dravenor::expScale(v, 100.0f, 15000.0f), e.chorusLowpassA, e.chorusLowpassB);
        break;
    case kParamChorusHigh:
        e.onePoleHighpassCoefs(Dravenor::expScale(v, 5.0f, 5000.0f), e.chorusHighpassA, e.chorusHighpassB);
        break;
    case kParamChorusFeedback: e.chorusFeedback = v; break;
    case kParamBassAmount: e.bassAmount = v; break;
    case kParamBassSat: e.bassSaturation = v; break;
    case kParamBassFreq: e.bassFreqHz = Dravenor::expScale(v, 100.0f, 1000.0f); break;
    case kParamBassSpread:
        e.bassDelayLength = truncClamp(v * sr * 0.1f, 0, kBassDelayMax);  // at most 100 ms
        e.bassDelayPos = 0;
        break;
    case kParamOutDist:
        e.outDistOn = flag(v > 0.01f);
        e.outDistGain = Dravenor::dbToGain(v * 50.0f);
        break;
    case kParamOutLow:
        // Coefficients follow the knob even while the switch is off.
        e.outLowpassOn = flag(outLowpassOnOf(v));
        e.onePoleLowpassCoefs(Dravenor::expScale(v, 100.0f, 20000.0f), e.outLowpassA, e.outLowpassB);
        break;
    case kParamOutHigh:
        e.outHighpassOn = flag(outHighpassOnOf(v));
        e.onePoleHighpassCoefs(Dravenor::expScale(v, 3.0f, 2500.0f), e.outHighpassA, e.outHighpassB);
        break;
    case kParamOutGain: e.outGain = v * v * 16.0f; break;
    default: return false;
    }
    return true;
}

// Modulation wheel, velocity and channel-pressure amounts.
bool setModulationAmounts(Dravenor& e, int32_t index, float v)
{
    switch (index) {
    case kParamModWheel: e.modWheel = v; break;
    case kParamVelAmp: e.velToAmp = v; break;
    case kParamVelFilter: e.velToFilter = v; break;
    case kParamVelOsc3: e.velToOsc3 = v; break;
    case kParamWheelLfo: e.wheelToLfo = v * v * 0.25f; break;
    case kParamWheelFilter: e.wheelToFilter = v * v * 0.5f; break;
    case kParamWheelOsc3: e.wheelToOsc3 = v * 16.0f; break;
    case kParamPressureLfo: e.pressureToLfo = v * v * 0.25f; break;
    case kParamPressureFilter: e.pressureToFilter = v * v; break;
    case kParamPressureOsc3: e.pressureToOsc3 = v * 8.0f; break;
    default: return false;
    }
    return true;
}

} // namespace

void Dravenor::setParameter(int32_t index, float value)
{
    // Compared unsigned: negative indexes and the editor-only tags 82..91 change nothing.
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kNumParams)) return;
    // A NaN from a host would poison filters and envelopes for good; take it as 0.
    const float v = std::isnan(value) ? 0.0f : value;
    if (setOscillator(*this, index, v)) return;
    if (setModulationAndAmp(*this, index, v)) return;
    if (setFilter(*this, index, v)) return;
    if (setPitchEnvelope(*this, index, v)) return;
    if (setVoicesAndEffects(*this, index, v)) return;
    setModulationAmounts(*this, index, v);
    // 63 and 64 have no effect.
}
