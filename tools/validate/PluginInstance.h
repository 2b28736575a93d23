#pragma once
// One plug-in instance under test: every call into the plug-in goes through
// here, is counted and described (for a crash report or a trace), and the
// plug-in's AEffect record is checked to stay as the plug-in first gave it.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/vst/AEffect.h"
#include "tools/validate/Findings.h"

class PluginModule;

// Where a scenario reports: its name, its seed, the run's findings.
struct ScenarioTag {
    std::string name;
    uint64_t seed = 0;
    Findings* findings = nullptr;
};

class PluginInstance {
public:
    // Creates an instance through the module's entry; check ok() afterwards. UI thread.
    PluginInstance(const PluginModule& module, ScenarioTag tag);
    // Sends effClose when the instance is still open. UI thread.
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // True while the plug-in exists; its record; the scenario this instance serves. Any thread.
    bool ok() const { return effect_ != nullptr; }
    AEffect* effect() const { return effect_; }
    const ScenarioTag& tag() const { return tag_; }
    // Calls made into the plug-in so far (all threads). Any thread.
    uint64_t calls() const { return calls_.load(std::memory_order_relaxed); }
    // The sample rate of the last effSetSampleRate that reached the plug-in, whatever it
    // made of it (44100 before any). Any thread.
    float givenSampleRate() const { return givenSampleRate_.load(std::memory_order_relaxed); }

    // The dispatcher, counted, described and followed by the record check. Thread of the caller.
    // An essential call (effOpen, the host's own activation) is never left out by onlyCalls.
    intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt, bool essential = false);
    // The plug-in's setParameter / getParameter, counted like dispatch. Thread of the caller.
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);
    // False when the call was left out (see onlyCalls): the outputs are untouched then.
    bool processReplacing(float** inputs, float** outputs, int32_t frames);
    // effClose: the plug-in deletes itself; the instance is gone afterwards. UI thread.
    void close();

    // Records a fault against this scenario at the current call. Any thread.
    void fault(const std::string& message);

    // When not empty, only calls with these numbers reach the plug-in; the others are
    // counted and skipped (the seed's stream stays the same), so that a fault can be cut
    // down to the few calls that cause it. Construction and effClose always happen.
    // Calls numbered above onlyCallsUpTo (the closing release check) always happen.
    static inline std::vector<uint64_t> onlyCalls;
    static inline uint64_t onlyCallsUpTo = 0;

private:
    // Counts and describes a call before it is made.
    // Returns false when the call is to be skipped.
    bool begin(const char* what, int32_t a, intptr_t b, float c, bool essential = false);
    // Compares the record with the first snapshot.
    void checkRecord(const char* after);

    ScenarioTag tag_;
    AEffect* effect_ = nullptr;
    AEffect snapshot_{};
    std::atomic<uint64_t> calls_{0};
    std::atomic<float> givenSampleRate_{44100.0f};
};
