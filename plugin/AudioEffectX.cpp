#include "plugin/AudioEffectX.h"

#include <cstdlib>
#include <cstring>

#include "plugin/AEffEditor.h"
#include "plugin/HostText.h"

namespace {

intptr_t boolAnswer(bool value) { return value ? 1 : 0; }

// Bytes of an arrangement record with room for the given number of speakers.
std::size_t arrangementBytes(int32_t channels) {
    std::size_t size = sizeof(VstSpeakerArrangement);
    if (channels > 8) size += static_cast<std::size_t>(channels - 8) * sizeof(VstSpeakerProperties);
    return size;
}

// The key modifier a host passes in opt. The float is converted only when it fits an
// int32; NaN, infinities and values beyond that range count as no modifier.
uint8_t keyModifier(float opt) {
    if (!(opt >= -2147483648.0f && opt < 2147483648.0f)) return 0;  // -2^31 .. 2^31
    return static_cast<uint8_t>(static_cast<int32_t>(opt) & 0xFF);
}

}  // namespace

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
        case effProcessEvents:
            if (ptr == nullptr) return 0;
            return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated: return boolAnswer(canParameterBeAutomated(index));
        case effString2Parameter: return boolAnswer(string2parameter(index, static_cast<char*>(ptr)));
        case effGetProgramNameIndexed:
            if (ptr == nullptr) return 0;
            return boolAnswer(getProgramNameIndexed(static_cast<int32_t>(value), index, static_cast<char*>(ptr)));
        case effGetInputProperties:
            if (ptr == nullptr) return 0;
            return boolAnswer(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetOutputProperties:
            if (ptr == nullptr) return 0;
            return boolAnswer(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetPlugCategory: return getPlugCategory();
        case effOfflineNotify:
            return boolAnswer(offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<int32_t>(value), index != 0));
        case effOfflinePrepare:
            return boolAnswer(offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)));
        case effOfflineRun:
            return boolAnswer(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)));
        case effProcessVarIo: return boolAnswer(processVariableIo(static_cast<VstVariableIo*>(ptr)));
        case effSetSpeakerArrangement:
            return boolAnswer(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                                    static_cast<VstSpeakerArrangement*>(ptr)));
        case effSetBypass: return boolAnswer(setBypass(value != 0));
        case effGetEffectName:
            if (ptr == nullptr) return 0;
            return boolAnswer(getEffectName(static_cast<char*>(ptr)));
        case effGetVendorString:
            if (ptr == nullptr) return 0;
            return boolAnswer(getVendorString(static_cast<char*>(ptr)));
        case effGetProductString:
            if (ptr == nullptr) return 0;
            return boolAnswer(getProductString(static_cast<char*>(ptr)));
        case effGetVendorVersion: return getVendorVersion();
        case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            if (ptr == nullptr) return 0;
            return canDo(static_cast<char*>(ptr));
        case effGetTailSize: return getGetTailSize();
        case effGetParameterProperties:
            if (ptr == nullptr) return 0;
            return boolAnswer(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
        case effGetVstVersion: return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp: {
            if (editor == nullptr) return 0;
            VstKeyCode key{};
            key.character = index;
            key.virt = static_cast<uint8_t>(value & 0xFF);
            key.modifier = keyModifier(opt);
            return boolAnswer(opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key));
        }
        case effSetEditKnobMode:
            if (editor == nullptr) return 0;
            return boolAnswer(editor->setKnobMode(static_cast<int32_t>(value)));
        case effGetMidiProgramName: return getMidiProgramName(index, static_cast<VstMidiProgramName*>(ptr));
        case effGetCurrentMidiProgram: return getCurrentMidiProgram(index, static_cast<VstMidiProgramName*>(ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, static_cast<VstMidiProgramCategory*>(ptr));
        case effHasMidiProgramsChanged: return boolAnswer(hasMidiProgramsChanged(index));
        case effGetMidiKeyName: return boolAnswer(getMidiKeyName(index, static_cast<VstMidiKeyName*>(ptr)));
        case effBeginSetProgram: return boolAnswer(beginSetProgram());
        case effEndSetProgram: return boolAnswer(endSetProgram());
        case effGetSpeakerArrangement: return 0;
        case effShellGetNextPlugin: return getNextShellPlugin(static_cast<char*>(ptr));
        case effStartProcess: return startProcess();
        case effStopProcess: return stopProcess();
        case effSetTotalSampleToProcess: return setTotalSampleToProcess(static_cast<int32_t>(value));
        case effSetPanLaw: return boolAnswer(setPanLaw(static_cast<int32_t>(value), opt));
        case effBeginLoadBank: return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
        case effBeginLoadProgram: return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
        case effSetProcessPrecision: return boolAnswer(setProcessPrecision(static_cast<int32_t>(value)));
        case effGetNumMidiInputChannels: return getNumMidiInputChannels();
        case effGetNumMidiOutputChannels: return getNumMidiOutputChannels();
        default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

void AudioEffectX::resume() {
    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(const_cast<char*>("receiveVstMidiEvent")) == 1) {
        wantEvents(1);
    }
}

bool AudioEffectX::beginEdit(int32_t index) { return callHost(audioMasterBeginEdit, index) != 0; }

bool AudioEffectX::endEdit(int32_t index) { return callHost(audioMasterEndEdit, index) != 0; }

bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

double AudioEffectX::updateSampleRate() {
    intptr_t answer = callHost(audioMasterGetSampleRate);
    if (answer > 0) sampleRate = static_cast<float>(answer);
    return sampleRate;
}

