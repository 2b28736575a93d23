// Control changes to the plug-in and parameter changes back to the controls.
#include <algorithm>
#include <cmath>

#include "controls/ZelCPopup.h"
#include "editor/ADEditor.h"
#include "editor/ParameterValueText.h"
#include "plugin/VstXSynth.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/coptionmenu.h"

using namespace VSTGUI;

namespace {

constexpr int32_t kLastWave = 39;          // wave indexes 0..39 (0 = oscillator off)
constexpr int32_t kLastProgram = 127;

float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// The wave the engine plays for a stored value: int(v x 39.99), within 0..39.
int32_t waveOfValue(float value) {
    return std::min(kLastWave, std::max(0, static_cast<int32_t>(clamp01(value) * 39.99f)));
}

float valueOfWave(int32_t wave) { return static_cast<float>(wave) / static_cast<float>(kLastWave); }

}  // namespace

void ADEditor::setParameter(int32_t index, float value) {
    if (frame == nullptr || !std::isfinite(value)) return;
    if (index < 0 || index >= kNumControls) return;
    if (index < kNumParams) {
        CControl* control = controls[index];
        if (index == kParamOsc1Wave || index == kParamOsc2Wave) {
            // The display and the chooser show the wave the engine plays for this value.
            const int32_t wave = waveOfValue(value);
            if (control != nullptr) control->setValue(valueOfWave(wave));
            CControl* chooser = controls[index == kParamOsc1Wave ? kTagOsc1WaveChooser : kTagOsc2WaveChooser];
            if (chooser != nullptr) chooser->setValue(static_cast<float>(wave));
            return;
        }
        if (control != nullptr) {
            control->setValue(value);
            return;
        }
        const float v = clamp01(value);
        switch (index) {
            case kParamVoiceCount:
                if (polyphonyMenu != nullptr) polyphonyMenu->checkEntryAlone(static_cast<int32_t>(v * 100.01f) - 1);
                return;
            case kParamBendRange:
                if (pitchBendMenu != nullptr) pitchBendMenu->checkEntryAlone(static_cast<int32_t>(v * 100.01f) - 1);
                return;
            case kParamGlideType:
                if (glideTypeMenu != nullptr) glideTypeMenu->checkEntryAlone(static_cast<int32_t>(v + 0.01f));
                return;
            default:
                return;
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
                const int32_t step = static_cast<int32_t>(v);
                const bool first = tag == kTagOsc1WaveStep;
                int32_t wave = first ? peekField(synth->getEngine().osc1Wave) : peekField(synth->getEngine().osc2Wave);
                wave = std::min(kLastWave, std::max(0, wave));
                if (step == 1 && wave > 0) {
                    wave -= 1;
                } else if (step == -1 && wave < kLastWave) {
                    wave += 1;
                }
                const int32_t param = first ? kParamOsc1Wave : kParamOsc2Wave;
                synth->setParameterAutomated(param, valueOfWave(wave));
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
