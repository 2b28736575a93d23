// What a host pays for Quilm.so's editor in a real X11 window (needs a display, such as
// xvfb-run's): an open and close, an idle step with nothing changed, and an idle step
// that draws the keys of a chord played and released. Any other module may be named:
//   quilm_editor_window_bench [benchmark options] [PLUGIN.so]
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "tools/common/MidiEventRecord.h"
#include "tools/render/PluginHost.h"

// After the benchmark library, whose templates X11's macros would break.
#include <X11/Xlib.h>

namespace {

std::string gModule = QUILM_MODULE_PATH;

// The module started as a host starts it, with a window of the editor's size to open in.
class EditorWindow {
public:
    explicit EditorWindow(benchmark::State& state) {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) {
            state.SkipWithError("no X display");
            return;
        }
        std::string error;
        if (!host_.load(gModule, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        host_.settings.blockSize = 64;
        host_.start();
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        window_ = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 1000, 672, 0, CopyFromParent,
                                InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XMapRaised(display_, window_);
        XSync(display_, False);
        ready_ = true;
    }
    ~EditorWindow() {
        if (window_ != 0) XDestroyWindow(display_, window_);
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    bool ready() const { return ready_; }
    void open() { host_.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window_))); }
    void close() { host_.dispatch(effEditClose); }
    void idle() { host_.dispatch(effEditIdle); }
    PluginHost& host() { return host_; }

private:
    PluginHost host_;
    Display* display_ = nullptr;
    Window window_ = 0;
    bool ready_ = false;
};

void BM_EditorWindowOpenClose(benchmark::State& state) {
    EditorWindow editor(state);
    if (!editor.ready()) return;
    editor.open();  // the first open of a process decodes the skin
    editor.close();
    for (auto _ : state) {
        editor.open();
        editor.close();
    }
}
BENCHMARK(BM_EditorWindowOpenClose)->Unit(benchmark::kMillisecond);

void BM_EditorWindowIdle(benchmark::State& state) {
    EditorWindow editor(state);
    if (!editor.ready()) return;
    editor.open();
    for (int i = 0; i < 5; ++i) editor.idle();  // the first paint
    for (auto _ : state) editor.idle();
    editor.close();
}
BENCHMARK(BM_EditorWindowIdle)->Unit(benchmark::kMicrosecond);

void BM_EditorWindowIdleDrawingKeys(benchmark::State& state) {
    EditorWindow editor(state);
    if (!editor.ready()) return;
    editor.open();
    for (int i = 0; i < 5; ++i) editor.idle();
    uint8_t status = 0x90;
    for (auto _ : state) {
        const VstMidiEvent chord[] = {midiEventRecord(0, status, 48, 100), midiEventRecord(0, status, 52, 100),
                                      midiEventRecord(0, status, 55, 100)};
        editor.host().sendEvents(chord, 3);
        editor.host().process(64);
        editor.idle();
        status = status == 0x90 ? 0x80 : 0x90;
    }
    editor.close();
}
BENCHMARK(BM_EditorWindowIdleDrawingKeys)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Held for the whole run, as a host holds its connection: an X server that loses
    // its last client resets and drops the connections that come meanwhile.
    Display* keepAlive = XOpenDisplay(nullptr);
    if (argc > 1) gModule = argv[1];
    // The editor-size setting goes to a folder of the benchmark's own.
    char pattern[] = "/tmp/quilm-editor-window-bench-XXXXXX";
    const char* settings = mkdtemp(pattern);
    if (settings != nullptr) setenv("XDG_CONFIG_HOME", settings, 1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    if (settings != nullptr) std::filesystem::remove_all(settings, ignored);
    if (keepAlive != nullptr) XCloseDisplay(keepAlive);
    return 0;
}
