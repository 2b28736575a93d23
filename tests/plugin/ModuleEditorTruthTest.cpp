// Quilm.so's editor shows what plays. Each row brings values to the plug-in one way and
// compares the editor's picture with that of a fresh plug-in whose open editor the host
// gave the same values; switches and choices set between their positions must draw the
// position that the engine plays. On an X server of the test's own (XTEST moves its
// pointer), at Medium and Large.
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "ModuleHost.h"
#include "plugin/UISizeSetting.h"
#include "plugin/vst/ERect.h"

// After the test framework, whose templates X11's macros would break.
#include "PrivateXServer.h"
#include "tests/common/CountingXErrorHandler.h"
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using namespace std::chrono_literals;
using Picture = std::vector<unsigned long>;

// The editor's master layout is 3000 pixels wide; every size scales it. Menu rows are 20 pixels.
constexpr double kMasterWidth = 3000;
constexpr int kMenuRow = 20, kSkinEntry = 3, kReferenceLeft = 1550;
struct Rect {
    double left, top, right, bottom;
};
constexpr Rect kCutoffKnob{216, 900, 372, 1056}, kResoKnob{372, 900, 528, 1056}, kOptionsButton{2760, 1320, 2892, 1404};
struct Switch {
    int32_t param, positions;
    Rect rect;
};
constexpr Switch kSwitches[] = {
    {kParamLfoSync, 2, {2100, 48, 2256, 96}},         {kParamPercEnv, 2, {2436, 1116, 2700, 1164}},
    {kParamChorusSync, 2, {2100, 840, 2256, 888}},    {kParamFltInvert, 2, {1320, 840, 1452, 888}},
    {kParamSharedFilter, 2, {2436, 1164, 2700, 1212}}, {kParamVoiceMode, 3, {2436, 1272, 2640, 1416}},
    {kParamFltType, 4, {228, 1140, 348, 1332}}};

// The position a switch must draw for v: the one the engine plays (on: the shared filter).
int32_t playedPosition(Dravenor& e, int32_t param, float v) {
    e.setParameter(param, v);
    switch (param) {
        case kParamLfoSync: return e.lfoSync;
        case kParamPercEnv: return e.percEnv;
        case kParamChorusSync: return e.chorusSync;
        case kParamFltInvert: return e.filterInvert != 0 ? 1 : 0;
        case kParamSharedFilter: return e.perVoiceFilter == 0 ? 1 : 0;
        case kParamVoiceMode: return e.voiceMode;
        default: return std::min(e.filterType, 3);  // types 3 and 4 are both the notch
    }
}

// The test's X server for the whole program, wide enough for two Large editors side by
// side: the plug-in keeps a connection of its own to the display it first moved a window on.
PrivateXServer& testServer() {
    static PrivateXServer server(24, 3100, 1100);
    return server;
}

// Moves the pointer to (x, y) on the screen, then presses or releases the left button if asked.
void pointer(Display* d, int x, int y, std::optional<bool> press = {}) {
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    if (press) XTestFakeButtonEvent(d, 1, *press ? True : False, CurrentTime);
    XSync(d, False);
}

// The viewable top-level windows.
std::vector<Window> shownWindows(Display* d) {
    std::vector<Window> shown;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) shown.push_back(children[i]);
    }
    if (children != nullptr) XFree(children);
    return shown;
}

// The screen rectangle of a window shown that is not in known, which it joins (10 s at most).
XWindowAttributes newWindow(Display* d, std::vector<Window>& known) {
    XWindowAttributes a{};
    for (int tries = 0; tries < 1000; ++tries, std::this_thread::sleep_for(10ms)) {
        for (Window w : shownWindows(d)) {
            if (std::find(known.begin(), known.end(), w) != known.end()) continue;
            known.push_back(w);
            XGetWindowAttributes(d, w, &a);
            return a;
        }
    }
    return a;
}

// One plug-in loaded from Quilm.so, with its editor in a host window whose left edge is at x.
class HostedEditor {
public:
    explicit HostedEditor(Display* d, int x = 0) : display(d), left(x) {
        host.settings.blockSize = kBlock;
        std::string error;
        EXPECT_TRUE(host.load(quilmModulePath(), error)) << error;
        host.start();
    }
    ~HostedEditor() { close(); }

