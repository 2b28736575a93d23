// Control changes to the plug-in and parameter changes back to the controls.
#include <algorithm>
#include <cmath>

#include "controls/ZelCPopup.h"
#include "editor/ADEditor.h"
#include "editor/ParameterValueText.h"
#include "engine/ParameterSteps.h"
#include "plugin/VstXSynth.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/coptionmenu.h"

using namespace VSTGUI;

namespace {

constexpr int32_t kLastWave = WaveTableBank::kWaveCount;  // wave indexes 0..39 (0 = oscillator off)
constexpr int32_t kLastProgram = 127;
constexpr int32_t kVoiceModePositions = 3;
constexpr int32_t kFilterTypePositions = 4;

float valueOfWave(int32_t wave) { return static_cast<float>(wave) / static_cast<float>(kLastWave); }

// A switch's value for its position (0 = top) out of positions.
float valueOfPosition(int32_t position, int32_t positions) {
    return static_cast<float>(position) / static_cast<float>(positions - 1);
}

// What a control shows for a parameter value. A switch shows the position the engine
// plays, since its own rule (on for anything but 0, the nearest position) disagrees
// with the engine's thresholds between two positions; every other control shows the
// value itself. A value exactly at a position shows as that value.
float shownValue(int32_t index, float value) {
    switch (index) {
        case kParamLfoSync:
        case kParamPercEnv:
        case kParamChorusSync: return switchOn(value) ? 1.0f : 0.0f;
        case kParamFltInvert: return filterInvertOf(value) != 0 ? 1.0f : 0.0f;
        case kParamSharedFilter: return perVoiceFilterOf(value) ? 0.0f : 1.0f;  // on: one filter for all voices
        case kParamVoiceMode: {
            const int32_t mode = voiceModeOf(value);  // the voices play any other mode as mode 0
            return valueOfPosition(mode == 1 || mode == 2 ? mode : 0, kVoiceModePositions);
        }
        case kParamFltType: {
            // Types 3 and 4 are both the notch; the voices play any other type as the low-pass.
            const int32_t type = filterTypeOf(value);
            const int32_t position = type == 4 ? 3 : (type >= 1 && type <= 3 ? type : 0);
            return valueOfPosition(position, kFilterTypePositions);
        }
        default: return value;
    }
}

// Checks the entry alone; checks none when the menu has no entry of that index.
void checkOnly(COptionMenu* menu, int32_t index) {
    if (menu == nullptr || menu->checkEntryAlone(index)) return;
    for (int32_t i = 0; i < menu->getNbEntries(); ++i) menu->getEntry(i)->setChecked(false);
}

}  // namespace

void ADEditor::setParameter(int32_t index, float value) {
    if (frame == nullptr || !std::isfinite(value)) return;
    if (index < 0 || index >= kNumControls) return;
    if (index < kNumParams) {
        CControl* control = controls[index];
        if (index == kParamOsc1Wave || index == kParamOsc2Wave) {
            // The display and the chooser show the wave the engine plays for this value.
            const int32_t wave = waveOf(value);
            if (control != nullptr) control->setValue(valueOfWave(wave));
            CControl* chooser = controls[index == kParamOsc1Wave ? kTagOsc1WaveChooser : kTagOsc2WaveChooser];
            if (chooser != nullptr) chooser->setValue(static_cast<float>(wave));
            return;
        }
        if (control != nullptr) {
            control->setValue(shownValue(index, value));
            return;
        }
        // The options submenus check what the engine plays (none for 0 voices or a bend
        // range they do not list).
        switch (index) {
            case kParamVoiceCount: {
                // The engine ignores a count above its voices and keeps the one checked.
                const int32_t voices = voiceCountOf(value);
                if (voices <= kMaxVoices) checkOnly(polyphonyMenu, voices - 1);
                return;
            }
            case kParamBendRange: checkOnly(pitchBendMenu, bendRangeOf(value) - 1); return;
            case kParamGlideType: checkOnly(glideTypeMenu, glideTypeOf(value)); return;
            default: return;
        }
    }
    if ((index == kTagLogoLink || index == kTagPitchWheel) && controls[index] != nullptr) controls[index]->setValue(value);
}

