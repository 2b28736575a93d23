// The module's exported entries: a host calls one of them with its callback
// and receives the plug-in's AEffect record.
#include "plugin/PluginEntry.h"

#include <new>

#include "editor/ADEditor.h"
#include "plugin/VstXSynth.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    // The editor is made last, so it can report its window size before it opens.
    return new VstXSynth(audioMaster, &ADEditor::make);
}

extern "C" {

QUILM_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (audioMaster == nullptr) return nullptr;
    try {
        if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
        AudioEffect* effect = createEffectInstance(audioMaster);
        return effect == nullptr ? nullptr : effect->getAeffect();
    } catch (...) {
        // Nothing may travel into the host: no memory means no plug-in.
        return nullptr;
    }
}

// Older Linux hosts look for "main"; the assembler name gives the same function
// that name without declaring a C++ main.
QUILM_EXPORT AEffect* quilmLegacyMain(audioMasterCallback audioMaster) __asm__("main");
AEffect* quilmLegacyMain(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }

QUILM_EXPORT AEffect* Main(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }

QUILM_EXPORT AEffect* MAIN(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }

}  // extern "C"
