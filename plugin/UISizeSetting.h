#pragma once
// The editor size (UISize 0..3), the one setting that outlives the process:
// HKEY_CURRENT_USER "Software\Corvane Audio\Quilm\", value "uisize", one
// REG_BINARY byte. Both calls run on the user-interface thread.

#include <cstdint>

// Fills size from the registry, or with 1 ("Medium") when the key or the value
// cannot be read; a stored value of zero bytes leaves size as it was.
void readUISizeSetting(uint8_t* size);
// Stores size; a failed write leaves the registry as it was and reports nothing.
void writeUISizeSetting(uint8_t size);
