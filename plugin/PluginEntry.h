#pragma once
// The module's entries. Each takes the host callback and answers the plug-in's
// record, or null when the host reports version 0 or the plug-in cannot be made.
// Called on the host's user-interface thread.

#include "plugin/AudioEffect.h"
#include "plugin/vst/AEffect.h"

#define QUILM_EXPORT __attribute__((visibility("default")))

// A new plug-in object built with the host callback.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

extern "C" {
QUILM_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster);
QUILM_EXPORT AEffect* Main(audioMasterCallback audioMaster);
QUILM_EXPORT AEffect* MAIN(audioMasterCallback audioMaster);
}
