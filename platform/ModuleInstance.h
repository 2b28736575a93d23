// The module handle that a Windows module receives in DllMain. On Linux nothing
// hands it over, and the plug-in does not need it: the skin pictures are compiled
// in and found by id (ModuleResources.h). initModuleInstance finds the handle, the
// module's load address, when first asked.
#pragma once

#include <cstddef>

#include "platform/WinTypes.h"

// Finds and keeps the handle once; later calls answer the same. Any thread.
HINSTANCE initModuleInstance();

// The handle kept by initModuleInstance, or null before it. Any thread.
HINSTANCE moduleInstance();

// The absolute path of the module's file (Quilm.so, or the executable that
// links this library) into `path`; false when unknown or longer than `capacity`
// - 1 bytes. Any thread.
bool getModulePath(char* path, size_t capacity);
