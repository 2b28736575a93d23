#pragma once
// ADEditor: the instrument's editor window on the GUI library's plug-in editor.
// The plug-in makes one at the end of its construction and keeps it for its life;
// the host opens and closes the window (effEditOpen / effEditClose), runs its idle
// step (effEditIdle) and asks for its size (effEditGetRect). Between open and close
// it owns a frame in the host's window, a frame mouse observer, the value read-out
// and one control per entry of paramControlTable.
//
// Threads: everything runs on the host's UI thread except setKeyDisplay and
// flushKeyDisplay (audio thread, only while open), requestProgramRefresh (any
// thread) and isOpen (any thread). The audio thread writes only atomic flags;
// the idle step turns them into redraws.

#include <atomic>
#include <cstdint>

#include "controls/IKeyboardNoteSink.h"
#include "controls/IKeyboardState.h"
#include "controls/IValueTextFormatter.h"
#include "controls/IWheelPictureSource.h"
#include "editor/EditorLayout.h"
#include "engine/ParamControlTable.h"
#include "plugin/SynthEditor.h"
#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/plugin-bindings/plugguieditor.h"

class VstXSynth;
class Dravenor;
class EditorSizeMenuHook;
struct ProgramRecord;

namespace VSTGUI {
class COptionMenu;
class CControl;
class ZelCFrameMuseObserver;
class ZelCParamDisplay;
}  // namespace VSTGUI

// The maker's web site (host name without scheme), opened by the logo link.
inline constexpr const char* kMakerWebAddress = "corvane-audio.example/";

