#pragma once
// The polyphonic synthesis engine: parameter conversion, programs, voices,
// rendering and the master chain. It knows no host and no GUI; its owner
// (the plug-in) is reached through EngineOwner.
//
// Threads: render, noteOn, noteOff, setPitchBend and reset run on the audio
// thread; setProgram and setParameter on the audio thread (MIDI) or the UI
// thread (editor, host); setSampleRate and construction on the UI thread.
// The owner makes sure that only one thread at a time writes the engine (the
// rendering one while the host processes).
// The working values are public because the editor reads them directly; those
// it reads (wave indexes, counts, switches, display times) are written with
// publishField and read from other threads with peekField (SharedField.h).

#include <cstdint>

#include "engine/EngineOwner.h"
#include "engine/Module.h"
#include "engine/ParamControlTable.h"
#include "engine/OscTableExchange.h"
#include "engine/ParameterUnits.h"
#include "engine/ProgramBank.h"
#include "engine/RateTables.h"
#include "engine/SharedField.h"
#include "engine/VoiceState.h"
#include "engine/WaveTableBank.h"

inline constexpr int32_t kMaxVoices = 20;
inline constexpr int32_t kDefaultVoiceCount = 12;
inline constexpr int32_t kDefaultBendRange = 3;        // semitones
inline constexpr int32_t kChorusLineLength = 200000;   // frames per chorus delay line
inline constexpr int32_t kBassDelayLineLength = 10000; // floats in the bass delay line
inline constexpr int32_t kBassDelayMax = 9599;         // longest bass delay length, frames
inline constexpr int32_t kOscTableLength = OscTableExchange::kTableLength;  // 2048 samples + guards
inline constexpr int32_t kWaveLength = WaveTableBank::kWaveLength;  // samples per wave cycle
inline constexpr int32_t kNumWaves = WaveTableBank::kWaveCount;     // wave index 1..39, 0 = oscillator off
inline constexpr int32_t kCutoffRampFrames = 2000;     // Flt-Cut glides over this many frames

// Per output: chorus one-pole memories and smoothed delay parameters.
struct ChorusState {
    float lowpassIn;     // low-pass input memory
    float lowpassOut;    // low-pass output
    float lowpassPrev;   // previous low-pass output (high-pass input memory)
    float highpassOut;   // high-pass output
    float depth;         // smoothed modulation depth, frames
    float feedback;      // smoothed feedback
    float delay;         // smoothed delay, frames
    float spare;
};

// Per output: the bass stage's two one-pole low-pass sections.
struct BassState {
    float in1, low1;     // section 1 input memory and output
    float in2, low2;     // section 2 input memory and output
    float spare[4];
};

// Per output: output-stage filter memories and the current gain.
struct OutputState {
    float lowpassIn;     // input memory
    float lowpassOut;    // low-pass output
    float lowpassPrev;   // previous low-pass output
    float highpassOut;   // high-pass output
    float gain;          // current output gain
    float spare[3];
};

// The shared filter's two state-variable stages.
struct SharedFilterState {
    float low1, band1, low2, band2;
    float spare[4];
};

static_assert(sizeof(ChorusState) == 32 && sizeof(BassState) == 32 && sizeof(OutputState) == 32 &&
              sizeof(SharedFilterState) == 32, "stage records are 8 floats");