    void open() {
        ERect* r = nullptr;
        host.dispatch(effEditGetRect, 0, 0, &r);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), left, 0,
                                     static_cast<unsigned>(r->right - r->left), static_cast<unsigned>(r->bottom - r->top),
                                     0, 0, 0);
        XMapRaised(display, window);
        XSync(display, False);
        EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window))), 1);
        idle();
    }
    void close() {
        if (window == 0) return;
        host.dispatch(effEditClose);
        XDestroyWindow(display, window);
        XSync(display, False);
        window = 0;
    }
    void idle(int steps = 3) {
        for (int i = 0; i < steps; ++i, std::this_thread::sleep_for(2ms)) {
            host.dispatch(effEditIdle);
            XSync(display, False);
        }
    }
    // The plug-in's own window inside the host's, and its width.
    Window editorWindow() const {
        Window root = 0, parent = 0, *children = nullptr, last = 0;
        unsigned count = 0;
        XQueryTree(display, window, &root, &parent, &children, &count);
        if (count > 0) last = children[count - 1];
        if (children != nullptr) XFree(children);
        return last;
    }
    int width() const {
        XWindowAttributes a{};
        XGetWindowAttributes(display, editorWindow(), &a);
        return a.width;
    }
    // The pixels of a rectangle of the master layout; all of the editor without one.
    Picture picture(std::optional<Rect> r = {}) const {
        const int w = width();
        const double scale = w / kMasterWidth;
        const Rect all{0, 0, kMasterWidth, std::floor(kMasterWidth * 2 / 3)};
        const Rect& m = r ? *r : all;
        const int x = static_cast<int>(m.left * scale), y = static_cast<int>(m.top * scale);
        const int pw = static_cast<int>(m.right * scale) - x, ph = static_cast<int>(m.bottom * scale) - y;
        Picture pixels;
        XImage* image = XGetImage(display, editorWindow(), x, y, static_cast<unsigned>(pw), static_cast<unsigned>(ph),
                                  AllPlanes, ZPixmap);
        for (int j = 0; image != nullptr && j < ph; ++j)
            for (int i = 0; i < pw; ++i) pixels.push_back(XGetPixel(image, i, j));
        if (image != nullptr) XDestroyImage(image);
        return pixels;
    }
    // The screen point at the centre of a rectangle of the master layout.
    std::pair<int, int> centre(const Rect& r) const {
        const double scale = width() / kMasterWidth;
        return {left + static_cast<int>((r.left + r.right) / 2 * scale), static_cast<int>((r.top + r.bottom) / 2 * scale)};
    }
    // Presses on a control of the master layout, moves up by pixels and lets go.
    void drag(const Rect& r, int pixels) {
        const auto [x, y] = centre(r);
        pointer(display, x, y, true);
        for (int dy = 4; dy <= pixels; dy += 4, idle(1)) pointer(display, x, y - dy);
        pointer(display, x, y - pixels, false);
        idle(1);
    }
    // Chooses a size from the options menu's Skin submenu. The click opens the menu inside
    // the idle step, which returns once a helper connection has pointed at "Skin" and
    // clicked the size in the submenu; the size change takes the next idle steps.
    void chooseSkin(int size) {
        std::vector<Window> known = shownWindows(display);
        std::thread helper([&known, size] {
            Display* d = XOpenDisplay(testServer().name().c_str());
            const XWindowAttributes menu = newWindow(d, known);
            pointer(d, menu.x + menu.width / 2, menu.y + kSkinEntry * kMenuRow + kMenuRow / 2);
            const XWindowAttributes sizes = newWindow(d, known);
            const int x = sizes.x + sizes.width / 2, y = sizes.y + size * kMenuRow + kMenuRow / 2;
            pointer(d, x, y, true);
            pointer(d, x, y, false);
            // A menu still open after a second (nothing chosen) is closed, so that the idle step returns.
            for (int tries = 0; tries < 100 && shownWindows(d).size() > known.size() - 2; ++tries)
                std::this_thread::sleep_for(10ms);
            if (shownWindows(d).size() > known.size() - 2) {
                const KeyCode escape = XKeysymToKeycode(d, XK_Escape);
                XTestFakeKeyEvent(d, escape, True, CurrentTime);
                XTestFakeKeyEvent(d, escape, False, CurrentTime);
            }
            XCloseDisplay(d);
        });
        const auto [x, y] = centre(kOptionsButton);
        pointer(display, x, y, true);
        pointer(display, x, y, false);
        idle(1);  // opens the menu and returns once it is closed
        helper.join();
        idle(5);
    }
    std::vector<float> values() {
        std::vector<float> v;
        for (int32_t i = 0; i < kNumParams; ++i) v.push_back(host.getParameter(i));
        return v;
    }
    void setValues(const std::vector<float>& v) {
        for (int32_t i = 0; i < kNumParams; ++i) host.setParameter(i, v[i]);
    }

    PluginHost host;
    Display* display;
    int left;
    Window window = 0;
};

