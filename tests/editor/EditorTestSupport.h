#pragma once
// Support for driving the real editor headless: a plug-in object made with the
// editor factory (as the module does), a host callback that records what it is
// asked, an own settings folder for the registry stand-in, fake window calls,
// a recording shell launcher and the names of the cases run at every size.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "editor/ADEditor.h"
#include "tests/common/ScopedSettingsFolder.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"
#include "plugin/UISizeSetting.h"
#include "plugin/VstXSynth.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/coptionmenu.h"
#include "vstgui/lib/platform/headless/headlessoptionmenu.h"

// Name of editor size 0..3, for the cases run at every size.
inline std::string sizeName(int size) {
    static const char* const names[] = {"Small", "Medium", "Large", "Huge"};
    return size >= 0 && size < 4 ? names[size] : "Size" + std::to_string(size);
}

// Names a case after its editor size: the parameter itself, or its `size` field.
struct SizeCaseName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        if constexpr (std::is_integral_v<Param>) {
            return sizeName(info.param);
        } else {
            return sizeName(info.param.size);
        }
    }
};

// What the host was asked.
struct RecordingHost {
    std::string vendor = "Test Host";
    std::vector<int32_t> opcodes;
    std::vector<std::pair<int32_t, intptr_t>> arguments;  // (index, value) per call

    static RecordingHost& current() {
        static RecordingHost host;
        return host;
    }
    static intptr_t callback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float) {
        RecordingHost& host = current();
        host.opcodes.push_back(opcode);
        host.arguments.emplace_back(index, value);
        switch (opcode) {
            case audioMasterVersion: return 2400;
            case audioMasterGetVendorString:
                std::strncpy(static_cast<char*>(ptr), host.vendor.c_str(), 63);
                return 1;
            default: return 0;
        }
    }
    int32_t count(int32_t opcode) const {
        int32_t n = 0;
        for (int32_t op : opcodes) n += op == opcode ? 1 : 0;
        return n;
    }
    // Arguments of the last call with the opcode; (-1, -1) when none.
    std::pair<int32_t, intptr_t> last(int32_t opcode) const {
        for (size_t i = opcodes.size(); i-- > 0;)
            if (opcodes[i] == opcode) return arguments[i];
        return {-1, -1};
    }
};

// Window calls of a size change and the wheel: a parent window with a rectangle.
struct FakeWindows : WindowSystem {
    RECT window{0, 0, 1000, 672};
    bool readable = true;
    std::vector<std::vector<int>> positions;  // x, y, width, height, flags, insertAfter != null
    WindowSystem* previous = nullptr;

    FakeWindows() { previous = setWindowSystem(this); }
    ~FakeWindows() override { setWindowSystem(previous); }
    BOOL getWindowRect(HWND, RECT* rect) override {
        if (!readable) return FALSE;
        *rect = window;
        return TRUE;
    }
    BOOL setWindowPos(HWND, HWND insertAfter, int x, int y, int width, int height, UINT flags) override {
        positions.push_back({x, y, width, height, static_cast<int>(flags), insertAfter != nullptr ? 1 : 0});
        return TRUE;
    }
};

// Records what the shell was asked to start.
struct RecordingLauncher {
    std::vector<std::pair<std::string, std::string>> launched;
    void* previousContext = nullptr;
    ShellLauncher previous = nullptr;

    RecordingLauncher() { previous = setShellLauncher(&launch, this, &previousContext); }
    ~RecordingLauncher() { setShellLauncher(previous, previousContext); }
    static bool launch(void* context, const char* program, const char* argument) {
        static_cast<RecordingLauncher*>(context)->launched.emplace_back(program, argument != nullptr ? argument : "");
        return true;
    }
};

// A fake parent window handle for headless frames.
inline void* fakeParent() { return reinterpret_cast<void*>(static_cast<uintptr_t>(0x4a11)); }

