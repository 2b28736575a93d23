#pragma once
// The validator as a VST 2.4 host: loads a Linux .so once, makes plug-in
// instances through its entry and answers their host callback. The callback
// answers like a plain host (version 2400, a vendor string, the time record);
// the time record is per thread so that an audio thread and a UI thread never
// share it.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "plugin/vst/AEffect.h"
#include "plugin/vst/VstTimeInfo.h"

class PluginModule {
public:
    PluginModule() = default;
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    // Leaves the module loaded: a sanitizer needs its code to name leaks at exit.
    ~PluginModule() = default;

    // Opens the .so and finds VSTPluginMain (or the old name "main"); false with error set. UI thread.
    bool load(const std::string& path, std::string& error);
    // Calls the entry with the validator's host callback: the plug-in's record or null. UI thread.
    AEffect* create() const;

    // Host vendor string that the callback gives (at most 63 characters). Set before effOpen. UI thread.
    static void setVendor(const std::string& vendor);
    // What audioMasterGetTime answers on the calling thread: null when give is false,
    // else a record with this tempo and these flags. Thread of the caller.
    static void setTimeAnswer(bool give, double tempo, int32_t flags, double sampleRate);
    // Marks the calling thread as the audio thread (for audioMasterGetCurrentProcessLevel).
    static void setAudioThread(bool isAudio);
    // How often the plug-in called the host with opcode (0..63). Any thread.
    static uint64_t callbackCount(int32_t opcode);
    // The host callback itself. Any thread.
    static intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt);

private:
    using Entry = AEffect* (*)(audioMasterCallback);
    void* handle_ = nullptr;
    Entry entry_ = nullptr;
};
