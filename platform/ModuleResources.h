// The module's compiled-in resources: the files handed to the CMake function
// quilm_embed_resources(<target> <files or patterns...>), each found by the
// integer id that leads its file name ("128-background.png" has id 128).
//
// This function is declared here and defined by the generated resource library:
// every executable or shared object links exactly one such library (Quilm.so
// the skin pictures of resources/, a test its own small set).
#pragma once

#include <cstddef>
#include <cstdint>

// Finds resource `id`: *data and *size give its bytes, which stay valid for the
// life of the module. False for an unknown id, leaving *data and *size untouched.
// Any thread.
bool findModuleResource(int32_t id, const uint8_t** data, size_t* size);
