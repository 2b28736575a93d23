// The scripted editor test: synthetic clicks and drags through XTEST on the
// editor's knob, program menu, keyboard and options menu, with the plug-in's
// answers checked, and a screenshot of every editor size.
#include "tools/render/GuiSelfTest.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "tools/render/GuiSession.h"
#include "tools/render/PluginHost.h"

namespace {

using namespace std::chrono_literals;

// Where the editor's controls lie in its master layout of 3000 x 2016 pixels;
// every editor size is this layout scaled by (editor width / 3000).
constexpr double kMasterWidth = 3000.0;
constexpr double kKnobSide = 156.0;
struct MasterRect {
    double left, top, right, bottom;
};
constexpr MasterRect kCutoffKnob{216, 900, 216 + kKnobSide, 900 + kKnobSide};  // parameter 16
constexpr MasterRect kProgramMenu{2316, 1456, 2844, 1528};
constexpr MasterRect kOptionsButton{2760, 1320, 2892, 1404};
constexpr double kKeyboardLeft = 372, kKeyboardTop = 1620, kOctaveWidth = 504;
constexpr int32_t kCutoffParameter = 16;
constexpr int32_t kProgramsPerColumn = 32, kProgramColumns = 4;
constexpr int32_t kOptionEntries = 4, kSkinEntry = 3, kSizes = 4;
const char* const kSizeNames[kSizes] = {"Small", "Medium", "Large", "Huge"};
constexpr int32_t kSizeWidths[kSizes] = {750, 1000, 1500, 2250};

class Driver {
public:
    Driver(GuiState& state, PluginHost& host) : state_(state), host_(host), display_(XOpenDisplay(nullptr)) {}
    ~Driver() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    bool ok() const {
        int event = 0, error = 0, major = 0, minor = 0;
        return display_ != nullptr && XTestQueryExtension(display_, &event, &error, &major, &minor);
    }

    // Screen position of a master-layout point at the editor's current size.
    void screenPoint(double mx, double my, int& x, int& y) const {
        const double scale = state_.editorWidth.load() / kMasterWidth;
        int ox = 0, oy = 0;
        Window child = 0;
        XTranslateCoordinates(display_, state_.window, DefaultRootWindow(display_), 0, 0, &ox, &oy, &child);
        x = ox + static_cast<int>(std::floor(mx * scale));
        y = oy + static_cast<int>(std::floor(my * scale));
    }
    void centreOf(const MasterRect& r, int& x, int& y) const {
        screenPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2, x, y);
    }

    void move(int x, int y) {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XFlush(display_);
        std::this_thread::sleep_for(40ms);
    }
    void button(bool down) {
        XTestFakeButtonEvent(display_, 1, down ? True : False, CurrentTime);
        XFlush(display_);
        std::this_thread::sleep_for(60ms);
    }
    void click(int x, int y) {
        move(x, y);
        button(true);
        button(false);
    }

    // Waits until cond holds (checked every 20 ms); false after timeout.
    static bool waitFor(const std::function<bool()>& cond, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (cond()) return true;
            std::this_thread::sleep_for(20ms);
        }
        return cond();
    }
    // Lets the host run a few idle steps (the editor repaints at idle).
    void settle(uint64_t idles = 10) {
        const uint64_t target = state_.idles.load() + idles;
        waitFor([&] { return state_.idles.load() >= target; }, 20000ms);
    }

    // Top-level windows that are on screen now.
    std::set<Window> shownWindows() const {
        std::set<Window> shown;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) return shown;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display_, children[i], &a) != 0 && a.map_state == IsViewable)
                shown.insert(children[i]);
        }
        if (children != nullptr) XFree(children);
        return shown;
    }
    // A menu window that appeared since before; its screen rectangle in x, y, w, h.
    bool waitForMenu(const std::set<Window>& before, int& x, int& y, int& w, int& h) {
        Window found = 0;
        waitFor(
            [&] {
                for (Window win : shownWindows())
                    if (before.count(win) == 0 && win != state_.window) found = win;
                return found != 0;
            },
            10000ms);
        if (found == 0) return false;
        XWindowAttributes a;
        XGetWindowAttributes(display_, found, &a);
        x = a.x;
        y = a.y;
        w = a.width;
        h = a.height;
        return true;
    }

    float parameter(int32_t index) { return host_.effect()->getParameter(host_.effect(), index); }

    GuiState& state_;
    PluginHost& host_;
    Display* display_;
};

bool check(bool condition, const char* what) {
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    return condition;
}

bool shoot(Driver& driver, GuiState& state, const std::string& dir) {
    driver.settle(20);
    int32_t size = -1;
    for (int32_t i = 0; i < kSizes; ++i)
        if (kSizeWidths[i] == state.editorWidth.load()) size = i;
    if (size < 0) return check(false, "screenshot: the editor has one of the four sizes");
    const std::string path = dir + "/editor-" + kSizeNames[size] + ".png";
    const bool written = writeWindowPng(state.window, path);
    std::printf("screenshot %s\n", path.c_str());
    return check(written, "screenshot written");
}

