#pragma once
// Test support for driving VstXSynth directly (linked in, not loaded): a
// scripted host callback and an editor stand-in that records what the plug-in
// asks of it. The real editor is a later subsystem; this one only keeps state.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/AEffEditor.h"
#include "plugin/SynthEditor.h"
#include "plugin/VstXSynth.h"

// What the scripted host answers and what it was asked.
struct ScriptedHost {
    std::string vendor = "Test Host";
    intptr_t sampleRateAnswer = 0;
    std::vector<int32_t> opcodes;
    std::vector<std::pair<int32_t, float>> automations;
    std::vector<std::pair<int32_t, intptr_t>> sent;  // (index, value) per call

    static ScriptedHost& current() {
        static ScriptedHost host;
        return host;
    }
    static intptr_t callback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
        ScriptedHost& host = current();
        host.opcodes.push_back(opcode);
        host.sent.emplace_back(index, value);
        switch (opcode) {
            case audioMasterVersion: return 2400;
            case audioMasterAutomate: host.automations.emplace_back(index, opt); return 0;
            case audioMasterGetVendorString:
                std::strncpy(static_cast<char*>(ptr), host.vendor.c_str(), 63);
                return 1;
            case audioMasterGetSampleRate: return host.sampleRateAnswer;
            default: return 0;
        }
    }
    int32_t count(int32_t opcode) const {
        int32_t n = 0;
        for (int32_t op : opcodes) n += op == opcode ? 1 : 0;
        return n;
    }
};

// Resets the scripted host before each test.
class ScriptedHostTest : public ::testing::Test {
protected:
    void SetUp() override { ScriptedHost::current() = ScriptedHost{}; }
    ScriptedHost& hostState() { return ScriptedHost::current(); }
};

// The editor stand-in: open or closed as told; counts and records calls.
class RecordingEditor : public AEffEditor, public SynthEditor {
public:
    explicit RecordingEditor(VstXSynth* synth) : AEffEditor(synth) { ++alive; }
    ~RecordingEditor() override {
        --alive;
        deletedWhileOpen = isOpen();
    }

    bool open(void* parent) override {
        systemWindow = parent;
        return true;
    }
    void close() override {
        ++closes;
        systemWindow = nullptr;
    }
    void setKeyDisplay(int32_t note, bool on) override { keys.emplace_back(note, on); }
    void flushKeyDisplay() override { ++flushes; }
    void requestProgramRefresh() override { ++refreshes; }
    void onMouseWheel(intptr_t position, float distance) override { wheels.emplace_back(position, distance); }

    static AEffEditor* make(VstXSynth& synth) {
        last = new RecordingEditor(&synth);
        return last;
    }

    std::vector<std::pair<int32_t, bool>> keys;
    std::vector<std::pair<intptr_t, float>> wheels;
    int flushes = 0, refreshes = 0, closes = 0;
    static inline int alive = 0;
    static inline bool deletedWhileOpen = false;
    static inline RecordingEditor* last = nullptr;
};