class Dravenor : public Module {
public:
    // --- engine state (field order as designed) ---
    float sampleRate = 0;            // Hz
    float phaseIncPerHz = 0;         // 2^32 / sampleRate
    float pitchBend = 0;             // current bend, 1/128 semitone
    int32_t voiceCount = kDefaultVoiceCount;  // voices in use, at most 20
    int32_t bendRange = kDefaultBendRange;    // semitones; the plug-in scales bends by it
    int32_t currentProgram = 0;      // last program given to setProgram
    uint8_t sounding = 0;            // 1 while Osc1 or Osc2 has a wave; render is silent at 0
    ParamControlInfo* paramTable = nullptr;   // the process-wide paramControlTable
    ProgramBank programs{};          // this engine's own copy of the bank
    int32_t optionValue = 0;         // written by setOptionValue, read by nothing
    float glideScale = 0;            // Glide working value
    int32_t lastNote = 60;           // note of the voice that most recently started
    int32_t glideFromNote = 0;       // note a new voice glides from
    float lfoPitchScale = 42949672.0f;  // LFO pitch depth to phase-increment units: 441 Hz a unit
    uint32_t waveRebuildEnabled = 1; // 0 while a program loads: wave changes wait for the end
    int32_t cutoffRampSteps = 0;     // frames left in the cutoff ramp
    int32_t cutoffRampActive = 0;    // 1 when Flt-Cut has just changed
    float glideDistance = 0;         // current glide distance, 1/128 semitone
    float glideCoef = 0;             // per-sample multiplier of the glide remainder
    float outDistGain = 0;           // Out-Dist gain
    float outDistDriveCurrent[2]{};  // smoothed drive per output; -1 = take target at once
    float modWheel = 0, filterKeyTrack = 0;
    float ampSustain = 0, ampAttackCoef = 0, ampDecayCoef = 0, ampReleaseCoef = 0;
    float filterSustain = 0, filterAttackCoef = 0, filterDecayCoef = 0, filterReleaseCoef = 0;
    float pitchUpAmount = 0, pitchUpDecayCoef = 0, pitchUpReleaseCoef = 0;
    int32_t pitchUpDelay = 0;        // frames
    float pitchDownAmount = 0, pitchDownDecayCoef = 0, pitchDownReleaseCoef = 0;
    int32_t pitchDownDelay = 0;      // frames
    float cutoffTarget = 0.5f, cutoffCurrent = 0.5f, cutoffRampStep = 0;  // normalised cutoff
    float filterResonance = 0.5f;    // damping: 2 none .. 0.15 strong
    float filterEnvAmount = 0, filterSeparation = 0, filterDecayNorm = 0;
    // The values of the conversions whose range PercEnv chooses, converted again when it changes.
    float ampAttackNorm = 0, pitchUpDecayNorm = 0, pitchDownDecayNorm = 0;
    float osc1Drive = 1.0f, osc2Drive = 1.0f;  // saturation gains
    int32_t osc1Coarse = 0, osc2Coarse = 0, osc3Coarse = 0;  // semitones
    int32_t osc1Fine = 0, osc2Fine = 0, osc3Fine = 0;        // 1/128 semitone
    float osc1Level = 0, ringModLevel = 0;
    uint8_t outLowpassOn = 0, outHighpassOn = 0, outDistOn = 0;
    float osc2Sustain = 0, osc3Sustain = 0, osc3KeyTrack = 0;
    uint8_t osc3On = 0;
    float lfoDelayCoef = 0, lfoRateHz = 0, lfoToFilter = 0, lfoToOsc = 0;
    float chorusDryCurrent = 0, chorusWetCurrent = 0;
    float* chorusLines[2]{};         // two delay lines of chorusLineLength floats, owned
    int32_t chorusWritePos[2]{};
    ChorusState chorusState[2]{};
    BassState bassState[2]{};
    OutputState outputState[2]{};
    int32_t chorusLineLength = kChorusLineLength;
    uint32_t chorusPhaseInc = 0, chorusPhase = 0;
    float chorusRateHz = 0, chorusFeedback = 0, chorusSpread = 0, chorusDelay = 0,
          chorusModDepth = 0, chorusDry = 0, chorusWet = 0;
    float chorusLowpassA = 0, chorusLowpassB = 0, chorusHighpassA = 0, chorusHighpassB = 0;
    float outLowpassA = 0, outLowpassB = 0, outHighpassA = 0, outHighpassB = 0, outGain = 0;
    float lfoRateNorm = 0;           // raw LFO Rate, used while lfoSync is on
    uint8_t perVoiceFilter = 0;      // 1: filter per voice; 0: one filter on the voice sum
    float bassFreqHz = 0, bassAmount = 0, bassSaturation = 0;
    float velToAmp = 0, velToFilter = 0, velToOsc3 = 0;
    float wheelToLfo = 0, wheelToFilter = 0, wheelToOsc3 = 0;
    float pressureToLfo = 0, pressureToFilter = 0, pressureToOsc3 = 0;
    VoiceState voices[kMaxVoices]{};
    uint32_t sharedLfoPhase = 0;
    float sharedFilterEnv = 0, sharedLfoFade = 0;
    float sharedEnvRest = 1, sharedFadeRest = 1;  // their attack remainders to 1, carried between slices
    uint8_t sharedEnvStage = 3;      // 0 attack, 1 decay/sustain, 3 release (= no key held)
    uint8_t sharedLfoStage = 0;      // 0 fading in, 2 done
    SharedFilterState sharedFilterState{};
    float sharedFilterMod = 0;       // modulation taken when the shared envelope restarts
    uint8_t freshAfterReset = 1;     // 1 after reset until the next sounding render
    float* bassDelayLine = nullptr;  // kBassDelayLineLength floats, owned
    int32_t bassDelayPos = 0, bassDelayLength = 0;
    float osc1Table[kOscTableLength]{}, osc2Table[kOscTableLength]{};  // playing waves
    EngineOwner* owner = nullptr;    // the plug-in, not owned
    uint8_t oscRouting = 0, lfoSync = 0, chorusSync = 0;
    float chorusSyncSteps = 0, osc2DecayCoef = 0, osc3DecayCoef = 0, osc3Amount = 0, chorusDelayMs = 0;
    int32_t glideType = 0;           // 0 constant time, 1 constant rate
    int32_t voiceMode = 0, filterType = 0, filterInvert = 0, percEnv = 0;
    float channelPressure = 0;       // written by the plug-in
    uint8_t osc1Wave = 0, osc2Wave = 0;  // wave index 0..39
    float hostTempo = 1200000.0f;    // BPM x 10000, written by the plug-in each block
    double ampAttackMs = 0, ampDecayMs = 0, ampReleaseMs = 0;        // display times, ms
    double filterAttackMs = 0, filterDecayMs = 0, filterReleaseMs = 0;
    double osc2DecayMs = 0, osc3DecayMs = 0;
    RateTables* tables = nullptr;    // this engine's rate-dependent tables, owned
    OscTableExchange oscTableExchange;  // rebuilt waves on their way to the audio thread

