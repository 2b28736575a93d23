#include "tools/validate/PluginModule.h"

#include <dlfcn.h>

#include <cstring>

#include "plugin/vst/VstOpcodes.h"

namespace {
constexpr int kCountedOpcodes = 64;
std::array<std::atomic<uint64_t>, kCountedOpcodes> callbackCounts{};
char hostVendor[64] = "quilm-validate";  // kVstMaxVendorStrLen bytes, NUL included

struct TimeAnswer {
    bool give = true;
    VstTimeInfo info{};
};
thread_local TimeAnswer timeAnswer;
thread_local bool onAudioThread = false;
}  // namespace

bool PluginModule::load(const std::string& path, std::string& error) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "dlopen failed";
        return false;
    }
    void* symbol = dlsym(handle_, "VSTPluginMain");
    if (symbol == nullptr) symbol = dlsym(handle_, "main");
    if (symbol == nullptr) {
        error = path + " exports neither VSTPluginMain nor main";
        return false;
    }
    entry_ = reinterpret_cast<Entry>(symbol);
    return true;
}

AEffect* PluginModule::create() const { return entry_ != nullptr ? entry_(&PluginModule::hostCallback) : nullptr; }

void PluginModule::setVendor(const std::string& vendor) {
    std::memset(hostVendor, 0, sizeof(hostVendor));
    std::strncpy(hostVendor, vendor.c_str(), sizeof(hostVendor) - 1);
}

void PluginModule::setTimeAnswer(bool give, double tempo, int32_t flags, double sampleRate) {
    timeAnswer.give = give;
    timeAnswer.info = VstTimeInfo{};
    timeAnswer.info.tempo = tempo;
    timeAnswer.info.flags = flags;
    timeAnswer.info.sampleRate = sampleRate;
    timeAnswer.info.timeSigNumerator = 4;
    timeAnswer.info.timeSigDenominator = 4;
}

void PluginModule::setAudioThread(bool isAudio) { onAudioThread = isAudio; }

uint64_t PluginModule::callbackCount(int32_t opcode) {
    return opcode >= 0 && opcode < kCountedOpcodes ? callbackCounts[opcode].load(std::memory_order_relaxed) : 0;
}

intptr_t PluginModule::hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
    if (opcode >= 0 && opcode < kCountedOpcodes) callbackCounts[opcode].fetch_add(1, std::memory_order_relaxed);
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterGetTime: return timeAnswer.give ? reinterpret_cast<intptr_t>(&timeAnswer.info) : 0;
        case audioMasterGetVendorString:
            // The interface gives the plug-in kVstMaxVendorStrLen bytes; the host writes no more.
            if (ptr != nullptr) std::memcpy(ptr, hostVendor, std::strlen(hostVendor) + 1);
            return ptr != nullptr ? 1 : 0;
        case audioMasterGetProductString:
            if (ptr != nullptr) std::memcpy(ptr, "quilm-validate", sizeof("quilm-validate"));
            return ptr != nullptr ? 1 : 0;
        case audioMasterGetVendorVersion: return 1;
        case audioMasterGetCurrentProcessLevel: return onAudioThread ? 2 : 1;
        case audioMasterSizeWindow: return 1;
        case audioMasterUpdateDisplay: return 1;
        case audioMasterBeginEdit:
        case audioMasterEndEdit: return 1;
        default: return 0;
    }
}
