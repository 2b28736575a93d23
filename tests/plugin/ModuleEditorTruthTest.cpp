// Quilm.so's editor shows what plays. Each row brings values to the plug-in one way and
// then compares the editor's picture with that of a fresh plug-in whose open editor the
// host gave the same values; the switches and choices, set between their positions,
// must draw the position that the engine plays. On an X server of the test's own, at
// Medium and Large.
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <thread>

#include "ModuleHost.h"
#include "plugin/UISizeSetting.h"
#include "plugin/vst/ERect.h"

// After the test framework, whose templates X11's macros would break.
#include "PrivateXServer.h"
#include <X11/Xutil.h>

namespace {

using namespace std::chrono_literals;
using Picture = std::vector<uint32_t>;

// Points and rectangles of the editor's master layout, 3000 pixels wide; every size scales it.
constexpr double kMasterWidth = 3000;
struct MasterPoint {
    double x, y;
};
constexpr MasterPoint kCutoffKnob{294, 978}, kResoKnob{450, 978}, kOptionsButton{2826, 1362};
constexpr int kMenuRow = 20, kSkinEntry = 3;  // menu rows are 20 pixels; "Skin" is the fourth option

struct Switch {
    int32_t param;
    double left, top, right, bottom;
    int32_t positions;
};
constexpr Switch kSwitches[] = {{kParamLfoSync, 2100, 48, 2256, 96, 2},       {kParamPercEnv, 2436, 1116, 2700, 1164, 2},
                                {kParamChorusSync, 2100, 840, 2256, 888, 2},  {kParamFltInvert, 1320, 840, 1452, 888, 2},
                                {kParamSharedFilter, 2436, 1164, 2700, 1212, 2}, {kParamVoiceMode, 2436, 1272, 2640, 1416, 3},
                                {kParamFltType, 228, 1140, 348, 1332, 4}};

// The position a switch must draw for v: what the engine plays (drawn on: the shared filter).
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

// The viewable top-level windows.
std::set<Window> shownWindows(Display* d) {
    std::set<Window> shown;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) != 0 && a.map_state == IsViewable) shown.insert(children[i]);
    }
    if (children != nullptr) XFree(children);
    return shown;
}

// A viewable top-level window that is not in before (10 s at most; 0 when none came).
Window newWindow(Display* d, const std::set<Window>& before) {
    for (int tries = 0; tries < 1000; ++tries) {
        for (Window w : shownWindows(d))
            if (before.count(w) == 0) return w;
        std::this_thread::sleep_for(10ms);
    }
    return 0;
}

// A left-button event for window w at (x, y) in it, as the server would deliver it; a
// second apart, so that no two presses make a double click.
void sendMouse(Display* d, Window w, int type, int x, int y) {
    static std::atomic<Time> time{0};
    XWindowAttributes a{};
    XGetWindowAttributes(d, w, &a);
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, a.root, x, y, &rootX, &rootY, &child);
    XEvent e{};
    XButtonEvent& b = e.xbutton;  // a motion event has the same fields up to the state
    b.type = type;
    b.send_event = True;
    b.display = d;
    b.window = w;
    b.root = a.root;
    b.time = time += 1000;
    b.x = x;
    b.y = y;
    b.x_root = rootX;
    b.y_root = rootY;
    b.state = type == ButtonPress ? 0 : Button1Mask;
    b.same_screen = True;
    if (type == MotionNotify) {
        e.xmotion.is_hint = NotifyNormal;
        e.xmotion.same_screen = True;
    } else {
        b.button = Button1;
    }
    XSendEvent(d, w, False, 0, &e);
    XSync(d, False);
}

// One plug-in loaded from Quilm.so, with its editor in a host window of the test's server
// whose left edge is at x.
class HostedEditor {
public:
    explicit HostedEditor(Display* display, int x = 0) : display_(display), x_(x) {
        host.settings.blockSize = kBlock;
        std::string error;
        EXPECT_TRUE(host.load(quilmModulePath(), error)) << error;
        host.start();
    }
    ~HostedEditor() { close(); }