bool knobDrag(Driver& driver) {
    int x = 0, y = 0;
    driver.centreOf(kCutoffKnob, x, y);
    const float before = driver.parameter(kCutoffParameter);
    const int direction = before > 0.5f ? 1 : -1;  // down lowers, up raises
    driver.move(x, y);
    driver.button(true);
    for (int i = 1; i <= 8; ++i) driver.move(x, y + direction * 8 * i);
    driver.button(false);
    driver.settle();
    const float after = driver.parameter(kCutoffParameter);
    std::printf("     Flt-Cut %.3f -> %.3f\n", before, after);
    return check(direction < 0 ? after > before + 0.01f : after < before - 0.01f,
                 "dragging the Flt-Cut knob changes parameter 16 in the plug-in");
}

bool programFromMenu(Driver& driver, GuiState& state, int32_t program) {
    int x = 0, y = 0;
    driver.centreOf(kProgramMenu, x, y);
    const std::set<Window> before = driver.shownWindows();
    driver.click(x, y);
    int mx = 0, my = 0, mw = 0, mh = 0;
    if (!check(driver.waitForMenu(before, mx, my, mw, mh), "the program menu pops up")) return false;
    const int column = program / kProgramsPerColumn, row = program % kProgramsPerColumn;
    driver.click(mx + mw * (2 * column + 1) / (2 * kProgramColumns), my + mh * (2 * row + 1) / (2 * kProgramsPerColumn));
    const bool loaded = Driver::waitFor([&] { return state.program.load() == program; }, 10000ms);
    std::printf("     program %d\n", state.program.load());
    return check(loaded, "a program chosen from the menu loads");
}

bool keySounds(Driver& driver, GuiState& state) {
    int x = 0, y = 0;
    driver.screenPoint(kKeyboardLeft + 2 * kOctaveWidth + 36, kKeyboardTop + 300, x, y);  // the C of note 48
    driver.move(x, y);
    state.peakRms.store(0.0f);
    driver.button(true);
    driver.settle(40);  // about 40 blocks played while the key is down
    const float held = state.peakRms.load();
    driver.button(false);
    driver.settle();
    std::printf("     level while held %.5f\n", held);
    return check(held > 1e-4f, "a key of the on-screen keyboard sounds");
}

bool chooseSize(Driver& driver, GuiState& state, int32_t size) {
    int x = 0, y = 0;
    driver.centreOf(kOptionsButton, x, y);
    std::set<Window> before = driver.shownWindows();
    driver.click(x, y);
    int mx = 0, my = 0, mw = 0, mh = 0;
    if (!check(driver.waitForMenu(before, mx, my, mw, mh), "the options menu pops up")) return false;
    before = driver.shownWindows();
    driver.move(mx + mw / 2, my + mh * (2 * kSkinEntry + 1) / (2 * kOptionEntries));
    driver.move(mx + mw / 2 + 2, my + mh * (2 * kSkinEntry + 1) / (2 * kOptionEntries));
    int sx = 0, sy = 0, sw = 0, sh = 0;
    if (!check(driver.waitForMenu(before, sx, sy, sw, sh), "the Skin submenu opens")) return false;
    driver.move(sx + sw / 2, sy + sh * (2 * size + 1) / (2 * kSizes));
    driver.button(true);
    driver.button(false);
    const bool resized =
        Driver::waitFor([&] { return state.editorWidth.load() == kSizeWidths[size]; }, 60000ms);
    std::printf("     editor width %d\n", state.editorWidth.load());
    return check(resized, "choosing a Skin size resizes the editor");
}

}  // namespace

bool writeWindowPng(unsigned long window, const std::string& path) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    XWindowAttributes a;
    bool written = false;
    if (XGetWindowAttributes(display, window, &a) != 0) {
        // X refuses to read a window beyond the screen's edge (BadMatch, which ends the
        // program): on a screen smaller than the editor only the part on screen is taken.
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, a.root, 0, 0, &rootX, &rootY, &child);
        XWindowAttributes screen;
        XGetWindowAttributes(display, a.root, &screen);
        const int width = std::min(a.width, screen.width - std::max(rootX, 0));
        const int height = std::min(a.height, screen.height - std::max(rootY, 0));
        if (width < a.width || height < a.height)
            std::printf("     the screen shows %d x %d of the %d x %d window; the screenshot holds that part\n",
                        width, height, a.width, a.height);
        XImage* image = width > 0 && height > 0 && rootX >= 0 && rootY >= 0
                            ? XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), AllPlanes, ZPixmap)
                            : nullptr;
        if (image != nullptr) {
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
            unsigned char* data = cairo_image_surface_get_data(surface);
            const int stride = cairo_image_surface_get_stride(surface);
            for (int y = 0; y < height; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
                for (int x = 0; x < width; ++x) row[x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
            }
            cairo_surface_mark_dirty(surface);
            written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
            cairo_surface_destroy(surface);
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return written;
}

bool runGuiSelfTest(GuiState& state, PluginHost& host, const std::string& shotDir) {
    Driver driver(state, host);
    if (!check(driver.ok(), "X display with the XTEST extension")) return false;
    std::error_code ignored;
    std::filesystem::create_directories(shotDir, ignored);
    driver.settle(30);
    bool passed = true;
    passed &= shoot(driver, state, shotDir);
    passed &= knobDrag(driver);
    passed &= programFromMenu(driver, state, 5);
    passed &= keySounds(driver, state);
    for (int32_t size : {0, 2, 3}) {
        if (chooseSize(driver, state, size)) {
            passed &= shoot(driver, state, shotDir);
        } else {
            passed = false;
        }
    }
    passed &= chooseSize(driver, state, 1);
    std::printf("%s\n", passed ? "gui test passed" : "gui test FAILED");
    return passed;
}