// Scripts every headless popup: choose index in the submenu titled (or the root for "").
inline void scriptMenuChoice(const std::string& submenuTitle, int32_t index) {
    VSTGUI::HeadlessOptionMenu::setScript([submenuTitle, index](VSTGUI::COptionMenu* root) {
        if (submenuTitle.empty()) return VSTGUI::PlatformOptionMenuResult{root, index};
        for (int32_t i = 0; i < root->getNbEntries(); ++i) {
            VSTGUI::CMenuItem* item = root->getEntry(i);
            if (item != nullptr && item->getSubmenu() != nullptr && submenuTitle == item->getTitle())
                return VSTGUI::PlatformOptionMenuResult{item->getSubmenu(), index};
        }
        return VSTGUI::PlatformOptionMenuResult{nullptr, -1};
    });
}

// A host's audio thread, which renders a block of 64 frames each time it is asked and idles
// in between: the plug-in takes it as the thread that renders, so that values set from any
// other thread wait for its next block.
class AudioThread {
public:
    explicit AudioThread(VstXSynth& synth) : synth(synth), thread([this] { run(); }) {}
    ~AudioThread() {
        asked.store(-1);
        thread.join();
    }
    // Renders one block on the audio thread and returns when it is done. Test thread.
    void block() {
        const int n = asked.fetch_add(1) + 1;
        while (done.load() < n) std::this_thread::yield();
    }

private:
    void run() {
        float left[64], right[64];
        float* outs[2] = {left, right};
        for (int rendered = 0;;) {
            const int n = asked.load();
            if (n < 0) return;
            if (n == rendered) {
                std::this_thread::yield();
                continue;
            }
            synth.processReplacing(nullptr, outs, 64);
            done.store(++rendered);
        }
    }

    VstXSynth& synth;
    std::atomic<int> asked{0}, done{0};
    std::thread thread;
};

// The plug-in made as the module makes it, with the editor opened headless.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::current() = RecordingHost{};
        VSTGUI::HeadlessOptionMenu::setScript(nullptr);
    }
    void TearDown() override {
        VSTGUI::HeadlessOptionMenu::setScript(nullptr);
        destroy();
    }

    // Makes the plug-in with the stored size and opens its editor headless.
    void make(uint8_t storedSize = 1, bool openIt = true) {
        writeUISizeSetting(storedSize);
        synth = new VstXSynth(&RecordingHost::callback, &ADEditor::make);
        editor = dynamic_cast<ADEditor*>(synth->getEditor());
        ASSERT_NE(editor, nullptr);
        editor->setFramePlatform(VSTGUI::PlatformType::kHeadless);
        editor->setResizePause(0);
        if (openIt) {
            ASSERT_TRUE(editor->open(fakeParent()));
        }
    }
    void destroy() {
        if (synth != nullptr) {
            AEffect* e = synth->getAeffect();
            e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);  // deletes the plug-in and the editor
            synth = nullptr;
            editor = nullptr;
        }
    }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0) {
        AEffect* e = synth->getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
    VSTGUI::CControl* control(int32_t tag) const { return editor->getControl(tag); }
    VSTGUI::CFrame* frame() const { return editor->getFrame(); }
    // Runs n idle steps.
    void idle(int n = 1) {
        for (int i = 0; i < n; ++i) editor->idle();
    }
    float live(int32_t index) const { return synth->getEngine().values[index]; }
    // Centre of a control in frame coordinates.
    VSTGUI::CPoint centreOf(int32_t tag) const {
        const VSTGUI::CRect r = control(tag)->getViewSize();
        return VSTGUI::CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void click(VSTGUI::CPoint where, int32_t buttons = VSTGUI::kLButton) {
        frame()->platformOnMouseDown(where, VSTGUI::CButtonState(buttons));
        frame()->platformOnMouseUp(where, VSTGUI::CButtonState(buttons));
    }

    ScopedSettingsFolder settings;
    VstXSynth* synth = nullptr;
    ADEditor* editor = nullptr;
};