    void open() {
        ERect* rect = nullptr;
        host.dispatch(effEditGetRect, 0, 0, &rect);
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), x_, 0,
                                      static_cast<unsigned>(rect->right - rect->left),
                                      static_cast<unsigned>(rect->bottom - rect->top), 0, 0, 0);
        XMapRaised(display_, window_);
        XSync(display_, False);
        EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window_))), 1);
        idle();
    }
    void close() {
        if (window_ == 0) return;
        host.dispatch(effEditClose);
        XDestroyWindow(display_, window_);
        XSync(display_, False);
        window_ = 0;
    }
    void idle(int steps = 3) {
        for (int i = 0; i < steps; ++i) {
            host.dispatch(effEditIdle);
            XSync(display_, False);
            std::this_thread::sleep_for(2ms);
        }
    }
    // The plug-in's own window inside the host's.
    Window editorWindow() const {
        Window root = 0, parent = 0, *children = nullptr, last = 0;
        unsigned count = 0;
        XQueryTree(display_, window_, &root, &parent, &children, &count);
        if (count > 0) last = children[count - 1];
        if (children != nullptr) XFree(children);
        return last;
    }
    int width() const {
        XWindowAttributes a{};
        XGetWindowAttributes(display_, editorWindow(), &a);
        return a.width;
    }
    // Pixels of a rectangle in master-layout units (all of the editor when right is 0).
    Picture picture(double left = 0, double top = 0, double right = 0, double bottom = 0) const {
        XWindowAttributes a{};
        XGetWindowAttributes(display_, editorWindow(), &a);
        const double scale = a.width / kMasterWidth;
        const int x = static_cast<int>(left * scale), y = static_cast<int>(top * scale);
        const int w = right > 0 ? static_cast<int>(right * scale) - x : a.width;
        const int h = right > 0 ? static_cast<int>(bottom * scale) - y : a.height;
        Picture pixels;
        XImage* image = XGetImage(display_, editorWindow(), x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                                  AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, i, j)));
        XDestroyImage(image);
        return pixels;
    }
    void mouse(int type, MasterPoint p, int dy = 0) {
        const double scale = width() / kMasterWidth;
        sendMouse(display_, editorWindow(), type, static_cast<int>(p.x * scale), static_cast<int>(p.y * scale) + dy);
        idle(1);
    }
    void dragKnob(MasterPoint knob, int pixels) {
        mouse(ButtonPress, knob);
        for (int dy = 4; dy <= pixels; dy += 4) mouse(MotionNotify, knob, -dy);
        mouse(ButtonRelease, knob, -pixels);
    }
    // Chooses a size from the options menu's Skin submenu: the click opens the menu inside
    // the idle step, which returns once a helper connection has pointed at "Skin" and
    // clicked the size in the submenu.
    void chooseSkin(const std::string& displayName, int size) {
        const std::set<Window> before = shownWindows(display_);
        std::thread helper([&displayName, &before, size] {
            Display* d = XOpenDisplay(displayName.c_str());
            XWindowAttributes menu{}, submenu{};
            const Window options = newWindow(d, before);
            XGetWindowAttributes(d, options, &menu);
            sendMouse(d, options, MotionNotify, menu.width / 2, kSkinEntry * kMenuRow + kMenuRow / 2);
            std::set<Window> shown = before;
            shown.insert(options);
            const Window sizes = newWindow(d, shown);
            XGetWindowAttributes(d, sizes, &submenu);
            for (int type : {ButtonPress, ButtonRelease})
                sendMouse(d, sizes, type, submenu.width / 2, size * kMenuRow + kMenuRow / 2);
            XCloseDisplay(d);
        });
        const double scale = width() / kMasterWidth;
        sendMouse(display_, editorWindow(), ButtonPress, static_cast<int>(kOptionsButton.x * scale),
                  static_cast<int>(kOptionsButton.y * scale));
        host.dispatch(effEditIdle);
        helper.join();
        mouse(ButtonRelease, kOptionsButton);
        idle(5);  // the size change closes the editor and opens it again
    }
    std::vector<float> values() { return parametersOf(host); }
    static std::vector<float> parametersOf(PluginHost& h) {
        std::vector<float> v;
        for (int32_t i = 0; i < kNumParams; ++i) v.push_back(h.getParameter(i));
        return v;
    }
    void setValues(const std::vector<float>& v) {
        for (int32_t i = 0; i < kNumParams; ++i) host.setParameter(i, v[i]);
    }

    PluginHost host;

