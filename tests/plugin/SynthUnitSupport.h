#pragma once
// Test support for plug-in objects linked in (not loaded): a host callback that
// records every call and answers as scripted, and an editor stand-in that records
// what the plug-in asks of it.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/AEffEditor.h"
#include "plugin/SynthEditor.h"
#include "plugin/VstXSynth.h"

// One call of the host callback, as the host received it.
struct HostCall {
    int32_t opcode, index;
    intptr_t value;
    void* ptr;
    float opt;
    bool operator==(const HostCall&) const = default;
};

// The host of the current test: version 2400, a vendor string, and `answer` for every other opcode.
struct ScriptedHost {
    std::string vendor = "Test Host";
    intptr_t answer = 0;
    std::vector<HostCall> calls;

    static ScriptedHost& current() {
        static ScriptedHost host;
        return host;
    }
    static intptr_t callback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
        ScriptedHost& host = current();
        host.calls.push_back({opcode, index, value, ptr, opt});
        if (opcode == audioMasterVersion) return 2400;
        if (opcode != audioMasterGetVendorString) return host.answer;
        std::strncpy(static_cast<char*>(ptr), host.vendor.c_str(), 63);
        return 1;
    }
    int32_t count(int32_t opcode) const {
        int32_t n = 0;
        for (const HostCall& call : calls) n += call.opcode == opcode ? 1 : 0;
        return n;
    }
};

// Resets the scripted host before each test.
class ScriptedHostTest : public ::testing::Test {
protected:
    void SetUp() override { ScriptedHost::current() = ScriptedHost{}; }
    ScriptedHost& hostState() { return ScriptedHost::current(); }
};

// The editor stand-in: open or closed as told; records the plug-in's calls.
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
    int flushes = 0, refreshes = 0;
    static inline int alive = 0;
    static inline bool deletedWhileOpen = false;
    static inline RecordingEditor* last = nullptr;
};