void ADEditor::valueChanged(CControl* control) {
    if (synth == nullptr || control == nullptr) return;
    const int32_t tag = control->getTag();
    const float v = control->getValue();
    if (tag >= 0 && tag < kNumParams) {
        synth->setParameterAutomated(tag, v);
    } else {
        switch (tag) {
            case kTagOptionsMenu: {
                auto* options = dynamic_cast<COptionMenu*>(control);
                COptionMenu* chosen = options != nullptr ? options->getLastItemMenu() : nullptr;
                if (chosen == nullptr) break;
                const int32_t i = chosen->getCurrentIndex(false);
                if (chosen == pitchBendMenu) {
                    synth->setParameterAutomated(kParamBendRange, static_cast<float>(i + 1) * 0.01f);
                } else if (chosen == polyphonyMenu) {
                    synth->setParameterAutomated(kParamVoiceCount, static_cast<float>(i + 1) * 0.01f);
                } else if (chosen == glideTypeMenu) {
                    synth->setParameterAutomated(kParamGlideType, static_cast<float>(i));
                } else if (chosen == skinMenu) {
                    setUISize(i);
                }
                break;
            }
            case kTagProgramMenu: {
                auto* menu = dynamic_cast<COptionMenu*>(control);
                if (menu == nullptr) break;
                const int32_t i = menu->getCurrentIndex(false);
                synth->selectProgram(i);
                synth->updateDisplay();
                menu->checkEntryAlone(i);
                break;
            }
            case kTagLogoLink:
            case kTagPitchWheel:
                synth->setParameterAutomated(tag, v);
                break;
            case kTagOsc1WaveStep:
            case kTagOsc2WaveStep: {
                // Steps from the wave of the current value, not from the engine's copy, which a
                // host rendering on a thread of its own updates only at its next block: a click
                // then steps once, even while the host's audio is idle. The release (value 0)
                // and a step past either end change nothing, so nothing is written.
                const int32_t step = static_cast<int32_t>(v);
                const int32_t param = tag == kTagOsc1WaveStep ? kParamOsc1Wave : kParamOsc2Wave;
                const int32_t wave = waveOf(synth->getParameter(param));
                int32_t next = wave;
                if (step == 1 && wave > 0) {
                    next = wave - 1;
                } else if (step == -1 && wave < kLastWave) {
                    next = wave + 1;
                }
                if (next != wave) synth->setParameterAutomated(param, valueOfWave(next));
                if (controls[param] != nullptr) controls[param]->setDirty(true);
                break;
            }
            case kTagProgramStep: {
                const int32_t step = static_cast<int32_t>(v);
                const int32_t program = synth->getProgram();
                if (step == 1 && program > 0) {
                    synth->selectProgram(program - 1);
                } else if (step == -1 && program < kLastProgram) {
                    synth->selectProgram(program + 1);
                }
                synth->updateDisplay();
                break;
            }
            case kTagOsc1WaveChooser:
            case kTagOsc2WaveChooser: {
                auto* chooser = dynamic_cast<ZelCPopup*>(control);
                int32_t id = ZelCPopup::kNone;
                if (chooser == nullptr || !chooser->getSelected(id)) break;
                const int32_t wave = std::min(kLastWave, std::max(0, id));
                synth->setParameterAutomated(tag == kTagOsc1WaveChooser ? kParamOsc1Wave : kParamOsc2Wave,
                                             valueOfWave(wave));
                break;
            }
            default:
                break;
        }
    }
    control->setDirty(true);
}

void ADEditor::beginEdit(int32_t index) {
    if (synth != nullptr) synth->beginEdit(index);
}

void ADEditor::endEdit(int32_t index) {
    if (synth != nullptr) synth->endEdit(index);
}

void ADEditor::formatValue(int32_t tag, float value, CFixedString& text) {
    if (synth == nullptr) {
        text.clear();
        return;
    }
    formatParameterValue(tag, text, value, synth->getEngine());
}
