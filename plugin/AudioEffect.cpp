#include "plugin/AudioEffect.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "plugin/AEffEditor.h"
#include "plugin/HostText.h"

namespace {

AudioEffect* objectOf(AEffect* effect) {
    return effect == nullptr ? nullptr : static_cast<AudioEffect*>(effect->object);
}

// The trampolines stored in AEffect. No exception may travel into the host, so
// each one catches everything and gives the neutral answer.
intptr_t dispatchEntry(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return 0;
    try {
        if (opcode == effClose) {
            object->dispatcher(opcode, index, value, ptr, opt);
            delete object;
            return 1;
        }
        return object->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

float getParameterEntry(AEffect* effect, int32_t index) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return 0.0f;
    try {
        return object->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

void setParameterEntry(AEffect* effect, int32_t index, float value) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->setParameter(index, value);
    } catch (...) {
    }
}

void processEntry(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->process(inputs, outputs, frames);
    } catch (...) {
    }
}

void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->processReplacing(inputs, outputs, frames);
    } catch (...) {
    }
}

void processDoubleReplacingEntry(AEffect* effect, double** inputs, double** outputs, int32_t frames) {
    AudioEffect* object = objectOf(effect);
    if (object == nullptr) return;
    try {
        object->processDoubleReplacing(inputs, outputs, frames);
    } catch (...) {
    }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = 0;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = vstFourChar('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleReplacingEntry;
    AudioEffect::canProcessReplacing(true);
}

AudioEffect::~AudioEffect() = default;

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            // A value beyond 32 bits would wrap into a valid program number.
            if (value < numPrograms && value >= INT32_MIN) setProgram(static_cast<int32_t>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName:
            if (ptr != nullptr) setProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetProgramName:
            if (ptr != nullptr) getProgramName(static_cast<char*>(ptr));
            return 0;
        case effGetParamLabel:
            if (ptr != nullptr) getParameterLabel(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamDisplay:
            if (ptr != nullptr) getParameterDisplay(index, static_cast<char*>(ptr));
            return 0;
        case effGetParamName:
            if (ptr != nullptr) getParameterName(index, static_cast<char*>(ptr));
            return 0;
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); return 0;
        case effMainsChanged:
            if (value != 0) {
                resume();
            } else {
                suspend();
            }
            return 0;
        case effEditGetRect:
            if (editor == nullptr || ptr == nullptr) return 0;
            return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen:
            if (editor == nullptr) return 0;
            return editor->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor != nullptr) editor->close();
            return 0;
        case effEditIdle:
            if (editor != nullptr) editor->idle();
            return 0;
        case effIdentify: return kVstIdentifyAnswer;
        case effGetChunk:
            if (ptr == nullptr) return 0;
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk: return setChunk(ptr, static_cast<int32_t>(value), index != 0);
        default: return 0;
    }
}

void AudioEffect::processDoubleReplacing(double**, double**, int32_t) {}

void AudioEffect::setParameter(int32_t, float) {}

float AudioEffect::getParameter(int32_t) { return 0.0f; }

void AudioEffect::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    if (audioMaster != nullptr) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setProgramName(char*) {}

void AudioEffect::getProgramName(char* name) { name[0] = '\0'; }

void AudioEffect::getParameterName(int32_t, char* text) { text[0] = '\0'; }

int32_t AudioEffect::getChunk(void**, bool) { return 0; }

int32_t AudioEffect::setChunk(void*, int32_t, bool) { return 0; }

void AudioEffect::canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }

void AudioEffect::canDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }

void AudioEffect::programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }

int32_t AudioEffect::getMasterVersion() {
    intptr_t version = callHost(audioMasterVersion);
    return version == 0 ? 1 : static_cast<int32_t>(version);
}

int32_t AudioEffect::getCurrentUniqueId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

void AudioEffect::dB2string(float value, char* text, int32_t maxLen) {
    if (value <= 0.0f) {
        copyHostText(text, "-oo", static_cast<std::size_t>(maxLen));
    } else {
        float2string(static_cast<float>(20.0 * std::log10(value)), text, maxLen);
    }
}

void AudioEffect::Hz2string(float samples, char* text, int32_t maxLen) {
    float hz = samples == 0.0f ? 0.0f : sampleRate / samples;
    float2string(hz, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, int32_t maxLen) {
    float2string(static_cast<float>(samples * 1000.0 / sampleRate), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, int32_t maxLen) {
    const std::size_t limit = static_cast<std::size_t>(maxLen);
    double v = value;
    bool negative = false;
    if (v < 0.0) {
        negative = true;
        v = -v;
    }
    if ((negative && v > 9999999.0) || (!negative && v > 99999999.0)) {
        copyHostText(text, "Huge!", limit);
        return;
    }
    // Eight characters in all: sign, integer digits (lowest first), point, then
    // as many fraction digits as are left.
    int count = (negative ? 1 : 0) + 1;
    double integer = std::floor(v);
    char digits[16];
    int numDigits = 0;
    double x = integer;
    do {
        digits[numDigits++] = static_cast<char>('0' + static_cast<int>(std::fmod(x, 10.0)));
        x /= 10.0;
        ++count;
    } while (x >= 1.0 && count < 8);
    char result[24];
    int pos = 0;
    if (negative) result[pos++] = '-';
    for (int i = numDigits - 1; i >= 0; --i) result[pos++] = digits[i];
    result[pos++] = '.';
    result[pos] = '\0';
    copyHostText(text, result, limit);
    if (count < 8) {
        int remaining = 8 - count;
        double fraction = (v - integer) * std::pow(10.0, remaining);
        char tail[16];
        for (int i = remaining - 1; i >= 0; --i) {
            if (fraction <= 0.0) {
                tail[i] = '0';
            } else {
                tail[i] = static_cast<char>('0' + static_cast<int>(std::fmod(fraction, 10.0)));
                fraction /= 10.0;
            }
        }
        tail[remaining] = '\0';
        appendHostText(text, tail, limit);
    }
}

void AudioEffect::int2string(int32_t value, char* text, int32_t maxLen) {
    const std::size_t limit = static_cast<std::size_t>(maxLen);
    if (value >= 100000000) {
        copyHostText(text, "Huge!", limit);
        return;
    }
    // Written from the end: digits lowest first, then the sign. The magnitude is taken
    // in 64 bits, where that of INT32_MIN fits.
    char result[16];
    char* start = result + sizeof(result);
    *--start = '\0';
    int64_t magnitude = value < 0 ? -int64_t{value} : int64_t{value};
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0) *--start = '-';
    copyHostText(text, start, limit);
}

void AudioEffect::process(float**, float**, int32_t) {}

void AudioEffect::hasVu(bool state) { setFlag(effFlagsHasVu, state); }

void AudioEffect::hasClip(bool state) { setFlag(effFlagsHasClip, state); }

void AudioEffect::canMono(bool state) { setFlag(effFlagsCanMono, state); }

bool AudioEffect::isInputConnected(int32_t input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(int32_t output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(int32_t flag, bool state) {
    if (state) {
        cEffect.flags |= flag;
    } else {
        cEffect.flags &= ~flag;
    }
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (audioMaster == nullptr) return 0;
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}