int32_t AudioEffectX::updateBlockSize() {
    intptr_t answer = callHost(audioMasterGetBlockSize);
    if (answer > 0) blockSize = static_cast<int32_t>(answer);
    return blockSize;
}

int32_t AudioEffectX::getInputLatency() { return static_cast<int32_t>(callHost(audioMasterGetInputLatency)); }

int32_t AudioEffectX::getOutputLatency() { return static_cast<int32_t>(callHost(audioMasterGetOutputLatency)); }

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    if (input != nullptr) *input = nullptr;
    if (output != nullptr) *output = nullptr;
    return false;
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

int32_t AudioEffectX::getCurrentProcessLevel() {
    return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

int32_t AudioEffectX::getAutomationState() { return static_cast<int32_t>(callHost(audioMasterGetAutomationState)); }

bool AudioEffectX::sendVstEventsToHost(VstEvents* events) {
    return callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}

bool AudioEffectX::getHostVendorString(char* text) { return callHost(audioMasterGetVendorString, 0, 0, text) != 0; }

bool AudioEffectX::getHostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

int32_t AudioEffectX::getHostVendorVersion() { return static_cast<int32_t>(callHost(audioMasterGetVendorVersion)); }

intptr_t AudioEffectX::hostVendorSpecific(int32_t lArg1, intptr_t lArg2, void* ptr, float opt) {
    return callHost(audioMasterVendorSpecific, lArg1, lArg2, ptr, opt);
}

int32_t AudioEffectX::canHostDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0; }

int32_t AudioEffectX::getHostLanguage() { return static_cast<int32_t>(callHost(audioMasterGetLanguage)); }

void AudioEffectX::isSynth(bool state) { setFlag(effFlagsIsSynth, state); }

void AudioEffectX::noTail(bool state) { setFlag(effFlagsNoSoundInStop, state); }

void* AudioEffectX::getDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }

int32_t AudioEffectX::getPlugCategory() {
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool AudioEffectX::sizeWindow(int32_t width, int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::openFileSelector(VstFileSelect* select) {
    if (select == nullptr) return false;
    return callHost(audioMasterOpenFileSelector, 0, 0, select) != 0;
}

bool AudioEffectX::closeFileSelector(VstFileSelect* select) {
    if (select == nullptr) return false;
    return callHost(audioMasterCloseFileSelector, 0, 0, select) != 0;
}

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, int32_t channels) {
    if (arrangement == nullptr) return false;
    std::free(*arrangement);
    *arrangement = nullptr;
    int32_t count = channels < 0 ? 0 : channels;
    auto* fresh = static_cast<VstSpeakerArrangement*>(std::calloc(1, arrangementBytes(count)));
    if (fresh == nullptr) return false;
    fresh->numChannels = count;
    *arrangement = fresh;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (arrangement == nullptr) return false;
    std::free(*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (to == nullptr || from == nullptr) return false;
    std::memset(to->name, 0, sizeof(to->name));
    copyHostText(to->name, from->name, sizeof(to->name) - 1);
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy(to->future, from->future, sizeof(to->future));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (from == nullptr || to == nullptr) return false;
    if (!deallocateArrangement(to) || !allocateArrangement(to, from->numChannels)) return false;
    (*to)->type = from->type;
    // Records hold numChannels speakers, more than the 8 declared: index through pointers.
    VstSpeakerProperties* target = (*to)->speakers;
    VstSpeakerProperties* source = from->speakers;
    bool ok = true;
    for (int32_t i = 0; i < (*to)->numChannels; ++i) ok = copySpeaker(target + i, source + i) && ok;
    return ok;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, int32_t option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, int32_t option) {
    return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}

bool AudioEffectX::offlineStart(VstAudioFile* ptr, int32_t numAudioFiles, int32_t numNewAudioFiles) {
    return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, ptr) != 0;
}

int32_t AudioEffectX::offlineGetCurrentPass() { return callHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0; }

int32_t AudioEffectX::offlineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

void AudioEffectX::wantEvents(int32_t filter) { callHost(audioMasterWantMidi, 0, filter); }

int32_t AudioEffectX::tempoAt(int32_t pos) { return static_cast<int32_t>(callHost(audioMasterTempoAt, 0, pos)); }

int32_t AudioEffectX::getNumAutomatableParameters() {
    return static_cast<int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}

int32_t AudioEffectX::getParameterQuantization() {
    return static_cast<int32_t>(callHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::needIdle() { return callHost(audioMasterNeedIdle) != 0; }

AEffect* AudioEffectX::getPreviousPlug(int32_t input) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug, 0, input));
}

AEffect* AudioEffectX::getNextPlug(int32_t output) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug, 0, output));
}

int32_t AudioEffectX::willProcessReplacing() {
    return static_cast<int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}

void AudioEffectX::wantAsyncOperation(bool state) { setFlag(effFlagsExtIsAsync, state); }

void AudioEffectX::hasExternalBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }

void AudioEffectX::setOutputSamplerate(float samplerate) {
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}

void* AudioEffectX::openWindow(VstWindow* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(VstWindow* window) { return callHost(audioMasterCloseWindow, 0, 0, window) != 0; }

void AudioEffectX::setBlockSizeAndSampleRate(int32_t frames, float rate) {
    blockSize = frames;
    sampleRate = rate;
}

bool AudioEffectX::getChunkFile(void* nativePath) {
    if (nativePath == nullptr) return false;
    return callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}
