// VstXSynth: parameters, programs and their texts for the host.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/HostText.h"
#include "plugin/SynthEditor.h"
#include "plugin/VstXSynth.h"

namespace {
constexpr int32_t kLastTag = kNumControls - 1;  // 91: parameters and editor-only tags share one index space
constexpr std::size_t kParamNameChars = 11;     // longest short name; hosts' name buffers take it
// Hosts' program-name buffers hold 24 bytes; the stored name field holds 31 characters and a NUL.
constexpr std::size_t kHostProgramNameChars = kVstMaxProgNameLen - 1;
constexpr std::size_t kStoredProgramNameChars = kProgramNameSize - 1;
constexpr float kWheelSteps = 16383.0f;         // 14-bit pitch bend, 8192 = centre
}  // namespace

bool VstXSynth::acceptValue(int32_t index, float& value) const {
    if (index < 0 || index > kLastTag || !std::isfinite(value)) return false;
    // Sound parameters are normalised; Osc-Routing alone carries 0, 1 or 2. A value beyond
    // that range would drive the filters, chorus feedback or envelopes into NaN, runaway
    // feedback or a release that never ends. Every value in range behaves as before (an
    // Osc1W above 1 selects wave 39, exactly as 1 does). The editor-only tags keep theirs.
    if (index < kNumParams) value = std::clamp(value, 0.0f, index == kParamOscRouting ? 2.0f : 1.0f);
    return true;
}

void VstXSynth::setParameter(int32_t index, float value) {
    if (!acceptValue(index, value)) return;
    storeLiveValue(index, value);
    if (onRenderingSide()) {
        engine.setParameter(index, value);
    } else {
        engineChanges.push({EngineChange::kParameter, index, value});
    }
    notifyEditor(index, value);
}

void VstXSynth::storeAndNotify(int32_t index, float value) {
    if (!acceptValue(index, value)) return;
    storeLiveValue(index, value);
    notifyEditor(index, value);
}

void VstXSynth::notifyEditor(int32_t index, float value) {
    if (editorIsOpen() && paramChanges.suppress.load(std::memory_order_relaxed) == 0) {
        paramChanges.append(index, value);
    }
}

void VstXSynth::applyParameter(int32_t index, float value) {
    // A queued program load already stored its values (and told the editor) when it was
    // asked for; later changes may have replaced some since, so the engine takes the live ones.
    if (loadingQueuedProgram) {
        engine.setParameter(index, liveValue(index));
        return;
    }
    setParameter(index, value);
}

float VstXSynth::getParameter(int32_t index) {
    if (index < 0 || index > kLastTag) return 0.0f;
    return liveValue(index);
}

void VstXSynth::storeLiveValue(int32_t index, float value) {
    std::atomic_ref<float>(engine.values[index]).store(value, std::memory_order_relaxed);
}

float VstXSynth::liveValue(int32_t index) const {
    return std::atomic_ref<float>(engine.values[index]).load(std::memory_order_relaxed);
}

void VstXSynth::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    if (index != kTagPitchWheel || !std::isfinite(value)) return;
    if (onRenderingSide()) {
        applyWheelBend(value);
    } else {
        engineChanges.push({EngineChange::kWheelBend, index, value});
    }
}

void VstXSynth::applyWheelBend(float position) {
    // The spring-back wheel rests at 0.5, which must be no bend: 0.5 -> 8192.
    const auto bend = static_cast<int32_t>(std::lround(std::clamp(position, 0.0f, 1.0f) * kWheelSteps));
    applyPitchBend(static_cast<uint8_t>(bend & 0x7F), static_cast<uint8_t>(bend >> 7), false);
}

void VstXSynth::getParameterName(int32_t index, char* text) {
    if (index < 0 || index > kLastTag) {
        text[0] = '\0';
        return;
    }
    copyHostText(text, paramControlTable[index].name, kParamNameChars);
}

void VstXSynth::getParameterLabel(int32_t, char* label) { copyHostText(label, "Unknown ", kVstMaxParamStrLen); }

void VstXSynth::getParameterDisplay(int32_t index, char* text) {
    if (index < 0 || index > kLastTag) {
        text[0] = '\0';
        return;
    }
    // At most 8 characters and the NUL: the host's buffer holds no more.
    char formatted[64];
    std::snprintf(formatted, sizeof(formatted), "%.06f", static_cast<double>(liveValue(index)));
    copyHostText(text, formatted, kVstMaxParamStrLen);
}

void VstXSynth::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    storeCurrentProgram(program);
    if (onRenderingSide()) {
        engine.currentProgram = program;
        engine.setProgram(program, true);
    } else {
        // The values (and the editor's change nodes) now, in the order a load sends them;
        // the renderer resets the voices and applies the live values at its next call.
        const ProgramRecord& record = (*programBank)[program];
        for (int32_t p = 0; p < kNumParams; ++p) storeAndNotify(p, record.value[p]);
        engineChanges.push({EngineChange::kProgram, program, 0.0f});
    }
    if (synthEditor != nullptr && editorIsOpen()) synthEditor->requestProgramRefresh();
}

void VstXSynth::storeCurrentProgram(int32_t program) {
    std::atomic_ref<int32_t>(curProgram).store(program, std::memory_order_relaxed);
}

void VstXSynth::selectProgram(int32_t program) { VstXSynth::setProgram(program); }

void VstXSynth::setProgramName(char* name) {
    char* stored = (*programBank)[getProgram()].name;
    std::memset(stored, 0, kProgramNameSize);
    copyHostText(stored, name, kStoredProgramNameChars);
}

void VstXSynth::getProgramName(char* name) {
    copyHostText(name, (*programBank)[getProgram()].name, kHostProgramNameChars);
}

bool VstXSynth::getProgramNameIndexed(int32_t, int32_t index, char* text) {
    if (index < 0 || index >= kNumPrograms) return false;
    copyHostText(text, (*programBank)[index].name, kHostProgramNameChars);
    return true;
}

int32_t VstXSynth::getChunk(void**, bool) { return 0; }

int32_t VstXSynth::setChunk(void*, int32_t, bool) { return 0; }

bool VstXSynth::copyCurrentProgramTo(int32_t destination) {
    if (destination < 0 || destination >= kNumPrograms) return false;
    (*programBank)[destination] = (*programBank)[getProgram()];
    return true;
}

void VstXSynth::storeProgramParameter(int32_t index, float value) {
    if (index < 0 || index >= kNumParams) return;
    (*programBank)[getProgram()].value[index] = value;
}

void VstXSynth::sendAutomationToHost(int32_t index, float value) {
    if (audioMaster != nullptr) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}
