#pragma once
// What every scenario is given: the module to make instances from, where
// faults go, and the run's limits. Plain data: any thread.

#include <cstdint>
#include <string>

#include "tools/validate/Findings.h"
#include "tools/validate/PluginModule.h"

struct ScenarioSettings {
    const PluginModule* module = nullptr;
    Findings* findings = nullptr;
    double releaseSeconds = 30.0;  // longest wait for silence after every note is released
    int32_t editorCycles = 50;     // editor open/idle/close cycles per editor scenario run
    std::string vendor;            // host vendor string; empty: a random one per scenario
};
