#pragma once
// A minimal VST 2.4 host for one plug-in instance: loads a Linux .so through its
// entry, answers the host callback (version 2400, a settable vendor string, the
// tempo through audioMasterGetTime), and drives the dispatcher, events and
// processing the way a real host does. Single-threaded use unless stated.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plugin/vst/AEffect.h"
#include "plugin/vst/VstEvents.h"
#include "plugin/vst/VstOpcodes.h"
#include "plugin/vst/VstTimeInfo.h"

class PluginHost {
public:
    // What the host answers; change before load() or between blocks.
    struct Settings {
        std::string vendor = "Quilm Render";       // audioMasterGetVendorString
        std::string product = "quilm-render";      // audioMasterGetProductString
        intptr_t versionAnswer = kVstVersion;      // audioMasterVersion
        bool giveTimeInfo = true;                  // false: audioMasterGetTime answers null
        double tempo = 120.0;                      // BPM in the time record
        int32_t timeFlags = kVstTempoValid | kVstTransportPlaying | kVstPpqPosValid;
        float sampleRate = 44100.0f;               // Hz
        int32_t blockSize = 512;                   // largest block in frames
        // audioMasterSizeWindow (width, height): true when the host resized; unset answers 0.
        std::function<bool(int32_t width, int32_t height)> sizeWindow;
    };

    // One audioMasterAutomate call seen from the plug-in.
    struct Automation {
        int32_t index;
        float value;
    };

    // A host with nothing loaded.
    PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;
    // Closes the plug-in and unloads the module.
    ~PluginHost();

    // Opens the module (a path without a folder names a file in the current folder) and calls the
    // named entry with the host callback; false with a message on failure.
    bool load(const std::string& path, std::string& error, const char* entry = "VSTPluginMain");
    // Calls another exported entry of the loaded module; the plug-in it makes (or null) is not kept.
    AEffect* callEntry(const char* entry);
    // The loaded plug-in's record, or null.
    AEffect* effect() const { return effect_; }
    // effOpen, sample rate, block size, then switches the plug-in on.
    void start();
    // Switches off, sends effClose (the plug-in deletes itself) and unloads the module.
    void unload();
    // effClose only; the module stays loaded (for checking what a closed plug-in leaves behind).
    void closeEffect();

    // The dispatcher with the host's own bounds; 0 without a plug-in.
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // A text answer of the dispatcher, read from a buffer of bufferSize zeroed bytes.
    std::string dispatchText(int32_t opcode, int32_t index = 0, std::size_t bufferSize = 256);
    // The plug-in's setParameter / getParameter (nothing / 0 without a plug-in).
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);

    // Hands the plug-in events for the coming block (effProcessEvents); answers its result.
    intptr_t sendEvents(const VstMidiEvent* events, int32_t count);
    // Renders frames (at most Settings::blockSize) into the output buffers and advances the song position:
    // processReplacing, or the accumulating process into cleared buffers for a plug-in without it.
    void process(int32_t frames);
    // Output channel after the last process call (Settings::blockSize floats).
    const std::vector<float>& output(int32_t channel) const { return outputs_[channel]; }
    // Number of output channels prepared by start().
    int32_t numOutputs() const { return static_cast<int32_t>(outputs_.size()); }

    // Observations for tests and tools. Any thread.
    int32_t callCount(int32_t opcode) const;
    // Every audioMasterAutomate call so far, oldest first (copy it while nothing renders).
    std::vector<Automation> automations() const { return automations_; }
    Settings settings;

    // The host callback itself (exposed so tools can pass it to other entries).
    static intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt);

private:
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    void prepareBuffers();

    void* module_ = nullptr;
    AEffect* effect_ = nullptr;
    bool started_ = false;
    bool replacing_ = true;  // processReplacing; false: the accumulating process
    VstTimeInfo timeInfo_{};
    double songFrames_ = 0.0;
    std::vector<std::vector<float>> inputs_, outputs_;
    std::vector<float*> inputPointers_, outputPointers_;
    std::array<std::atomic<int32_t>, 64> callCounts_{};
    std::vector<Automation> automations_;
};
