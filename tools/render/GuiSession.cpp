// The host side of quilm-render --gui: window, editor calls, live audio meter.
#include "tools/render/GuiSession.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "plugin/vst/ERect.h"
#include "tools/render/GuiSelfTest.h"
#include "tools/render/RenderOptions.h"

namespace {

constexpr auto kIdlePeriod = std::chrono::milliseconds(10);  // what desktop hosts roughly do

void readEditorRect(PluginHost& host, GuiState& state) {
    ERect* rect = nullptr;
    if (host.dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) return;
    state.editorWidth.store(rect->right - rect->left);
    state.editorHeight.store(rect->bottom - rect->top);
}

// One block of audio; the block's RMS over both outputs raises the peak.
void playBlock(PluginHost& host, GuiState& state, int32_t frames) {
    host.process(frames);
    double sum = 0;
    int32_t count = 0;
    for (int32_t c = 0; c < host.numOutputs() && c < 2; ++c) {
        for (float s : host.output(c)) sum += static_cast<double>(s) * s;
        count += static_cast<int32_t>(host.output(c).size());
    }
    const float rms = count > 0 ? static_cast<float>(std::sqrt(sum / count)) : 0.0f;
    float peak = state.peakRms.load();
    while (rms > peak && !state.peakRms.compare_exchange_weak(peak, rms)) {
    }
}

}  // namespace

int runGui(const std::string& path, const RenderOptions& options) {
    // The plug-in starts as it would for rendering: the same settings, program and parameters.
    PluginHost host;
    std::string error;
    if (!options.startPlugin(host, path, error)) {
        std::fprintf(stderr, "quilm-render: %s\n", error.c_str());
        return 1;
    }
    if ((host.effect()->flags & effFlagsHasEditor) == 0) {
        std::fprintf(stderr, "quilm-render: %s has no editor\n", path.c_str());
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "quilm-render: no X display (set DISPLAY, or run under xvfb-run)\n");
        return 77;
    }
    GuiState state;
    readEditorRect(host, state);
    const int32_t width = std::max(1, static_cast<int32_t>(state.editorWidth.load()));
    const int32_t height = std::max(1, static_cast<int32_t>(state.editorHeight.load()));

    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, BlackPixel(display, screen),
                                              BlackPixel(display, screen));
    state.window = window;
    const std::string title = "quilm-render: " + host.dispatchText(effGetEffectName);
    XStoreName(display, window, title.c_str());
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent e;;) {
        XNextEvent(display, &e);
        if (e.type == MapNotify) break;
    }
    // The plug-in's editor asks for its size through audioMasterSizeWindow.
    host.settings.sizeWindow = [display, window](int32_t w, int32_t h) {
        if (w < 1 || h < 1) return false;
        XResizeWindow(display, window, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XFlush(display);
        return true;
    };
    if (host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window))) == 0) {
        std::fprintf(stderr, "quilm-render: the editor did not open\n");
        XDestroyWindow(display, window);
        XCloseDisplay(display);
        return 1;
    }
    std::printf("editor open: %d x %d\n", width, height);
    std::fflush(stdout);

    bool passed = true;
    std::thread test;
    if (!options.guiTestDir.empty()) {
        test = std::thread([&] {
            passed = runGuiSelfTest(state, host, options.guiTestDir);
            state.quit.store(true);
        });
    }
    const auto blockFrames = std::min<int32_t>(options.blockSize, 512);
    while (!state.quit.load()) {
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == ClientMessage && static_cast<Atom>(e.xclient.data.l[0]) == deleteWindow) state.quit.store(true);
        }
        host.dispatch(effEditIdle);
        state.idles.fetch_add(1);
        playBlock(host, state, blockFrames);
        state.program.store(static_cast<int32_t>(host.dispatch(effGetProgram)));
        readEditorRect(host, state);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    if (test.joinable()) test.join();
    host.dispatch(effEditClose);
    host.settings.sizeWindow = nullptr;
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return passed ? 0 : 1;
}
