#pragma once
// What a host's plug-in scan costs: the time to construct an instance, open
// it, read its identity and close it, over many instances.

#include <cstdint>
#include <string>

#include "tools/validate/PluginModule.h"

namespace scantime {

// Times count scans of module's plug-in and prints the figures to stdout. UI thread.
void run(const PluginModule& module, int32_t count);
// Times the editor of one instance in a window of the X display: the first and the second
// open, and an idle with nothing changed (median of idles). False, with why set, without an
// editor or a display. UI thread.
bool editorTimes(const PluginModule& module, int32_t idles, std::string& why);

}  // namespace scantime