// Polls until cond holds: the plug-in draws on a connection of its own, so the test's may
// read the screen a moment before a drawing arrives.
bool soon(HostedEditor& editor, const std::function<bool()>& cond) {
    for (int tries = 0; tries < 40; ++tries, editor.idle(1), std::this_thread::sleep_for(5ms))
        if (cond()) return true;
    return false;
}

class EditorTruth : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const char* old = std::getenv("DISPLAY");
        oldDisplay = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        if (testServer().display() == nullptr) GTEST_SKIP() << "no Xvfb";
        setenv("DISPLAY", testServer().name().c_str(), 1);  // the plug-in connects to this screen
        writeUISizeSetting(static_cast<uint8_t>(GetParam()));
        // A window that the plug-in has just destroyed may still be listed to the test's
        // connection: asking after it fails, which must not end the program.
        errors = std::make_unique<CountingXErrorHandler>(display);
        keeper = std::make_unique<HostedEditor>(display);  // keeps the skin's pictures between rows
    }
    void TearDown() override {
        keeper.reset();
        errors.reset();
        oldDisplay ? setenv("DISPLAY", oldDisplay->c_str(), 1) : unsetenv("DISPLAY");
    }

    ScopedSettingsFolder settings;
    std::optional<std::string> oldDisplay;
    Display* display = testServer().display();
    std::unique_ptr<CountingXErrorHandler> errors;
    std::unique_ptr<HostedEditor> keeper;
};

TEST_P(EditorTruth, ShowsWhatPlaysHoweverTheValuesCame) {
    // A song: every parameter away from program 0, the switches and choices between their
    // positions (each plays position 0), Osc1 at wave 14 and Flt-Cut at 0.632.
    std::vector<float> song;
    for (int32_t i = 0; i < kNumParams; ++i) song.push_back(static_cast<float>(std::fmod(0.37 + i * 0.618034, 1.0)));
    song[kParamOsc1Wave] = 14.0f / 39.0f, song[kParamFltCutoff] = 0.632f, song[kParamOscRouting] = 1.0f;
    song[kParamLfoSync] = song[kParamPercEnv] = song[kParamChorusSync] = song[kParamVoiceMode] = 0.3f;
    song[kParamFltInvert] = 0.5f, song[kParamSharedFilter] = 0.05f, song[kParamFltType] = 0.2f;
    const std::pair<const char*, std::function<void(HostedEditor&)>> rows[] = {  // each ends with the editor open
        {"set by the host before the editor opens", [&](HostedEditor& e) { e.setValues(song); }},
        {"set while open, queued, closed, set again and reopened", [&](HostedEditor& e) {
             e.open();
             e.setValues(song);
             e.idle();
             e.host.setParameter(kParamFltCutoff, 0.2f);  // queued for an idle step that never comes
             e.host.setParameter(kParamVoiceMode, 1.0f);
             e.close();
             e.host.setParameter(kParamFltCutoff, 0.8f);
             e.host.setParameter(kParamVoiceMode, 0.4f);
         }},
        {"program chosen and edited while closed", [&](HostedEditor& e) {
             e.host.dispatch(effSetProgram, 0, 5);
             e.host.setParameter(kParamFltCutoff, 0.25f);
             e.host.setParameter(kParamOsc2Wave, 0.5f);
         }},
        {"mapped MIDI controllers played while closed", [&](HostedEditor& e) {
             // Controller = parameter + 16 (the modulation wheel: 1), value = data / 127.
             std::vector<VstMidiEvent> events;
             for (auto [controller, data] : {std::pair{1, 100}, {32, 20}, {43, 40}, {48, 40}, {49, 25}, {78, 10}})
                 events.push_back(midiEvent(0, 0xB0, static_cast<uint8_t>(controller), static_cast<uint8_t>(data)));
             e.host.sendEvents(events.data(), static_cast<int32_t>(events.size()));
             e.host.process(kBlock);
         }},
        {"knobs turned in the editor, then another size from the Skin menu", [&](HostedEditor& e) {
             e.open();
             e.drag(kCutoffKnob, 40);
             e.drag(kResoKnob, 60);
             e.chooseSkin(3 - GetParam());  // Medium <-> Large
             EXPECT_TRUE(soon(e, [&] { return e.width() == (GetParam() == 1 ? 1500 : 1000); })) << "the size changed";
             EXPECT_NE(e.values(), keeper->values()) << "the knobs moved";
         }},
    };
    for (const auto& [name, bring] : rows) {
        SCOPED_TRACE(name);
        writeUISizeSetting(static_cast<uint8_t>(GetParam()));
        HostedEditor subject(display);
        bring(subject);
        if (subject.window == 0) subject.open();
        subject.idle(5);
        HostedEditor reference(display, kReferenceLeft);  // opens at the size the subject has now
        reference.open();
        reference.host.dispatch(effSetProgram, 0, subject.host.dispatch(effGetProgram));
        reference.idle();
        reference.setValues(subject.values());
        reference.idle(5);
        Picture shown, expected;
        const bool same = soon(subject, [&] { return (shown = subject.picture()) == (expected = reference.picture()); });
        size_t differing = 0;
        for (size_t i = 0; i < shown.size() && i < expected.size(); ++i) differing += shown[i] != expected[i];
        EXPECT_TRUE(same) << differing << " pixels differ from those of the same values set while open";
    }
}

