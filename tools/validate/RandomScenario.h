#pragma once
// The single-threaded scenarios: one fresh instance, opened and switched on,
// then random calls until the budget is spent, weighted by kind, then the
// hanging-note check and effClose. The seed alone decides every call, so the
// same seed and budget replay the same calls (a smaller budget replays a prefix).

#include <cstdint>
#include <string>

#include "tools/validate/ScenarioSettings.h"

namespace scenario {

// The kinds: "dispatch" (hostile dispatcher calls), "params" (setParameter and getParameter
// with hostile values), "midi" (hostile event lists), "blocks" (block sizes 1..8192 changing
// every block), "rates" (sample rates 1000..384000 changing between activations), "mixed" (all
// of these at once, but without the low rates).
bool isRandomKind(const std::string& kind);
// Runs one scenario of that kind with seed; about `calls` calls into the plug-in. UI thread.
void runRandom(const ScenarioSettings& settings, const std::string& kind, uint64_t seed, uint64_t calls);

}  // namespace scenario
