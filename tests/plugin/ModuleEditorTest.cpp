// Quilm.so's editor in a real X11 window, as a host shows it: notes that the host plays
// through processReplacing light their keys on the on-screen keyboard at the next idle
// and put them out again, read back from the window. Skips without an X display.
#include <chrono>
#include <functional>
#include <thread>

#include "ModuleHost.h"
#include "plugin/vst/ERect.h"

// After the test framework, whose templates X11's macros would break.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/common/CountingXErrorHandler.h"

namespace {

// The keyboard in the editor's master layout of 3000 pixels' width; every size scales it.
constexpr double kMasterWidth = 3000, kKeysLeft = 372, kKeysTop = 1620, kOctave = 504;
// Lower parts of the C and the D and the whole C# of an octave, master pixels.
struct MasterRect {
    double left, top, right, bottom;
};
constexpr MasterRect kLowerC{0, 230, 72, 368}, kLowerD{72, 230, 144, 368}, kBlackCSharp{44, 0, 84, 228};

// A host's window for the editor: shown above everything, unmanaged.
Window hostWindow(Display* display, int x, int y, int width, int height) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(display, window);
    XSync(display, False);
    return window;
}

class ModuleEditor : public ModuleTest {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "no X display";
        ModuleTest::SetUp();
        ERect* rect = nullptr;
        ASSERT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
        width = rect->right - rect->left;
        const int height = rect->bottom - rect->top, screen = DefaultScreen(display);
        const int x = DisplayWidth(display, screen) - width, y = DisplayHeight(display, screen) - height;
        if (x < 0 || y < 0) GTEST_SKIP() << "the screen is smaller than the editor";
        // In the screen's bottom-right corner, above everything and out of other tests' way.
        window = hostWindow(display, x, y, width, height);
        ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window))), 1);
    }
    void TearDown() override {
        if (window != 0) {
            host->dispatch(effEditClose);
            XDestroyWindow(display, window);
        }
        if (display != nullptr) XCloseDisplay(display);
    }

    // Lets the editor paint what is due (the window's first exposure included).
    void idle(int steps = 3) {
        for (int i = 0; i < steps; ++i) {
            host->dispatch(effEditIdle);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    // The window's pixels in a key's part of octave n, inset by 2 pixels against rounding.
    std::vector<unsigned long> capture(const MasterRect& part, int octave) {
        const double left = kKeysLeft + octave * kOctave;
        auto scaled = [this](double master) { return static_cast<int>(master * width / kMasterWidth); };
        const int x0 = scaled(left + part.left) + 2, x1 = scaled(left + part.right) - 2;
        const int y0 = scaled(kKeysTop + part.top) + 2, y1 = scaled(kKeysTop + part.bottom) - 2;
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(display, window, x0, y0, static_cast<unsigned>(x1 - x0),
                                  static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        for (int y = 0; y < y1 - y0; ++y)
            for (int x = 0; x < x1 - x0; ++x) pixels.push_back(XGetPixel(image, x, y));
        XDestroyImage(image);
        return pixels;
    }
    static double changed(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b) {
        size_t n = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
        return a.empty() ? 0.0 : static_cast<double>(n) / static_cast<double>(a.size());
    }

    Display* display = nullptr;
    Window window = 0;
    int width = 0;
};

TEST_F(ModuleEditor, KeysOfNotesTheHostPlaysLightAndGoOut) {
    idle(10);
    struct Key { MasterRect part; int octave; bool played; };
    const Key keys[] = {{kLowerC, 2, true}, {kBlackCSharp, 3, true}, {kLowerD, 2, false}};  // notes 48, 61, 50
    std::vector<std::vector<unsigned long>> before;
    for (const Key& k : keys) before.push_back(capture(k.part, k.octave));
    ASSERT_FALSE(before[0].empty());
    for (uint8_t status : {uint8_t{0x90}, uint8_t{0x80}}) {
        block({midiEvent(0, status, 48, 100), midiEvent(10, status, 61, 100)});
        idle();
        for (size_t i = 0; i < std::size(keys); ++i) {
            const double share = changed(before[i], capture(keys[i].part, keys[i].octave));
            if (status == 0x90 && keys[i].played)
                EXPECT_GT(share, 0.5) << "key " << i << " is not lit";
            else
                EXPECT_EQ(share, 0.0) << "key " << i << (status == 0x90 ? " lit without its note" : " still lit");
        }
    }
}

// A host may destroy its window before it closes the editor (a window manager's close
// button does): the server destroys the editor's window with it. Whatever the host asks
// next, no error of the plug-in's connections reaches the host's handler (Xlib's default
// one ends the process) and the handler stays the host's. Each case runs twice in one
// process, and the editor opens as usual afterwards.
class ModuleEditorParentLost : public ModuleTest {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) GTEST_SKIP() << "no X display";
        ModuleTest::SetUp();
        errors = std::make_unique<CountingXErrorHandler>(display);
    }
    void TearDown() override {
        if (display == nullptr) return;
        errors.reset();
        XCloseDisplay(display);
    }
    Window openInNewWindow() {
        const Window window = hostWindow(display, 0, 0, 1000, 672);
        EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window))), 1);
        return window;
    }
    void idle(int steps) {
        for (int i = 0; i < steps; ++i) {
            host->dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    Display* display = nullptr;
    std::unique_ptr<CountingXErrorHandler> errors;
};

TEST_F(ModuleEditorParentLost, HostCarriesOn) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"close at once", [] {}},
        {"idle", [this] { idle(5); }},
        {"keys drawn", [this] {
             for (uint8_t status : {uint8_t{0x90}, uint8_t{0x80}}) {
                 block({midiEvent(0, status, 48, 100), midiEvent(1, status, 52, 100), midiEvent(2, status, 55, 100)});
                 idle(3);
             }
         }},
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& [name, afterLoss] : cases) {
            const Window window = openInNewWindow();
            idle(3);
            XDestroyWindow(display, window);
            XSync(display, False);
            afterLoss();
            host->dispatch(effEditClose);
            EXPECT_EQ(CountingXErrorHandler::otherErrors, 0) << name;
        }
    }
    const Window window = openInNewWindow();
    idle(3);
    host->dispatch(effEditClose);
    XDestroyWindow(display, window);
    XSync(display, False);
    // The host's own errors still reach its handler, which is still in place.
    XMapWindow(display, window);
    XSync(display, False);
    EXPECT_EQ(CountingXErrorHandler::ownErrors, 1);
    EXPECT_EQ(CountingXErrorHandler::otherErrors, 0);
    EXPECT_TRUE(CountingXErrorHandler::installed());
}

}  // namespace