TEST_P(EditorTruth, SwitchesDrawThePositionThatPlays) {
    HostedEditor editor(display);
    editor.open();
    // Each switch's picture at each position, at the value the control itself gives it.
    std::map<std::pair<int32_t, int32_t>, Picture> drawn;
    for (int32_t p = 0; p < 4; ++p) {
        for (const Switch& s : kSwitches)
            if (p < s.positions) editor.host.setParameter(s.param, static_cast<float>(p) / (s.positions - 1));
        editor.idle();
        for (const Switch& s : kSwitches)
            if (p < s.positions) drawn[{s.param, p}] = editor.picture(s.rect);
    }
    for (const Switch& s : kSwitches) EXPECT_NE(drawn[std::pair(s.param, 0)], drawn[std::pair(s.param, 1)]) << s.param;
    // The values, k/512, the controllers' k/127, each step's boundary and one float either side.
    std::vector<std::vector<float>> sweep{{0.3f, 0.3f, 0.3f, 0.5f, 0.05f, 0.3f, 0.2f}};
    const auto all = [&](float v) { sweep.emplace_back(std::size(kSwitches), v); };
    for (int k = 0; k <= 512; ++k) all(static_cast<float>(k) / 512.0f);
    for (int k = 0; k <= 127; ++k) all(static_cast<float>(k / 127.0));
    for (float b : {0.5f, 0.1f, 5.0f / 6.0f, 1 / 2.01f, 2 / 2.01f, 1 / 4.01f, 2 / 4.01f, 3 / 4.01f, 4 / 4.01f})
        for (float v : {std::nextafter(b, 0.0f), b, std::nextafter(b, 1.0f)}) all(v);
    auto engine = std::make_unique<Dravenor>();
    for (const std::vector<float>& values : sweep) {
        std::vector<int32_t> plays;
        for (size_t i = 0; i < std::size(kSwitches); ++i) {
            editor.host.setParameter(kSwitches[i].param, values[i]);
            plays.push_back(playedPosition(*engine, kSwitches[i].param, values[i]));
        }
        editor.idle(1);
        size_t i = 0;
        const bool right = soon(editor, [&] {
            for (i = 0; i < std::size(kSwitches); ++i)
                if (editor.picture(kSwitches[i].rect) != drawn[{kSwitches[i].param, plays[i]}]) return false;
            return true;
        });
        if (!right) {
            ADD_FAILURE() << "parameter " << kSwitches[i].param << " at " << values[i] << " does not draw position "
                          << plays[i] << ", which plays";
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EditorTruth, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Medium" : "Large"; });

}  // namespace
