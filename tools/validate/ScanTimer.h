#pragma once
// What a host's plug-in scan costs: the time to construct an instance, open
// it, read its identity and close it, over many instances.

#include <cstdint>

#include "tools/validate/PluginModule.h"

namespace scantime {

// Times count scans of module's plug-in and prints the figures to stdout. UI thread.
void run(const PluginModule& module, int32_t count);

}  // namespace scantime
