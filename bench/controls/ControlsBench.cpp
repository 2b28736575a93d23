// Repaint and mouse costs of the controls at the editor's "Medium" size.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

#include "controls/CDisplayAnimKnob.h"
#include "controls/CKeyboardCtrl.h"
#include "controls/IKeyboardNoteSink.h"
#include "controls/IKeyboardState.h"
#include "controls/IValueTextFormatter.h"
#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCParamDisplay.h"
#include "controls/ZelCPopup.h"
#include "controls/ZelCPopupControl.h"
#include "graphics/CFixedString.h"
#include "vstgui/vstgui.h"

using namespace VSTGUI;

namespace {

CFrame* makeFrame(VSTGUIEditorInterface* editor = nullptr)
{
    auto* frame = new CFrame(CRect(0, 0, 1000, 672), editor);
    frame->open(nullptr, PlatformType::kHeadless);
    return frame;
}

SharedPointer<CBitmap> makeStrip(int rows, CCoord w, CCoord h)
{
    auto context = COffscreenContext::create(nullptr, w, h * rows);
    for (int k = 0; k < rows; ++k)
    {
        context->setFillColor(CColor(static_cast<uint8_t>(5 * k), 90, 160, 255));
        context->drawRect(CRect(0, h * k, w, h * (k + 1)), kDrawFilled);
    }
    context->endDraw();
    return context->getBitmap();
}

struct ChooserSetup
{
    ChooserSetup()
    {
        frame = makeFrame();
        frame->registerMouseObserver(&observer);
        chooser = new ZelCPopup(ZelCPopup::kPictureItems, CRect(80, 44, 148, 76), nullptr, frame, &observer, 90);
        chooser->wheelStepping = 1;
        chooser->itemsPerColumn = 8;
        chooser->drawClosed = 0;
        chooser->addImageItems(makeStrip(40, 136, 32), 40, true);
        chooser->spacing = 1;
        chooser->setValue(9);
        frame->addView(chooser);
        chooser->openDropDown(CPoint(90, 50));
        frame->updateInvalidAreas();
    }
    ~ChooserSetup()
    {
        observer.closeAll();
        frame->close();
    }
    CFrame* frame;
    ZelCFrameMuseObserver observer;
    ZelCPopup* chooser;
};

// The open grid of 40 wave pictures (352 x 263 pixels) repainted.
void BM_ChooserGridRepaint(benchmark::State& state)
{
    ChooserSetup setup;
    for (auto _ : state)
    {
        setup.chooser->getDropDown()->invalid();
        setup.frame->updateInvalidAreas();
    }
}
BENCHMARK(BM_ChooserGridRepaint)->Unit(benchmark::kMicrosecond);

// A mouse move over the open grid (hit test of 40 cells, the hover redrawn lazily).
void BM_ChooserHoverMove(benchmark::State& state)
{
    ChooserSetup setup;
    int i = 0;
    for (auto _ : state)
    {
        CPoint p(82 + 71 * ((i % 40) / 8) + 34, 81 + 33 * (i % 8) + 16);
        setup.frame->platformOnMouseMoved(p, CButtonState(0));
        ++i;
    }
}
BENCHMARK(BM_ChooserHoverMove)->Unit(benchmark::kNanosecond);

struct AllHeld : IKeyboardState, IKeyboardNoteSink
{
    AllHeld()
    {
        geometry.originLeft = 124;
        geometry.originTop = 540;
        const double black[5][2] = {{14, 28}, {44, 57}, {86, 100}, {113, 126}, {140, 153}};
        for (int i = 0; i < 5; ++i)
            geometry.black[i] = CRect(black[i][0], 0, black[i][1], 76);
        const double white[7][3] = {{0, 14, 0}, {28, 43, 24}, {58, 72, 48}, {72, 86, 72}, {100, 112, 96},
            {127, 140, 120}, {154, 168, 144}};
        for (int i = 0; i < 7; ++i)
        {
            geometry.white[i][0] = CRect(white[i][0], 0, white[i][1], 76);
            geometry.white[i][1] = CRect(white[i][2], 76, white[i][2] + 24, 122);
        }
        picture = makeStrip(1, 168, 122);
        held.fill(true);
    }
    const KeyboardGeometry& getKeyboardGeometry() const override { return geometry; }
    bool isKeyHeld(int32_t k) const override { return held[static_cast<size_t>(k)]; }
    void setKeyHeld(int32_t k, bool h) override { held[static_cast<size_t>(k)] = h; }
    CBitmap* getKeysWhiteHeldBitmap() const override { return picture; }
    CBitmap* getKeysBlackHeldBitmap() const override { return picture; }
    void queueGuiMidiEvent(uint8_t, uint8_t, uint8_t, uint8_t) override {}
    int32_t getVoiceMode() const override { return 2; }
    int32_t getVoiceCount() const override { return 20; }

    KeyboardGeometry geometry;
    std::array<bool, 60> held {};
    SharedPointer<CBitmap> picture;
};

// The keyboard (840 x 124 pixels) repainted with all 60 keys held.
void BM_KeyboardRepaintAllHeld(benchmark::State& state)
{
    AllHeld keys;
    CFrame* frame = makeFrame();
    auto* keyboard = new CKeyboardCtrl(CRect(124, 540, 964, 664), nullptr, 85, &keys, &keys);
    frame->addView(keyboard);
    for (auto _ : state)
    {
        keyboard->setDirty(true);
        frame->updateInvalidAreas();
    }
    frame->close();
}
BENCHMARK(BM_KeyboardRepaintAllHeld)->Unit(benchmark::kMicrosecond);

struct LinearEditor : VSTGUIEditorInterface
{
    int32_t getKnobMode() const override { return kLinearMode; }
};

struct Formatter : IValueTextFormatter
{
    void formatValue(int32_t, float value, CFixedString& text) override
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f ms", static_cast<double>(value) * 1000.0);
        text.assign(buffer);
    }
};

// One knob drag step: the read-out's text refreshed, the value moved, both repainted.
void BM_KnobDragWithReadOut(benchmark::State& state)
{
    LinearEditor editor;
    Formatter formatter;
    CFrame* frame = makeFrame(&editor);
    auto* readOut = new ZelCParamDisplay(CRect(0, 0, 0, 0), frame);
    auto strip = makeStrip(63, 52, 52);
    auto* knob = new CDisplayAnimKnob(CRect(172, 36, 224, 88), nullptr, 0, 63, 52, strip, CPoint(0, 0), &formatter,
        readOut);
    knob->setValue(0.5f);
    frame->addView(knob);
    CPoint down(198, 62);
    frame->platformOnMouseDown(down, CButtonState(kLButton));
    int i = 0;
    for (auto _ : state)
    {
        CPoint p(198, 62 - (i % 40) + 20);
        frame->platformOnMouseMoved(p, CButtonState(kLButton));
        frame->updateInvalidAreas();
        ++i;
    }
    CPoint up(198, 62);
    frame->platformOnMouseUp(up, CButtonState(kLButton));
    frame->close();
    readOut->forget();
}
BENCHMARK(BM_KnobDragWithReadOut)->Unit(benchmark::kMicrosecond);

} // namespace