private:
    Display* display_;
    int x_;
    Window window_ = 0;
};

// Polls until cond holds: the plug-in draws on its own connection, so the test's may
// read the screen a moment before a drawing arrives.
bool soon(HostedEditor& editor, const std::function<bool()>& cond) {
    for (int tries = 0; tries < 40; ++tries) {
        if (cond()) return true;
        editor.idle(1);
        std::this_thread::sleep_for(5ms);
    }
    return cond();
}

// A song's values: every parameter somewhere else than program 0 has it, the switches and
// choices between their positions (each plays and draws position 0).
std::vector<float> songValues() {
    std::vector<float> v;
    for (int32_t i = 0; i < kNumParams; ++i) v.push_back(static_cast<float>(std::fmod(0.37 + i * 0.6180339887, 1.0)));
    v[kParamOscRouting] = 1.0f;
    v[kParamOsc1Wave] = 14.0f / 39.0f;
    v[kParamFltCutoff] = 0.632f;
    v[kParamLfoSync] = v[kParamPercEnv] = v[kParamChorusSync] = v[kParamVoiceMode] = 0.3f;
    v[kParamFltInvert] = 0.5f;
    v[kParamSharedFilter] = 0.05f;
    v[kParamFltType] = 0.2f;
    return v;
}

// The test's X server, wide enough for two Large editors side by side, for the whole
// program: the plug-in keeps a connection of its own to the display it first moved a
// window on.
PrivateXServer& testServer() {
    static PrivateXServer server(24, 3100, 1100);
    return server;
}
constexpr int kReferenceLeft = 1550;  // the reference editor's window, right of the subject's

class EditorTruth : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const char* old = std::getenv("DISPLAY");
        oldDisplay = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        server = &testServer();
        if (server->display() == nullptr) GTEST_SKIP() << "no Xvfb";
        setenv("DISPLAY", server->name().c_str(), 1);  // the plug-in connects to this screen
        writeUISizeSetting(static_cast<uint8_t>(GetParam()));
        keeper = std::make_unique<HostedEditor>(server->display());  // keeps the skin's pictures
    }
    void TearDown() override {
        keeper.reset();
        oldDisplay ? setenv("DISPLAY", oldDisplay->c_str(), 1) : unsetenv("DISPLAY");
    }

    ScopedSettingsFolder settings;
    PrivateXServer* server = nullptr;
    std::optional<std::string> oldDisplay;
    std::unique_ptr<HostedEditor> keeper;
};

