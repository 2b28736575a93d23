#include "tools/render/PluginHost.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

using PluginEntry = AEffect* (*)(audioMasterCallback);

// The host being asked while an entry runs: the plug-in has no record yet then,
// so the callback cannot find its host through the record.
thread_local PluginHost* hostInEntry = nullptr;

// Copies text into a host-callback buffer; the interface's vendor and product
// buffers hold 64 bytes.
void copyAnswer(void* ptr, const std::string& text) {
    if (ptr == nullptr) return;
    std::size_t n = std::min<std::size_t>(text.size(), kVstMaxVendorStrLen - 1);
    std::memcpy(ptr, text.data(), n);
    static_cast<char*>(ptr)[n] = '\0';
}

}  // namespace

PluginHost::PluginHost() = default;

PluginHost::~PluginHost() { unload(); }

bool PluginHost::load(const std::string& path, std::string& error, const char* entry) {
    unload();
    // A name without a folder means the file in the current folder, not a library on the search path.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    if (access(file.c_str(), F_OK) != 0) {
        error = "cannot open the plug-in " + path + ": " + std::strerror(errno);
        return false;
    }
    module_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module_ == nullptr) {
        const char* message = dlerror();
        error = message != nullptr ? message : "cannot open " + path;
        return false;
    }
    void* symbol = dlsym(module_, entry);
    if (symbol == nullptr && std::strcmp(entry, "VSTPluginMain") == 0) symbol = dlsym(module_, "main");
    if (symbol == nullptr) {
        error = path + " has no entry " + entry;
        dlclose(module_);
        module_ = nullptr;
        return false;
    }
    hostInEntry = this;
    effect_ = reinterpret_cast<PluginEntry>(symbol)(&PluginHost::hostCallback);
    hostInEntry = nullptr;
    if (effect_ == nullptr) {
        error = path + " made no plug-in";
        return false;
    }
    if (effect_->magic != kEffectMagic) {
        error = path + " gave a record without the plug-in magic";
        effect_ = nullptr;
        return false;
    }
    // A VST 2.3 plug-in may offer only the accumulating process.
    replacing_ = effect_->processReplacing != nullptr &&
                 ((effect_->flags & effFlagsCanReplacing) != 0 || effect_->process == nullptr);
    if (!replacing_ && effect_->process == nullptr) {
        error = path + " offers neither processReplacing nor process";
        if (effect_->dispatcher != nullptr) effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
        effect_ = nullptr;
        return false;
    }
    effect_->resvd1 = reinterpret_cast<intptr_t>(this);
    prepareBuffers();
    return true;
}

AEffect* PluginHost::callEntry(const char* entry) {
    if (module_ == nullptr) return nullptr;
    void* symbol = dlsym(module_, entry);
    if (symbol == nullptr) return nullptr;
    hostInEntry = this;
    AEffect* made = reinterpret_cast<PluginEntry>(symbol)(&PluginHost::hostCallback);
    hostInEntry = nullptr;
    if (made != nullptr) made->resvd1 = reinterpret_cast<intptr_t>(this);
    return made;
}

void PluginHost::start() {
    if (effect_ == nullptr) return;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, settings.sampleRate);
    dispatch(effSetBlockSize, 0, settings.blockSize);
    prepareBuffers();
    dispatch(effMainsChanged, 0, 1);
    dispatch(effStartProcess);
    started_ = true;
}

void PluginHost::closeEffect() {
    if (effect_ == nullptr) return;
    if (started_) {
        dispatch(effStopProcess);
        dispatch(effMainsChanged, 0, 0);
        started_ = false;
    }
    effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
    effect_ = nullptr;
}

void PluginHost::unload() {
    closeEffect();
    if (module_ != nullptr) {
        dlclose(module_);
        module_ = nullptr;
    }
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (effect_ == nullptr) return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginHost::dispatchText(int32_t opcode, int32_t index, std::size_t bufferSize) {
    std::vector<char> buffer(bufferSize + 1, '\0');
    dispatch(opcode, index, 0, buffer.data());
    buffer[bufferSize] = '\0';
    return std::string(buffer.data());
}

void PluginHost::setParameter(int32_t index, float value) {
    if (effect_ != nullptr) effect_->setParameter(effect_, index, value);
}

float PluginHost::getParameter(int32_t index) {
    return effect_ == nullptr ? 0.0f : effect_->getParameter(effect_, index);
}

intptr_t PluginHost::sendEvents(const VstMidiEvent* events, int32_t count) {
    if (effect_ == nullptr || count <= 0) return 0;
    // A VstEvents record with room for count pointers, built the way hosts do.
    std::vector<unsigned char> storage(sizeof(VstEvents) + sizeof(VstEvent*) * static_cast<std::size_t>(count));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = count;
    list->reserved = 0;
    // The record declares two slots: the others are reached through a pointer.
    VstEvent** slots = list->events;
    for (int32_t i = 0; i < count; ++i) {
        slots[i] = reinterpret_cast<VstEvent*>(const_cast<VstMidiEvent*>(&events[i]));
    }
    return dispatch(effProcessEvents, 0, 0, list);
}

void PluginHost::process(int32_t frames) {
    if (effect_ == nullptr || frames <= 0) return;
    if (frames > settings.blockSize) frames = settings.blockSize;
    timeInfo_.samplePos = songFrames_;
    if (replacing_) {
        effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), frames);
    } else {
        // The accumulating process adds to what the buffers hold.
        for (auto& channel : outputs_) std::fill(channel.begin(), channel.end(), 0.0f);
        effect_->process(effect_, inputPointers_.data(), outputPointers_.data(), frames);
    }
    songFrames_ += frames;
}

