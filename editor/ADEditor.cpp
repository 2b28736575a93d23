// ADEditor: construction, open, close, the idle step with the size change, and
// the key display of the audio thread.
#include "editor/ADEditor.h"

#include <cstdlib>

#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCParamDisplay.h"
#include "editor/EditorSizeMenuHook.h"
#include "editor/SkinBitmapSet.h"
#include "platform/Timing.h"
#include "platform/WindowSystem.h"
#include "plugin/VstXSynth.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/coptionmenu.h"

using namespace VSTGUI;

namespace {

// Side of the empty picture that stands in for a missing background, pixels.
constexpr int32_t kPlaceholderSide = 400;

// Makes sure a size has a background with pixels: an empty placeholder otherwise.
CBitmap* backgroundOf(int32_t size) {
    CBitmap* background = getSkinBitmap(kBackgroundBitmap, size);
    if (background == nullptr || background->getPlatformBitmap() == nullptr) {
        auto* placeholder = new CBitmap(kPlaceholderSide, kPlaceholderSide);
        setSkinBackground(size, placeholder);
        placeholder->forget();
        background = getSkinBitmap(kBackgroundBitmap, size);
    }
    return background;
}

// The size a background has or will have, known from the picture's header without
// decoding anything; the placeholder's when there is no picture.
CPoint backgroundSize(int32_t size) {
    const CPoint known(skinBitmapWidth(kBackgroundBitmap, size), skinBitmapHeight(kBackgroundBitmap, size));
    return known.x > 0 && known.y > 0 ? known : backgroundOf(size)->getSize();
}

int16_t toShort(int32_t v) { return static_cast<int16_t>(v); }

}  // namespace

AEffEditor* ADEditor::make(VstXSynth& synth) { return new ADEditor(&synth); }

ADEditor::ADEditor(VstXSynth* synthObject) : PluginGUIEditor(synthObject), synth(synthObject) {
    sizeIndex = synth != nullptr ? clampUISize(synth->uiSize) : kDefaultUISize;
    // The window size is known at once; the pictures are decoded when the editor opens.
    loadSkinBitmaps();
    const CPoint size = backgroundSize(sizeIndex);
    rect = ERect{0, 0, toShort(static_cast<int32_t>(size.y)), toShort(static_cast<int32_t>(size.x))};
}

ADEditor::~ADEditor() noexcept {
    releaseSubmenus();
    releaseSkinBitmaps();
}

Dravenor* ADEditor::engine() const { return synth != nullptr ? &synth->getEngine() : nullptr; }

CControl* ADEditor::getControl(int32_t tag) const {
    return tag >= 0 && tag < kNumControls && frame != nullptr ? controls[tag] : nullptr;
}

bool ADEditor::open(void* parent) {
    if (synth == nullptr) return false;
    // A host must name its window; only a headless frame (tests) needs none.
    if (parent == nullptr && framePlatform != PlatformType::kHeadless) return false;
    if (isOpen() || frame != nullptr) close();
    // The size stored in the plug-in, read afresh: a size chosen just before the
    // host closed the editor is kept.
    sizeIndex = clampUISize(synth->uiSize);
    PluginGUIEditor::open(parent);

    // The window opens at the size known from the background's header; the pictures
    // are decoded and scaled once it stands (the first open of a size in a process).
    const CPoint expected = backgroundSize(sizeIndex);
    rect.right = toShort(rect.left + static_cast<int32_t>(expected.x));
    rect.bottom = toShort(rect.top + static_cast<int32_t>(expected.y));
    frame = new CFrame(CRect(0, 0, expected.x, expected.y), this);
    if (!frame->open(parent, framePlatform)) {
        // No window (no display, a bad parent): nothing stays behind.
        frame->close();
        frame = nullptr;
        PluginGUIEditor::close();
        return false;
    }
    buildSkinBitmaps(sizeIndex, false);
    CBitmap* background = backgroundOf(sizeIndex);
    const int32_t w = static_cast<int32_t>(background->getWidth());
    const int32_t h = static_cast<int32_t>(background->getHeight());
    rect.right = toShort(rect.left + w);
    rect.bottom = toShort(rect.top + h);
    mouseObserver = new ZelCFrameMuseObserver();
    layoutEditor(sizeIndex);

    currentProgram = synth->getProgram();

    frame->setBackground(background);
    frame->setSize(w, h);
    synth->sizeWindow(w, h);
    frame->registerMouseObserver(mouseObserver);
    sizeMenuHook = new EditorSizeMenuHook(*this);
    frame->registerMouseObserver(sizeMenuHook);
    setKnobMode(kLinearMode);

    for (auto& key : keyHeld) key.store(0, std::memory_order_relaxed);
    keyboardDirty.store(0, std::memory_order_relaxed);
    keyboardRedraw.store(0, std::memory_order_relaxed);
    createReadout();
    createControls();
    // The controls show what plays: the live values, which the host, MIDI controllers or
    // edits may have moved away from the stored program while the editor was closed.
    // Changes still queued from before are older than these. Open first, then read: a
    // value set meanwhile on another thread is queued for the next idle step, not lost.
    discardQueuedChanges();
    resizing = 0;
    resizePending = 0;
    openFlag.store(1, std::memory_order_release);
    showLiveValues();
    return true;
}

