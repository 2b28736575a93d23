// VstXSynth: construction, destruction, host switches, sample rate, identity.
#include "plugin/VstXSynth.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/AEffEditor.h"
#include "plugin/HostText.h"
#include "plugin/SynthEditor.h"
#include "plugin/UISizeSetting.h"

namespace {
constexpr const char* kEffectName = "Quilm";
constexpr const char* kVendorName = "Corvane Audio";
constexpr int32_t kPluginPrograms = 128;
constexpr int32_t kPluginParameters = 82;

// What the oscillator waves are built from.
struct WaveInputs {
    uint8_t wave1, wave2;
    float drive1, drive2;
    bool operator==(const WaveInputs&) const = default;
};

WaveInputs waveInputs(const Dravenor& engine) {
    return {engine.osc1Wave, engine.osc2Wave, engine.osc1Drive, engine.osc2Drive};
}
}  // namespace

VstXSynth::VstXSynth(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : AudioEffectX(audioMaster, kPluginPrograms, kPluginParameters) {
    uiSize = 0;
    engine.setOwner(this);
    paramChanges.consumerFrees.store(1);
    curProgram = 0;
    hostNoteCount = 0;
    bankSelectLsb = 0;
    std::memset(hostNotes, 0, sizeof(hostNotes));
    readUISizeSetting(&uiSize);
    programBank = engine.getPrograms();

    // MIDI controller -> parameter: 1 the modulation wheel, 5 glide, 16..31 and
    // 33..63 and 65..97 the parameters controller - 16, 110 and 111 two more.
    std::memset(ccToParamMap, kNoParameter, sizeof(ccToParamMap));
    ccToParamMap[1] = kParamModWheel;
    ccToParamMap[5] = kParamGlide;
    for (int cc = 16; cc <= 31; ++cc) ccToParamMap[cc] = static_cast<uint8_t>(cc - 16);
    for (int cc = 33; cc <= 63; ++cc) ccToParamMap[cc] = static_cast<uint8_t>(cc - 16);
    for (int cc = 65; cc <= 97; ++cc) ccToParamMap[cc] = static_cast<uint8_t>(cc - 16);
    ccToParamMap[110] = kParamFltCutoff;
    ccToParamMap[111] = kParamChorusLow;

    if (audioMaster != nullptr) {
        setNumInputs(0);
        setNumOutputs(2);
        canProcessReplacing(true);
        isSynth(true);
        setUniqueID(kUniqueId);
    }
    // Every working value from program 0 now, so that a host that never sends a
    // sample rate still hears the program.
    applyLiveValues();
    suspend();

    AEffEditor* made = makeEditor != nullptr ? makeEditor(*this) : nullptr;
    synthEditor = dynamic_cast<SynthEditor*>(made);
    setEditor(made);
}

VstXSynth::~VstXSynth() {
    curProgram = 0;
    AEffEditor* closing = editor;
    synthEditor = nullptr;
    setEditor(nullptr);
    if (closing != nullptr) {
        if (closing->isOpen()) closing->close();
        delete closing;
    }
    paramChanges.shutDown();
}

void VstXSynth::open() {
    char vendor[256] = {};
    getHostVendorString(vendor);
    vendor[sizeof(vendor) - 1] = '\0';
    if (std::strcmp(vendor, kVendorName) == 0) ownHost.store(true);
    if (std::strcmp(vendor, "Steinberg") == 0) hostIsSteinberg.store(true);
    if (std::strcmp(vendor, "Image-Line") == 0) hostIsImageLine.store(true);
}

void VstXSynth::setSampleRate(float rate) {
    if (!std::isfinite(rate) || rate <= 0.0f) return;
    engine.setSampleRate(static_cast<double>(rate));
    // The engine keeps its previous tables for a rate it cannot work at.
    sampleRate = engine.sampleRate;
    engine.reset();
    applyLiveValues();
}

void VstXSynth::applyLiveValues() {
    // Waves are rebuilt once after all values, as a program load does.
    engine.waveRebuildEnabled = 0;
    for (int32_t i = 0; i < kNumParams; ++i) engine.setParameter(i, liveValue(i));
    engine.waveRebuildEnabled = 1;
    engine.updateWaveforms();
}

void VstXSynth::suspend() {
    processing.store(false, std::memory_order_release);
    renderThread.store(std::thread::id{}, std::memory_order_release);
    // Nothing renders now: what the last blocks left queued reaches the engine here.
    applyQueuedChanges();
}

void VstXSynth::resume() {
    // No thread renders yet; the first processEvents or processReplacing names it.
    renderThread.store(std::thread::id{}, std::memory_order_release);
    processing.store(true, std::memory_order_release);
}

bool VstXSynth::onRenderingSide() const {
    return !processing.load(std::memory_order_acquire) ||
           renderThread.load(std::memory_order_acquire) == std::this_thread::get_id();
}

void VstXSynth::beginRenderCall() {
    const std::thread::id self = std::this_thread::get_id();
    if (renderThread.load(std::memory_order_relaxed) != self) renderThread.store(self, std::memory_order_release);
    // A host that renders without resuming first still gets its changes queued from now on.
    if (!processing.load(std::memory_order_relaxed)) processing.store(true, std::memory_order_release);
    applyQueuedChanges();
}

void VstXSynth::applyQueuedChanges() {
    // A host may automate a wave or saturation knob hundreds of times between two blocks:
    // the waves are rebuilt once, after the queue, not once per change.
    WaveInputs built = waveInputs(engine);
    engine.waveRebuildEnabled = 0;
    engineChanges.drain([this, &built](const EngineChange& change) {
        switch (change.kind) {
            // The live value: a newer change of the same index may have replaced it already.
            case EngineChange::kParameter: engine.setParameter(change.index, liveValue(change.index)); break;
            case EngineChange::kProgram:
                // A load clears the chorus lines only when rebuilding is on (see Dravenor::reset).
                engine.waveRebuildEnabled = 1;
                loadProgramFromLiveValues(change.index);
                engine.waveRebuildEnabled = 0;
                built = waveInputs(engine);
                break;
            case EngineChange::kWheelBend: applyWheelBend(change.value); break;
        }
    });
    engine.waveRebuildEnabled = 1;
    if (!(waveInputs(engine) == built)) engine.updateWaveforms();
    // Changes that found the queue full: their values are live, so applying every live
    // value (after a lost program change, the whole load) brings the engine up to date.
    const uint32_t lost = engineChanges.takeLost();
    if ((lost & (1u << EngineChange::kProgram)) != 0) {
        loadProgramFromLiveValues(getProgram());
    } else if ((lost & (1u << EngineChange::kParameter)) != 0) {
        applyLiveValues();
    }
    if ((lost & (1u << EngineChange::kWheelBend)) != 0) applyWheelBend(liveValue(kTagPitchWheel));
}

void VstXSynth::loadProgramFromLiveValues(int32_t program) {
    loadingQueuedProgram = true;
    engine.currentProgram = program;
    engine.setProgram(program, true);
    loadingQueuedProgram = false;
}

bool VstXSynth::editorIsOpen() const { return editor != nullptr && editor->isOpen(); }

bool VstXSynth::getEffectName(char* name) {
    copyHostText(name, kEffectName, kVstMaxEffectNameLen - 1);
    return true;
}

bool VstXSynth::getProductString(char* text) {
    copyHostText(text, kEffectName, kVstMaxProductStrLen - 1);
    return true;
}

bool VstXSynth::getVendorString(char* text) {
    copyHostText(text, kVendorName, kVstMaxVendorStrLen - 1);
    return true;
}

bool VstXSynth::getOutputProperties(int32_t index, VstPinProperties* properties) {
    if (index < 0 || index > 1) return false;
    std::snprintf(properties->label, sizeof(properties->label), "Vstx %1d", index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

int32_t VstXSynth::canDo(char* text) {
    if (std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0) return 1;
    return -1;
}

intptr_t VstXSynth::vendorSpecific(int32_t lArg1, intptr_t lArg2, void*, float opt) {
    if (isOwnHost() && lArg1 == kWheelVendorCode && synthEditor != nullptr && editorIsOpen()) {
        synthEditor->onMouseWheel(lArg2, opt);
    }
    return 0;
}

void VstXSynth::saveUISize() { writeUISizeSetting(uiSize); }