    // --- construction (Dravenor.cpp) ---
    // Builds a ready engine: program 0's values, delay lines, tables for 44100 Hz. UI thread.
    explicit Dravenor(EngineOwner* owner = nullptr);
    // Frees the delay lines, the tables and the value array. UI thread.
    ~Dravenor() override;
    // Sets the object that receives program loads and answers the host flags. UI thread.
    void setOwner(EngineOwner* newOwner) { owner = newOwner; }

    // --- programs, counts, bend, reset ---
    // Converts one value into working values (indexes 0..81, others ignored). Audio or UI thread.
    void setParameter(int32_t index, float value) override;
    // All notes off, every sound state cleared (chorus lines unless a program load keeps them). Audio thread.
    void reset() override;
    // Makes a program current; with apply, resets and loads its 82 values through the owner. Audio or UI thread.
    void setProgram(int32_t program, bool apply) override;
    // This engine's program bank. Any thread.
    ProgramBank* getPrograms() override;
    // Voice count: stored when at most 20, larger counts ignored. Audio or UI thread.
    void setPolyphony(int32_t n) override;
    // Fixed answers of the engine interface, which a derived engine may give otherwise;
    // nothing calls them. Any thread.
    virtual int32_t queryOptionA();  // 1
    virtual int32_t queryOptionB();  // 1
    virtual int32_t queryOptionC();  // 0
    // Gives a note a voice (free or stolen); it starts at the next slice. Audio thread.
    virtual void noteOn(int8_t note, int8_t velocity, uint8_t layer);
    // Marks every active voice of the note for release. Audio thread.
    virtual void noteOff(uint8_t note, uint8_t velocity);
    // Fixed answer 0, like queryOptionA..C; nothing calls it. Any thread.
    virtual int32_t queryOptionD();
    // Stores int(v) in optionValue, which nothing reads; nothing calls it. Any thread.
    virtual void setOptionValue(int32_t ignored, float v);
    // Re-applies values 0..81 of the current program through the engine's own conversion. UI thread.
    void applyAllParameters();
    // Stores a pitch bend in 1/128-semitone steps. Audio (or UI, pitch wheel) thread.
    void setPitchBend(int32_t steps);

    // --- rate-dependent tables ---
    // Stores the rate and rebuilds this engine's tables for it. UI thread.
    void setSampleRate(double rate);
    // Rebuilds the filter-coefficient and soft-clip tables from sampleRate. UI thread.
    void buildFilterTables();

    // filterDecayCoef from filterDecayNorm in the range for the current PercEnv state;
    // render repeats it every slice so that a PercEnv change reaches the decay. Audio or UI thread.
    void refreshFilterDecay();

    // --- voices (allocation) ---
    // Index of the voice a new note takes: first free one, else the one to steal. Audio thread.
    int32_t chooseVoice();
    // Filter modulation that stays fixed over a slice: wheel, pressure, velocity and key
    // tracking of the voice's note. Audio thread.
    float staticFilterMod(const VoiceState& voice) const;