void ADEditor::close() {
    if (!isOpen() && frame == nullptr) return;
    // First, so that the audio thread stops lighting keys.
    openFlag.store(0, std::memory_order_release);
    if (mouseObserver != nullptr) {
        mouseObserver->closeAll();
        if (frame != nullptr) frame->unregisterMouseObserver(mouseObserver);
    }
    if (sizeMenuHook != nullptr && frame != nullptr) frame->unregisterMouseObserver(sizeMenuHook);
    CFrame* closing = frame;
    frame = nullptr;
    if (closing != nullptr) {
        // The read-out is the editor's own: out of the tree before the views are released.
        if (paramReadout != nullptr) paramReadout->hide();
        // The views go with their references (the keyboard releases a held key on the way).
        closing->removeAll(true);
        for (auto& control : controls) control = nullptr;
        closing->close();
    }
    if (paramReadout != nullptr) {
        paramReadout->forget();
        paramReadout = nullptr;
    }
    delete mouseObserver;
    mouseObserver = nullptr;
    delete sizeMenuHook;
    sizeMenuHook = nullptr;
    // The options submenus stay for the next open, which refills them.
    PluginGUIEditor::close();
}

void ADEditor::releaseSubmenus() {
    for (COptionMenu** menu : {&pitchBendMenu, &polyphonyMenu, &glideTypeMenu, &skinMenu}) {
        if (*menu != nullptr) {
            (*menu)->forget();
            *menu = nullptr;
        }
    }
}

void ADEditor::invalidateFrame() {
    if (frame == nullptr) return;
    frame->invalidRect(CRect(0, 0, frame->getWidth(), frame->getHeight()));
    frame->setDirty(false);
}

void ADEditor::idle() {
    if (frame == nullptr || !isOpen() || synth == nullptr || resizing != 0) return;
    if (programRefreshPending.exchange(0, std::memory_order_acq_rel) != 0) {
        refreshProgram();
        return;
    }
    if (resizePending != 0) {
        changeSize();
        return;
    }
    drainParameterChanges();
    if (keyboardRedraw.exchange(0, std::memory_order_acq_rel) != 0 && controls[kTagKeyboard] != nullptr)
        controls[kTagKeyboard]->setDirty(true);
    PluginGUIEditor::idle();
}

void ADEditor::refreshProgram() {
    if (mouseObserver != nullptr) mouseObserver->closeAll();
    fillProgramMenu();
    invalidateFrame();
}

void ADEditor::drainParameterChanges() {
    ParamChangeList& changes = synth->getParamChanges();
    ParamChange change{};
    while (changes.takeNext(change)) {
        if (change.kind == ParamChangeList::kParameterChange) setParameter(change.index, change.value);
    }
    // Changes that found no room in the list are lost: show every live value instead.
    if (changes.takeOverflow()) showLiveValues();
}

void ADEditor::discardQueuedChanges() {
    ParamChangeList& changes = synth->getParamChanges();
    ParamChange change{};
    while (changes.takeNext(change)) {
    }
    changes.takeOverflow();
}

void ADEditor::showLiveValues() {
    const Dravenor* e = engine();
    if (e == nullptr || e->values == nullptr) return;
    // The live values, which host automation may be writing on another thread.
    for (int32_t i = 0; i < kNumParams && i < e->numParams; ++i) setParameter(i, peekField(e->values[i]));
}