class ADEditor : public VSTGUI::PluginGUIEditor,
                 public VSTGUI::IControlListener,
                 public SynthEditor,
                 public IKeyboardNoteSink,
                 public IKeyboardState,
                 public IValueTextFormatter,
                 public IWheelPictureSource {
public:
    // Takes a reference on the skin set and sets the window size of the stored size from
    // the background's header, so that the host can ask for it at once; nothing is
    // decoded before the editor opens. synth may be null. UI thread.
    explicit ADEditor(VstXSynth* synth);
    // Releases the options submenus and gives the skin reference back (the last one frees the
    // pictures). Does not close. UI thread.
    ~ADEditor() noexcept override;
    ADEditor(const ADEditor&) = delete;
    ADEditor& operator=(const ADEditor&) = delete;

    // Makes an editor for the plug-in's construction (the plug-in's EditorFactory). UI thread.
    static AEffEditor* make(VstXSynth& synth);

    // --- host calls (UI thread) ---
    // Builds frame, observer, read-out and controls in the parent window (an X11 window
    // id); false without a plug-in or when the window cannot be made (nothing is left).
    bool open(void* parent) override;
    // Tears everything down; nothing when closed.
    void close() override;
    // One idle step: program refresh, size change, or parameter feedback and redraw.
    void idle() override;
    // True between a successful open and the next close. Any thread.
    bool isOpen() const override { return openFlag.load(std::memory_order_acquire) != 0; }

    // --- parameter feedback (UI thread) ---
    // Shows a value on its control without notifying back; nothing while closed. Non-finite
    // values are ignored; a switch, a wave and the options submenus show what the engine plays.
    void setParameter(int32_t index, float value) override;
    // A control changed: the parameter, program, wave step or size it stands for.
    void valueChanged(VSTGUI::CControl* control) override;
    // The plug-in's begin/end of a host gesture (audioMasterBeginEdit / EndEdit). They hide the
    // library's gesture hooks on purpose: those stay silent, so the host hears of no gesture from a control.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
    void beginEdit(int32_t index);
    void endEdit(int32_t index);
#pragma GCC diagnostic pop

    // --- menus and sizes (UI thread) ---
    // Refills the program menu with the 128 names and checks the current program.
    void fillProgramMenu();
    // Makes the four submenus at the first open, empties and refills them at each later one,
    // and hangs them into the new options menu.
    void buildOptionsMenu(VSTGUI::COptionMenu* menu);
    // Requests size i (0..3): stored in the plug-in, saved as "uisize", carried out by
    // the next idle step. Nothing while closed, while a change waits, or for the stored size.
    void setUISize(int32_t size);
    // Editor-level right click: the size menu. kMouseEventNotImplemented for other clicks.
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
    // Keys are not used by the editor.
    bool onKeyDown(VstKeyCode&) override { return false; }
    bool onKeyUp(VstKeyCode&) override { return false; }

    // --- SynthEditor ---
    // Lights or clears the key of note 24..83 (others ignored). Audio thread, while open.
    void setKeyDisplay(int32_t note, bool on) override;
    // Marks the keyboard for a redraw at the next idle step when a key changed. Audio thread.
    void flushKeyDisplay() override;
    // The program changed: the next idle step refreshes the menu. Any thread.
    void requestProgramRefresh() override { programRefreshPending.store(1, std::memory_order_release); }
    // The own host's mouse wheel at a screen position (x bits 0..15, y 16..31, signed). UI thread.
    void onMouseWheel(intptr_t position, float distance) override;

    // --- IKeyboardNoteSink (UI thread) ---
    void queueGuiMidiEvent(uint8_t status, uint8_t data1, uint8_t data2, uint8_t data3) override;
    int32_t getVoiceMode() const override;
    int32_t getVoiceCount() const override;
    // --- IKeyboardState (UI thread) ---
    const KeyboardGeometry& getKeyboardGeometry() const override { return keyboardGeometry(); }
    bool isKeyHeld(int32_t keyIndex) const override;
    void setKeyHeld(int32_t keyIndex, bool held) override;
    VSTGUI::CBitmap* getKeysWhiteHeldBitmap() const override;
    VSTGUI::CBitmap* getKeysBlackHeldBitmap() const override;
    // --- IValueTextFormatter (UI thread) ---
    void formatValue(int32_t tag, float value, CFixedString& text) override;
    // --- IWheelPictureSource (UI thread) ---
    VSTGUI::CBitmap* getWheelBitmap() const override;

    // --- state, for the plug-in wiring and tests ---
    VstXSynth* getSynth() const { return synth; }
    int32_t getSizeIndex() const { return sizeIndex; }
    bool isResizePending() const { return resizePending != 0; }
    bool isResizing() const { return resizing != 0; }
    bool isProgramRefreshPending() const { return programRefreshPending.load(std::memory_order_acquire) != 0; }
    int32_t getCurrentProgram() const { return currentProgram; }
    // The control of a tag (null where there is none or while closed). UI thread.
    VSTGUI::CControl* getControl(int32_t tag) const;
    VSTGUI::COptionMenu* getPitchBendMenu() const { return pitchBendMenu; }
    VSTGUI::COptionMenu* getPolyphonyMenu() const { return polyphonyMenu; }
    VSTGUI::COptionMenu* getGlideTypeMenu() const { return glideTypeMenu; }
    VSTGUI::COptionMenu* getSkinMenu() const { return skinMenu; }
    VSTGUI::ZelCParamDisplay* getReadout() const { return paramReadout; }
    VSTGUI::ZelCFrameMuseObserver* getMouseObserver() const { return mouseObserver; }
    const ERect& getEditorRect() const { return rect; }
    // Window back end of later opens (tests open headless frames). UI thread.
    void setFramePlatform(VSTGUI::PlatformType type) { framePlatform = type; }
    // The pause of a size change in ms (200; tests shorten it). UI thread.
    void setResizePause(uint32_t milliseconds) { resizePauseMs = milliseconds; }

private:
    // Idle branches.
    void refreshProgram();
    void changeSize();
    void drainParameterChanges();
    // Layout and construction (ADEditorControls.cpp).
    void createReadout();
    void createControls();
    VSTGUI::CControl* createControl(int32_t tag);
    // Shows every live value 0..81 (at open, and again after lost changes).
    void showLiveValues();
    // Drops the changes queued for the editor so far (they are older than the live values).
    void discardQueuedChanges();
    void releaseSubmenus();
    void invalidateFrame();
    Dravenor* engine() const;

    VstXSynth* synth;
    // The options submenus: made by the first open, refilled by each later one, released
    // with the editor (a reference of their own; the open options menu holds another).
    VSTGUI::COptionMenu* pitchBendMenu = nullptr;
    VSTGUI::COptionMenu* polyphonyMenu = nullptr;
    VSTGUI::COptionMenu* glideTypeMenu = nullptr;
    VSTGUI::COptionMenu* skinMenu = nullptr;
    std::atomic<uint8_t> keyHeld[kKeyboardKeys]{};  // written by the audio thread too
    int32_t sizeIndex = kDefaultUISize;
    uint8_t resizePending = 0;
    uint8_t resizing = 0;
    std::atomic<uint8_t> keyboardDirty{0};          // a key flag changed (audio thread)
    std::atomic<uint8_t> keyboardRedraw{0};         // the keyboard needs drawing (idle step)
    VSTGUI::CControl* controls[kNumControls]{};      // non-owning; the frame owns the views
    VSTGUI::ZelCFrameMuseObserver* mouseObserver = nullptr;
    EditorSizeMenuHook* sizeMenuHook = nullptr;     // the right click on the background; open to close
    VSTGUI::ZelCParamDisplay* paramReadout = nullptr;
    std::atomic<uint8_t> programRefreshPending{0};
    int32_t currentProgram = -1;
    std::atomic<uint8_t> openFlag{0};
    VSTGUI::PlatformType framePlatform = VSTGUI::PlatformType::kDefaultNative;
    uint32_t resizePauseMs = 200;
};

// Opens https:// followed by the address in the default browser. UI thread.
void openWebAddress(const CFixedString& address);
