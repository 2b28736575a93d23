// A key event: a character or a virtual key and the modifiers held. Value type: any thread.
#pragma once

#include "plugin/vst/VstKeyCode.h"
#include <cstdint>

namespace VSTGUI {

// The same record as the VST interface's, so that keys pass between host and views as is.
using ::VstKeyCode;

/** Virtual keys (VstKeyCode::virt). */
enum VstVirtualKey : unsigned char
{
	VKEY_BACK = 1, VKEY_TAB, VKEY_CLEAR, VKEY_RETURN, VKEY_PAUSE, VKEY_ESCAPE, VKEY_SPACE,
	VKEY_NEXT, VKEY_END, VKEY_HOME, VKEY_LEFT, VKEY_UP, VKEY_RIGHT, VKEY_DOWN,
	VKEY_PAGEUP, VKEY_PAGEDOWN, VKEY_SELECT, VKEY_PRINT, VKEY_ENTER, VKEY_SNAPSHOT,
	VKEY_INSERT, VKEY_DELETE, VKEY_HELP
};

/** Modifier bits (VstKeyCode::modifier). */
enum VstModifierKey : unsigned char
{
	MODIFIER_SHIFT = 1 << 0,
	MODIFIER_ALTERNATE = 1 << 1,
	MODIFIER_COMMAND = 1 << 2,
	MODIFIER_CONTROL = 1 << 3
};

} // namespace VSTGUI