int32_t PluginHost::callCount(int32_t opcode) const {
    if (opcode < 0 || opcode >= static_cast<int32_t>(callCounts_.size())) return 0;
    return callCounts_[static_cast<std::size_t>(opcode)].load();
}

void PluginHost::prepareBuffers() {
    if (effect_ == nullptr) return;
    auto frames = static_cast<std::size_t>(settings.blockSize > 0 ? settings.blockSize : 1);
    inputs_.assign(static_cast<std::size_t>(std::max(effect_->numInputs, 0)), std::vector<float>(frames, 0.0f));
    outputs_.assign(static_cast<std::size_t>(std::max(effect_->numOutputs, 0)), std::vector<float>(frames, 0.0f));
    inputPointers_.clear();
    outputPointers_.clear();
    for (auto& channel : inputs_) inputPointers_.push_back(channel.data());
    for (auto& channel : outputs_) outputPointers_.push_back(channel.data());
    // A plug-in that reports no pins still gets valid pointer arrays.
    inputPointers_.push_back(nullptr);
    outputPointers_.push_back(nullptr);
}

intptr_t PluginHost::hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
    PluginHost* host = hostInEntry;
    if (effect != nullptr && effect->resvd1 != 0) host = reinterpret_cast<PluginHost*>(effect->resvd1);
    if (host == nullptr) return opcode == audioMasterVersion ? kVstVersion : 0;
    return host->answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (opcode >= 0 && opcode < static_cast<int32_t>(callCounts_.size())) {
        callCounts_[static_cast<std::size_t>(opcode)].fetch_add(1);
    }
    switch (opcode) {
        case audioMasterAutomate:
            automations_.push_back({index, opt});
            return 0;
        case audioMasterVersion: return settings.versionAnswer;
        case audioMasterCurrentId: return 0;
        case audioMasterIdle: return 0;
        case audioMasterWantMidi: return 1;
        case audioMasterGetTime: {
            if (!settings.giveTimeInfo) return 0;
            timeInfo_.sampleRate = settings.sampleRate;
            timeInfo_.tempo = settings.tempo;
            timeInfo_.flags = settings.timeFlags;
            timeInfo_.timeSigNumerator = 4;
            timeInfo_.timeSigDenominator = 4;
            double beatsPerSecond = std::isfinite(settings.tempo) ? settings.tempo / 60.0 : 2.0;
            timeInfo_.ppqPos = settings.sampleRate > 0.0f ? songFrames_ / settings.sampleRate * beatsPerSecond : 0.0;
            (void)value;
            return reinterpret_cast<intptr_t>(&timeInfo_);
        }
        case audioMasterProcessEvents: return 0;
        case audioMasterIOChanged: return 0;
        case audioMasterSizeWindow:
            return settings.sizeWindow && settings.sizeWindow(index, static_cast<int32_t>(value)) ? 1 : 0;
        case audioMasterGetSampleRate: return static_cast<intptr_t>(settings.sampleRate);
        case audioMasterGetBlockSize: return settings.blockSize;
        case audioMasterGetInputLatency:
        case audioMasterGetOutputLatency: return 0;
        case audioMasterGetCurrentProcessLevel: return 4;  // offline rendering
        case audioMasterGetAutomationState: return 1;     // automation off
        case audioMasterGetVendorString: copyAnswer(ptr, settings.vendor); return 1;
        case audioMasterGetProductString: copyAnswer(ptr, settings.product); return 1;
        case audioMasterGetVendorVersion: return 1;
        case audioMasterCanDo: {
            if (ptr == nullptr) return 0;
            const char* what = static_cast<const char*>(ptr);
            static const char* const known[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                                "receiveVstEvents", "receiveVstMidiEvent", "supplyIdle"};
            for (const char* k : known) {
                if (std::strcmp(what, k) == 0) return 1;
            }
            return 0;
        }
        case audioMasterGetLanguage: return 1;  // English
        case audioMasterUpdateDisplay: return 1;
        case audioMasterBeginEdit:
        case audioMasterEndEdit: return 1;
        default: (void)opt; return 0;
    }
}
