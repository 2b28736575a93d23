#pragma once
// Test support: the built Quilm.so loaded through dlopen and driven by the
// offline host, plus the MIDI and engine helpers the module tests share.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Dravenor.h"
#include "tests/common/ScopedSettingsFolder.h"
#include "tools/common/MidiEventRecord.h"
#include "tools/render/PluginHost.h"

// Path of the built module, given by the build.
inline const char* quilmModulePath() { return QUILM_MODULE_PATH; }

// A MIDI event for effProcessEvents.
inline VstMidiEvent midiEvent(int32_t frame, uint8_t status, uint8_t data1, uint8_t data2 = 0) {
    return midiEventRecord(frame, status, data1, data2);
}

// Frames per block of the module tests.
inline constexpr int32_t kBlock = 64;

// The module loaded and started as a host starts a plug-in (44100 Hz, 64-frame blocks).
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loadModule()); }

    bool loadModule(const std::string& vendor = "Quilm Test Host") {
        host = std::make_unique<PluginHost>();
        host->settings.vendor = vendor;
        host->settings.blockSize = kBlock;
        std::string error;
        if (!host->load(quilmModulePath(), error)) {
            ADD_FAILURE() << error;
            return false;
        }
        host->start();
        return true;
    }
    // Sends the events and renders one block; returns the two channels.
    std::vector<std::vector<float>> block(const std::vector<VstMidiEvent>& events) {
        if (!events.empty()) host->sendEvents(events.data(), static_cast<int32_t>(events.size()));
        host->process(kBlock);
        return {host->output(0), host->output(1)};
    }
    std::vector<float> parameters() {
        std::vector<float> values;
        for (int32_t i = 0; i < kNumParams; ++i) values.push_back(host->getParameter(i));
        return values;
    }

    ScopedSettingsFolder settings;
    std::unique_ptr<PluginHost> host;
};

// The engine driven directly, set up the way the plug-in sets it up when a host
// constructs it and sends a sample rate: the reference for bit-identical output.
class ReferenceEngine {
public:
    explicit ReferenceEngine(double rate = 44100.0) {
        applyValues();
        engine.setSampleRate(rate);
        engine.reset();
        applyValues();
        engine.hostTempo = 1200000.0f;
    }
    void applyValues() {
        engine.waveRebuildEnabled = 0;
        for (int32_t i = 0; i < kNumParams; ++i) engine.setParameter(i, engine.values[i]);
        engine.waveRebuildEnabled = 1;
        engine.updateWaveforms();
    }
    void setParameter(int32_t index, float value) {
        engine.values[index] = value;
        engine.setParameter(index, value);
    }
    // Renders frames into the two channels starting at frame offset.
    void render(std::vector<std::vector<float>>& out, int32_t offset, int32_t frames) {
        float* channels[2] = {out[0].data() + offset, out[1].data() + offset};
        engine.render(frames, channels, 1);
    }
    Dravenor engine;
};

inline bool hasSound(const std::vector<std::vector<float>>& out) {
    for (const auto& channel : out) {
        for (float sample : channel) {
            if (sample != 0.0f) return true;
        }
    }
    return false;
}
