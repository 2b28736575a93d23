#pragma once
// A key press that the host forwards to the editor (effEditKeyDown / effEditKeyUp).

#include <cstddef>
#include <cstdint>

struct VstKeyCode {
    int32_t character;   // ASCII character the key types, or 0 (a key known by virt alone)
    uint8_t virt;        // virtual key code
    uint8_t modifier;    // modifier key bits
};

static_assert(offsetof(VstKeyCode, character) == 0);
static_assert(offsetof(VstKeyCode, virt) == 4);
static_assert(offsetof(VstKeyCode, modifier) == 5);
static_assert(sizeof(VstKeyCode) == 8);