void ADEditor::changeSize() {
    resizePending = 0;
    resizing = 1;
    const double oldW = skinBitmapWidth(kBackgroundBitmap, sizeIndex);
    const double oldH = skinBitmapHeight(kBackgroundBitmap, sizeIndex);
    const int32_t newSize = clampUISize(synth->uiSize);
    buildSkinBitmaps(newSize, false);
    CBitmap* background = backgroundOf(newSize);

    // What the host's window adds around the picture; nothing when it cannot be read.
    RECT window{};
    int32_t dx = 0, dy = 0;
    if (GetWindowRect(static_cast<HWND>(systemWindow), &window)) {
        dx = (window.right - window.left) - static_cast<int32_t>(oldW);
        dy = (window.bottom - window.top) - static_cast<int32_t>(oldH);
    }
    const int32_t newW = static_cast<int32_t>(background->getWidth());
    const int32_t newH = static_cast<int32_t>(background->getHeight());
    rect = ERect{0, 0, toShort(newH + std::abs(static_cast<int32_t>(toShort(dy)))),
                 toShort(newW + std::abs(static_cast<int32_t>(toShort(dx))))};
    frame->setSize(newW, newH);
    synth->sizeWindow(newW, newH);
    invalidateFrame();
    Sleep(resizePauseMs);

    void* parent = systemWindow;
    close();
    sizeIndex = newSize;
    open(parent);
    SetWindowPos(static_cast<HWND>(parent), nullptr, 0, 0, newW + dx, newH + dy, SWP_NOMOVE);
}

void ADEditor::setKeyDisplay(int32_t note, bool on) {
    if (note < kKeyboardLowestNote || note >= kKeyboardLowestNote + kKeyboardKeys) return;
    keyHeld[note - kKeyboardLowestNote].store(on ? 1 : 0, std::memory_order_relaxed);
    keyboardDirty.store(1, std::memory_order_release);
}

void ADEditor::flushKeyDisplay() {
    if (keyboardDirty.exchange(0, std::memory_order_acq_rel) != 0) keyboardRedraw.store(1, std::memory_order_release);
}

bool ADEditor::isKeyHeld(int32_t keyIndex) const {
    return keyIndex >= 0 && keyIndex < kKeyboardKeys && keyHeld[keyIndex].load(std::memory_order_relaxed) != 0;
}

void ADEditor::setKeyHeld(int32_t keyIndex, bool held) {
    if (keyIndex < 0 || keyIndex >= kKeyboardKeys) return;
    keyHeld[keyIndex].store(held ? 1 : 0, std::memory_order_relaxed);
}

CBitmap* ADEditor::getKeysWhiteHeldBitmap() const { return getSkinBitmap(kKeysWhiteHeldBitmap, sizeIndex); }

CBitmap* ADEditor::getKeysBlackHeldBitmap() const { return getSkinBitmap(kKeysBlackHeldBitmap, sizeIndex); }

CBitmap* ADEditor::getWheelBitmap() const { return getSkinBitmap(kWheelBitmap, sizeIndex); }

void ADEditor::queueGuiMidiEvent(uint8_t status, uint8_t data1, uint8_t data2, uint8_t data3) {
    if (synth != nullptr) synth->queueGuiMidiEvent(status, data1, data2, data3);
}

int32_t ADEditor::getVoiceMode() const { return synth != nullptr ? peekField(synth->getEngine().voiceMode) : 0; }

int32_t ADEditor::getVoiceCount() const { return synth != nullptr ? peekField(synth->getEngine().voiceCount) : 0; }

void ADEditor::onMouseWheel(intptr_t position, float distance) {
    if (frame == nullptr || !isOpen()) return;
    // Screen coordinates are signed: a screen left of or above the primary one gives negatives.
    const int32_t x = static_cast<int16_t>(static_cast<uint16_t>(position & 0xFFFF));
    const int32_t y = static_cast<int16_t>(static_cast<uint16_t>((position >> 16) & 0xFFFF));
    RECT window{};
    GetWindowRect(static_cast<HWND>(systemWindow), &window);
    const CPoint where(x - window.left, y - window.top);
    frame->platformOnMouseWheel(where, kMouseWheelAxisX, distance, CButtonState(0));
}
