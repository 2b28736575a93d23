#pragma once
// The concurrency scenarios: the plug-in's UI thread (dispatcher calls a host
// makes while audio runs, editor cycles) against an audio thread rendering
// with MIDI and an automation thread setting parameters; run under
// ThreadSanitizer to find data races.

#include <cstdint>
#include <string>

#include "tools/validate/ScenarioSettings.h"

namespace scenario {

// Dispatcher calls that are legal while audio runs, against both background threads;
// the rate and largest block change between phases with the threads stopped. UI thread.
void runThreads(const ScenarioSettings& settings, uint64_t seed, uint64_t calls);
// Opens, idles and closes the editor settings.editorCycles times in a window of the X
// display while audio and automation run; false (skipped) without an editor or a display. UI thread.
bool runEditor(const ScenarioSettings& settings, uint64_t seed, std::string& skipReason);

}  // namespace scenario
