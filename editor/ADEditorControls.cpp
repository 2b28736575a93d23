// The value read-out and one control per entry of paramControlTable, chosen by
// the entry's kind, with the skin pictures of the current size.
#include "controls/CDiagramSelector.h"
#include "controls/CDisplayAnimKnob.h"
#include "controls/CKeyboardCtrl.h"
#include "controls/CKeyboardWheel.h"
#include "controls/CMyButton.h"
#include "controls/CMyOptionMenu.h"
#include "controls/CMyRockerSwitch.h"
#include "controls/CMyVerticalSwitch.h"
#include "controls/CRollOverSwitch.h"
#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCParamDisplay.h"
#include "controls/ZelCPopup.h"
#include "editor/ADEditor.h"
#include "editor/SkinBitmapSet.h"
#include "plugin/VstXSynth.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/cmoviebitmap.h"
#include "vstgui/lib/controls/coptionmenu.h"

using namespace VSTGUI;

namespace {

constexpr int32_t kKnobFrames = 63;
constexpr int32_t kWheelFrames = 91;
constexpr int32_t kWaveFrames = 40;          // frame 0 = oscillator off, then waves 1..39
constexpr int32_t kStepFrames = 3;           // rocker pictures: rest, up, down
constexpr int32_t kMenuStyle = COptionMenu::kMultipleCheckStyle;  // 1024

// Width and height of a size's picture; 0 for a missing one, so no size comes from it.
struct PictureSize {
    CBitmap* bitmap;
    double w, h;
};

PictureSize pictureOf(SkinPicture picture, int32_t size) {
    CBitmap* bitmap = getSkinBitmap(picture, size);
    return {bitmap, skinBitmapWidth(picture, size), skinBitmapHeight(picture, size)};
}

}  // namespace

void ADEditor::createReadout() {
    paramReadout = new ZelCParamDisplay(CRect(0, 0, 0, 0), frame);
    paramReadout->setBackColor(CColor(68, 89, 107, 255));
    paramReadout->setFontColor(CColor(219, 221, 223, 255));
    paramReadout->setFrameColor(CColor(54, 54, 54, 255));
    paramReadout->setFont(kSystemFont);
}

void ADEditor::createControls() {
    const Dravenor& e = synth->getEngine();
    for (int32_t tag = 0; tag < kNumControls; ++tag) {
        controls[tag] = nullptr;
        CControl* control = createControl(tag);
        if (control == nullptr) continue;
        if (tag != kTagProgramMenu && e.values != nullptr && tag < e.numParams) {
            control->setValue(peekField(e.values[tag]));
        }
        frame->addView(control);
    }
}

CControl* ADEditor::createControl(int32_t tag) {
    const ParamControlInfo& entry = paramControlTable[tag];
    const double left = entry.left, top = entry.top, right = entry.right, bottom = entry.bottom;
    const CRect r(left, top, right, bottom);
    CControl* made = nullptr;
    switch (entry.kind) {
        case kKnobControl: {
            const PictureSize knob = pictureOf(kKnobBitmap, sizeIndex);
            const double kh = static_cast<int32_t>(knob.h / kKnobFrames);
            auto* c = new CDisplayAnimKnob(CRect(left, top, left + knob.w, top + kh), this, tag, kKnobFrames, kh,
                                           knob.bitmap, CPoint(0, 0), this, paramReadout);
            c->setTransparency(false);
            made = c;
            break;
        }
        case kOnOffButtonControl:
            made = new CMyButton(r, this, tag, getSkinBitmap(kButtonBitmap, sizeIndex), 0);
            break;
        case kVerticalSwitchControl: {
            const bool fourWay = entry.variant == 1;
            const PictureSize sw = pictureOf(fourWay ? kFourWaySwitchBitmap : kThreeWaySwitchBitmap, sizeIndex);
            const int32_t n = fourWay ? 4 : 3;
            const double ph = fourWay ? static_cast<int32_t>(sw.h * 0.25) : static_cast<int32_t>(sw.h / 3);
            made = new CMyVerticalSwitch(CRect(left, top, left + sw.w, top + ph), this, tag, n, ph, n, sw.bitmap,
                                         CPoint(0, 0));
            break;
        }
        case kProgramMenuControl: {
            auto* menu = new COptionMenu(CRect(left, top - 1, right, bottom - 1), this, tag, nullptr, nullptr,
                                         kMenuStyle);
            menu->setFontColor(CColor(255, 255, 255, 255));
            menu->setBackColor(CColor(0, 0, 0, 255));
            menu->setFont(kSystemFont);
            menu->setTransparency(true);
            controls[tag] = menu;
            fillProgramMenu();
            made = menu;
            break;
        }
        case kLogoLinkControl:
            made = new CRollOverSwitch(r, this, tag, getSkinBitmap(kBackgroundBitmap, sizeIndex), &openWebAddress,
                                       kMakerWebAddress);
            break;
        case kOptionsMenuControl: {
            auto* menu = new CMyOptionMenu(r, this, tag, getSkinBitmap(kOptionsButtonBitmap, sizeIndex), nullptr, 0);
            buildOptionsMenu(menu);
            made = menu;
            break;
        }
        case kKeyboardControl:
            made = new CKeyboardCtrl(r, this, tag, this, this);
            break;
        case kWheelControl: {
            const PictureSize wheel = pictureOf(kWheelBitmap, sizeIndex);
            made = new CKeyboardWheel(CRect(left, top, left + wheel.w, top + wheel.h / kWheelFrames), this, tag, this,
                                      entry.variant != 0);
            break;
        }
        case kProgramStepControl:
        case kWaveStepControl: {
            const PictureSize step =
                pictureOf(entry.kind == kProgramStepControl ? kProgramStepBitmap : kWaveStepBitmap, sizeIndex);
            const CRect rr(left, top, left + step.w, top + step.h / kStepFrames);
            made = new CMyRockerSwitch(rr, this, tag, rr.getHeight(), step.bitmap, CPoint(0, 0),
                                       CRockerSwitch::kVertical);
            break;
        }
        case kWaveDisplayControl: {
            const PictureSize strip = pictureOf(kWaveDisplayBitmap, sizeIndex);
            made = new CMovieBitmap(r, this, tag, kWaveFrames, strip.h / kWaveFrames, strip.bitmap, CPoint(0, 0));
            break;
        }
        case kWaveChooserControl: {
            const PictureSize strip = pictureOf(kWaveChooserBitmap, sizeIndex);
            auto* popup = new ZelCPopup(ZelCPopup::kPictureItems,
                                        CRect(left, top, left + strip.w * 0.5, top + strip.h / kWaveFrames), this,
                                        frame, mouseObserver, tag);
            popup->wheelStepping = 1;
            popup->itemsPerColumn = 8;
            popup->drawClosed = 0;
            popup->listFillColor = CColor(70, 90, 110, 255);
            popup->highlightFillColor = CColor(70, 90, 110, 255);
            if (strip.bitmap != nullptr) popup->addImageItems(strip.bitmap, kWaveFrames, true);
            popup->spacing = 1;
            made = popup;
            break;
        }
        case kDiagramSelectorControl: {
            const PictureSize diagram = pictureOf(kRoutingDiagramBitmap, sizeIndex);
            auto* c = new CDiagramSelector(r, this, tag, diagram.bitmap);
            c->setMin(0.0f);
            c->setMax(2.0f);
            made = c;
            break;
        }
        default:
            break;  // kinds 2, 4, 5, 8, 15 and above 17: no control
    }
    controls[tag] = made;
    return made;
}