TEST_P(EditorTruth, ShowsWhatPlaysHoweverTheValuesCame) {
    Display* display = server->display();
    const std::vector<float> song = songValues();
    const struct {
        const char* name;
        std::function<void(HostedEditor&)> bring;  // ends with the editor open
    } rows[] = {
        {"set by the host before the editor opens", [&](HostedEditor& e) {
             e.setValues(song);
             e.open();
         }},
        {"set while open, queued, then closed, set again and reopened", [&](HostedEditor& e) {
             e.open();
             e.setValues(song);
             e.idle();
             e.host.setParameter(kParamFltCutoff, 0.2f);  // queued for an idle step that never comes
             e.host.setParameter(kParamVoiceMode, 1.0f);
             e.close();
             e.host.setParameter(kParamFltCutoff, 0.8f);
             e.host.setParameter(kParamVoiceMode, 0.4f);
             e.open();
         }},
        {"program chosen and edited while closed", [&](HostedEditor& e) {
             e.open();
             e.close();
             e.host.dispatch(effSetProgram, 0, 5);
             e.host.setParameter(kParamFltCutoff, 0.25f);
             e.host.setParameter(kParamOsc2Wave, 0.5f);
             e.open();
         }},
        {"mapped MIDI controllers played while closed", [&](HostedEditor& e) {
             e.open();
             e.close();
             std::vector<VstMidiEvent> events;
             // Controller = parameter + 16 (Modwheel by controller 1), value = data / 127.
             for (auto [controller, data] : {std::pair{1, 100}, {32, 20}, {43, 40}, {48, 40}, {49, 25}, {78, 10}})
                 events.push_back(midiEvent(0, 0xB0, static_cast<uint8_t>(controller), static_cast<uint8_t>(data)));
             e.host.sendEvents(events.data(), static_cast<int32_t>(events.size()));
             e.host.process(kBlock);
             e.open();
         }},
        {"knobs turned in the editor, then another size from the Skin menu", [&](HostedEditor& e) {
             e.open();
             e.dragKnob(kCutoffKnob, 40);
             e.dragKnob(kResoKnob, 60);
             e.chooseSkin(server->name(), 3 - GetParam());  // Medium <-> Large
             EXPECT_EQ(e.width(), GetParam() == 1 ? 1500 : 1000) << "the size changed";
             EXPECT_NE(e.values(), HostedEditor::parametersOf(keeper->host)) << "the knobs moved";
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        writeUISizeSetting(static_cast<uint8_t>(GetParam()));
        HostedEditor subject(display);
        row.bring(subject);
        subject.idle(5);
        HostedEditor reference(display, kReferenceLeft);  // opens at the size the subject has now
        reference.open();
        reference.host.dispatch(effSetProgram, 0, subject.host.dispatch(effGetProgram));
        reference.idle();
        reference.setValues(subject.values());
        reference.idle(5);
        ASSERT_EQ(reference.width(), subject.width());
        Picture shown, expected;
        const bool same = soon(subject, [&] { return (shown = subject.picture()) == (expected = reference.picture()); });
        size_t differing = 0;
        for (size_t i = 0; i < shown.size() && i < expected.size(); ++i) differing += shown[i] != expected[i];
        EXPECT_TRUE(same) << differing << " pixels differ from those of the same values set while open";
    }
}

TEST_P(EditorTruth, SwitchesDrawThePositionThatPlays) {
    HostedEditor editor(server->display());
    editor.open();
    // Each switch's picture at each position, with the value the control itself gives it.
    std::map<std::pair<int32_t, int32_t>, Picture> drawn;
    for (int32_t p = 0; p < 4; ++p) {
        for (const Switch& s : kSwitches)
            if (p < s.positions) editor.host.setParameter(s.param, static_cast<float>(p) / (s.positions - 1));
        editor.idle();
        for (const Switch& s : kSwitches)
            if (p < s.positions) drawn[{s.param, p}] = editor.picture(s.left, s.top, s.right, s.bottom);
    }
    for (const Switch& s : kSwitches) {
        const Picture& off = drawn[{s.param, 0}];
        EXPECT_NE(off, (drawn[{s.param, 1}])) << "parameter " << s.param;
    }
    // k/512, the controllers' k/127, each boundary and one float either side, the values.
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
        size_t wrong = 0;
        const bool right = soon(editor, [&] {
            for (wrong = 0; wrong < std::size(kSwitches); ++wrong) {
                const Switch& s = kSwitches[wrong];
                if (editor.picture(s.left, s.top, s.right, s.bottom) != drawn[{s.param, plays[wrong]}]) return false;
            }
            return true;
        });
        if (!right) {
            ADD_FAILURE() << "parameter " << kSwitches[wrong].param << " at " << values[wrong]
                          << " does not draw position " << plays[wrong] << ", which plays";
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EditorTruth, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Medium" : "Large"; });

}  // namespace