    // --- voices (rendering) ---
    // Renders one slice of `frames` into outputs[0..1] (added; cleared first when clear != 0). Audio thread.
    void render(int32_t frames, float** outputs, int32_t clear);
    // Runs the voices of slots 0..voiceCount-1 over one slice, adding into outputs, and lets voices left
    // above a lowered voice count release and die away. Audio thread.
    void renderVoices(int32_t frames, float** outputs);
    // Starts a voice given a note (glide, pitches, envelope stages) at the beginning of a slice. Audio thread.
    void startVoice(VoiceState& voice, int32_t slot);
    // Renders one voice over a slice; b0 and a1 are the bend smoothing coefficients. Audio thread.
    void renderVoice(VoiceState& voice, int32_t slot, int32_t frames, float** outputs, float bendB0,
                     float bendA1);
    // int(LFO Rate x 12): how often a synced LFO doubles the beat frequency. Audio thread.
    int32_t syncedLfoDoublings() const;
    // LFO phase increment per frame: lfoRateHz, or synced to the host tempo with the given
    // doublings while lfoSync is on. Audio thread.
    uint32_t lfoIncrement(int32_t doublings) const;
    // Output gains (already halved) of the voice in a slot for the current Voice-Mode. Audio thread.
    void voiceOutputGains(const VoiceState& voice, int32_t slot, float& gain0, float& gain1) const;
    // Fine-tuning factor of a layer for the current Voice-Mode, taken at voice start. Audio thread.
    int32_t fineTuneFactor(uint8_t layer) const;

    // --- master chain ---
    // One filter over the voice sum on output 0, written to both outputs. Audio thread.
    void processSharedFilter(int32_t frames, float** outputs);
    // Bass enhancer (output 1 through the bass delay). Audio thread.
    void processBassEnhancer(int32_t frames, float** outputs);
    // tanh distortion through softClipTable. Audio thread.
    void processDistortion(int32_t frames, float** outputs);
    // Stereo chorus over the two delay lines. Audio thread.
    void processChorus(int32_t frames, float** outputs);
    // Output low-pass, high-pass and gain. Audio thread.
    void processOutputStage(int32_t frames, float** outputs);

    // --- oscillator waves ---
    // Rebuilds osc1Table and osc2Table from the wave indexes and drives (not while a program loads). Any thread.
    void updateWaveforms();
    // Takes the waves last published by updateWaveforms into osc1Table, osc2Table and sounding;
    // render calls it at every slice start. Audio thread.
    void acquireWaveforms();

    // --- math: pure functions, any thread; the non-static ones read sampleRate ---
    // v = 0..1 mapped exponentially onto lo..hi.
    static float expScale(float v, float lo, float hi);
    // Per-sample multiplier that brings a level to target times itself in expScale(v, lo, hi) ms.
    float expTimeCoef(float v, float lo, float hi, float target) const;
    // The same multiplier for a time given in ms.
    float timeCoef(float ms, float target) const;
    // Time in ms in which expTimeCoef's multiplier for the same arguments falls by 60 dB.
    static double decayTimeMs(double v, double lo, double hi, double target);
    // Decibels to a gain factor, 10^(db / 20).
    static float dbToGain(float db);
    // Coefficient pair (a, b) of the first-order low-pass at hz, unity gain at 0 Hz.
    void onePoleLowpassCoefs(float hz, float& a, float& b) const;
    // Coefficient pair (a, b) of the first-order high-pass at hz, unity gain at half the rate.
    void onePoleHighpassCoefs(float hz, float& a, float& b) const;
    // The rest have no caller in the system; kept as part of the engine's math set.
    // Per-frame step that covers 1 in ms milliseconds.
    float msToRampStep(float ms) const;
    // msToRampStep of expScale(v, lo, hi) ms.
    float expRampStep(float v, float lo, float hi) const;
    // expRampStep times scale.
    float expScaledRampStep(float v, float lo, float hi, float scale) const;
    // expTimeCoef with the exponent times scale.
    float expScaledTimeCoef(float v, float lo, float hi, float scale, float target) const;
    // expScale in double precision.
    static double expScaleD(double v, double lo, double hi);
    // 2^(x up) for x >= 0, 2^(x down) below 0.
    static float bipolarOctaveScale(float x, float down, float up);
    // Gain factor to decibels; fallback for a gain of 0.
    static float gainToDb(float gain, float fallback);
    // Same as dbToGain.
    static float dbToGainAlt(float db);
    // v = 0..1 mapped onto -range..+range dB, as a gain factor.
    static float bipolarDbToGain(float v, float range);
    // First-order high shelf at hz with the given gain: coefficients a1, b0, b1.
    void onePoleShelfCoefs(float hz, float gain, float& a1, float& b0, float& b1) const;
};
