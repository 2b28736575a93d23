// The program menu, the options menu with its four submenus, size requests and
// the right-click size menu.
#include <cstdio>
#include <cstring>

#include "editor/ADEditor.h"
#include "platform/WinTypes.h"
#include "plugin/VstXSynth.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/coptionmenu.h"

using namespace VSTGUI;

namespace {

constexpr int32_t kProgramsPerColumn = 32;
constexpr int32_t kMenuStyle = COptionMenu::kMultipleCheckStyle;  // 1024
constexpr int32_t kPitchBendMenuTag = 100;
constexpr int32_t kPolyphonyMenuTag = 101;
constexpr int32_t kGlideTypeMenuTag = 102;
constexpr int32_t kSkinMenuTag = 105;
constexpr int32_t kSizeMenuTag = 99999;
constexpr int32_t kBendRanges = 12;   // semitones 1..12
constexpr uint16_t kAllButtons = 0x30e;

}  // namespace

void ADEditor::fillProgramMenu() {
    auto* menu = dynamic_cast<COptionMenu*>(getControl(kTagProgramMenu));
    if (menu == nullptr || synth == nullptr) return;
    const ProgramBank& bank = *synth->getEngine().getPrograms();
    menu->removeAllEntry();
    menu->setNbItemsPerColumn(kProgramsPerColumn);
    for (int32_t i = 0; i < kNumPrograms; ++i) {
        char name[kProgramNameSize + 1];
        std::memcpy(name, bank[i].name, kProgramNameSize);
        name[kProgramNameSize] = '\0';  // a full-length name carries no NUL of its own
        menu->addEntry(name, i, CMenuItem::kNoFlags);
    }
    currentProgram = synth->getProgram();
    menu->setCurrent(currentProgram, true);
    menu->checkEntryAlone(currentProgram);
}

void ADEditor::buildOptionsMenu(COptionMenu* menu) {
    const struct {
        COptionMenu** submenu;
        int32_t tag;
    } submenus[] = {{&pitchBendMenu, kPitchBendMenuTag},
                    {&polyphonyMenu, kPolyphonyMenuTag},
                    {&glideTypeMenu, kGlideTypeMenuTag},
                    {&skinMenu, kSkinMenuTag}};
    for (const auto& s : submenus) {
        if (*s.submenu == nullptr) {
            *s.submenu = new COptionMenu(CRect(0, 0, 0, 0), this, s.tag, nullptr, nullptr, kMenuStyle);
        } else {
            (*s.submenu)->removeAllEntry();
        }
    }
    const int32_t voices = synth != nullptr ? peekField(synth->getEngine().voiceCount) : kDefaultVoiceCount;
    const int32_t bendRange = synth != nullptr ? peekField(synth->getEngine().bendRange) : kDefaultBendRange;
    char text[64];
    for (int32_t i = 0; i < kBendRanges; ++i) {
        std::snprintf(text, sizeof(text), "%d semitones", i + 1);
        pitchBendMenu->addEntry(text);
    }
    if (menu != nullptr) menu->addEntry(pitchBendMenu, "Pitchbend Range");
    pitchBendMenu->checkEntryAlone(bendRange - 1);

    for (int32_t i = 0; i < kMaxVoices; ++i) {
        std::snprintf(text, sizeof(text), "%d voices", i + 1);
        polyphonyMenu->addEntry(text);
    }
    if (menu != nullptr) menu->addEntry(polyphonyMenu, "Polyphony");
    polyphonyMenu->checkEntryAlone(voices - 1);

    glideTypeMenu->addEntry("Constant Time");
    glideTypeMenu->addEntry("Constant Rate");
    if (menu != nullptr) menu->addEntry(glideTypeMenu, "Glide Type");
    glideTypeMenu->checkEntryAlone(synth != nullptr ? peekField(synth->getEngine().glideType) : 0);

    for (int32_t i = 0; i < kUISizeCount; ++i) skinMenu->addEntry(uiSizeName(i));
    if (menu != nullptr) menu->addEntry(skinMenu, "Skin");
    skinMenu->checkEntryAlone(synth != nullptr ? synth->uiSize : kDefaultUISize);
}

void ADEditor::setUISize(int32_t size) {
    if (synth == nullptr || frame == nullptr || resizePending != 0) return;
    if (size < 0 || size >= kUISizeCount || synth->uiSize == size) return;
    if (isOpen()) frame->setDirty(false);
    synth->uiSize = static_cast<uint8_t>(size);
    synth->saveUISize();
    resizePending = 1;
}

CMouseEventResult ADEditor::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (frame == nullptr || (buttons.getButtonState() & kAllButtons) != kRButton) return kMouseEventNotImplemented;
    auto* menu = new COptionMenu(CRect(where.x, where.y, where.x + 100, where.y + 20), this, kSizeMenuTag, nullptr,
                                 nullptr, kMenuStyle);
    menu->setTransparency(true);
    for (int32_t i = 0; i < kUISizeCount; ++i) menu->addEntry(uiSizeName(i), i);
    frame->addView(menu);
    menu->checkEntryAlone(sizeIndex);
    menu->popup();
    int32_t chosen = -1;
    if (frame != nullptr) {
        frame->removeView(menu, false);
        chosen = menu->getCurrentIndex(true);
    }
    menu->forget();
    const auto index = static_cast<uint8_t>(chosen);
    if (index < kUISizeCount && index != sizeIndex) setUISize(index);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
