// The module handle that a Windows module receives in DllMain. On Linux there is
// no such call: the plug-in's entry calls initModuleInstance at its first call,
// and the handle is the module's load address.
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
