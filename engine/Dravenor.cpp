// Engine object: construction, reset, program loading, voice count and pitch bend.
#include "engine/Dravenor.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/FloatToInt.h"
#include "engine/SharedField.h"

namespace {
constexpr int32_t kBassDelayCleared = kBassDelayMax + 1;  // every frame a bass delay can reach
constexpr double kDefaultSampleRate = 44100.0;
constexpr double kMinSampleRate = 1000.0;     // the chorus needs at least one frame of delay
constexpr double kMaxSampleRate = 1000000.0;
// The LFO's pitch depth of 1 shifts Osc1 and Osc2 by this many Hz at every rate.
constexpr double kLfoHzAtFullDepth = 441.0;
}

Dravenor::Dravenor(EngineOwner* engineOwner)
{
    // Every working value not set here starts at the default given where it is declared.
    owner = engineOwner;
    paramTable = paramControlTable;
    programs = factoryBank;
    // 92 entries: the 82 parameters of program 0, then the editor-only tags at 0.
    init(kNumControls, programs[0].value, kNumParams);
    values[kTagPitchWheel] = 0.5f;  // the pitch wheel rests in the middle
    chorusLines[0] = new float[kChorusLineLength]();
    chorusLines[1] = new float[kChorusLineLength]();
    bassDelayLine = new float[kBassDelayLineLength]();
    tables = new RateTables;
    reset();
    setSampleRate(kDefaultSampleRate);
}

Dravenor::~Dravenor()
{
    delete[] bassDelayLine;
    delete[] chorusLines[0];
    delete[] chorusLines[1];
    delete tables;
}

void Dravenor::reset()
{
    Module::reset();
    freshAfterReset = 1;
    outDistDriveCurrent[0] = outDistDriveCurrent[1] = -1.0f;  // next render takes the drive at once

    // Every slot, not only those in use: a slot enabled later by a larger voice
    // count must not carry a pending release into its first note.
    std::fill(std::begin(voices), std::end(voices), VoiceState{});
    for (VoiceState& v : voices) v.releaseFrame = -1;

    bassState[0] = bassState[1] = BassState{};
    outputState[0] = outputState[1] = OutputState{};
    bassDelayPos = 0;
    std::fill(bassDelayLine, bassDelayLine + kBassDelayCleared, 0.0f);

    sharedLfoPhase = 0;
    sharedFilterEnv = sharedLfoFade = 0.0f;
    sharedEnvRest = sharedFadeRest = 1.0f;
    sharedLfoStage = 0;
    sharedFilterState = SharedFilterState{};
    sharedFilterMod = 0.0f;
    sharedEnvStage = 3;

    chorusState[0] = chorusState[1] = ChorusState{};
    // A program load under some hosts keeps the chorus tails (waveRebuildEnabled is 0 then),
    // all but samples that are not finite numbers, which would never leave the loop.
    for (float* line : chorusLines) {
        if (waveRebuildEnabled == 1) {
            std::fill(line, line + chorusLineLength, 0.0f);
        } else {
            std::replace_if(line, line + chorusLineLength, [](float x) { return !std::isfinite(x); }, 0.0f);
        }
    }
    chorusWritePos[0] = chorusWritePos[1] = 0;
}

void Dravenor::setProgram(int32_t program, bool apply)
{
    if (program < 0 || program >= kNumPrograms) return;  // the bank has exactly 128 records
    currentProgram = program;
    if (apply) {
        if (owner != nullptr && (owner->isImageLineHost() || owner->isSteinbergHost()))
            waveRebuildEnabled = 0;  // so that the reset keeps the chorus lines
        reset();
        waveRebuildEnabled = 0;      // waves are rebuilt once, after all values
    }
    const ProgramRecord& record = programs[program];
    for (int32_t p = 0; p < kNumParams; ++p) {
        if (owner != nullptr) {
            owner->applyParameter(p, record.value[p]);
        } else {
            values[p] = record.value[p];
            setParameter(p, record.value[p]);
        }
    }
    if (apply) {
        waveRebuildEnabled = 1;
        updateWaveforms();
    }
}

ProgramBank* Dravenor::getPrograms()
{
    return &programs;
}

void Dravenor::setPolyphony(int32_t n)
{
    if (n <= kMaxVoices) publishField(voiceCount, n);
}

int32_t Dravenor::queryOptionA() { return 1; }
int32_t Dravenor::queryOptionB() { return 1; }
int32_t Dravenor::queryOptionC() { return 0; }
int32_t Dravenor::queryOptionD() { return 0; }

void Dravenor::setOptionValue(int32_t, float v)
{
    optionValue = truncToInt32(v);
}

void Dravenor::applyAllParameters()
{
    const ProgramRecord& record = programs[currentProgram];
    for (int32_t i = 0; i < numParams && i < kNumParams; ++i) {
        values[i] = record.value[i];
        setParameter(i, values[i]);
    }
}

void Dravenor::setPitchBend(int32_t steps)
{
    pitchBend = static_cast<float>(steps);
}

void Dravenor::setSampleRate(double rate)
{
    // A rate no host uses (or not a number) would break every table: keep the previous one.
    if (!(rate >= kMinSampleRate && rate <= kMaxSampleRate)) return;
    tables->buildOscillatorTables(rate);
    sampleRate = static_cast<float>(rate);
    phaseIncPerHz = static_cast<float>(4294967296.0 / rate);
    // Phase-increment units per unit of LFO depth: 441 Hz a unit, so that vibrato is as wide at
    // every rate as at 44100 Hz (where this is 2^32 / 100, as the factory programs were voiced).
    lfoPitchScale = static_cast<float>(kLfoHzAtFullDepth * 4294967296.0 / rate);
    buildFilterTables();
}

void Dravenor::buildFilterTables()
{
    tables->buildFilterTables(sampleRate);
}
