#include "tools/validate/ThreadScenario.h"

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "plugin/vst/ERect.h"
#include "plugin/vst/VstOpcodes.h"
#include "tools/validate/AudioDriver.h"
#include "tools/validate/BackgroundHost.h"
#include "tools/validate/DispatcherFuzzer.h"
#include "tools/validate/HostileValues.h"
#include "tools/validate/PluginInstance.h"

namespace scenario {
namespace {
constexpr uint64_t kCallsPerPhase = 2000;  // UI calls between two activations
constexpr uint64_t kBlocksPerPhase = 40;  // audio blocks at least rendered per phase
constexpr int kIdlesPerCycle = 4;          // effEditIdle calls while an editor is open
// Every so many cycles the host destroys its window before it closes the editor, as a
// window manager's close button does; the server destroys the editor's window with it.
constexpr int32_t kParentLostEvery = 4;

// The host's X error handler: errors of its own connection are its own; one of any other
// connection (the plug-in's) is counted, as Xlib's default handler would end the host.
Display* gHostDisplay = nullptr;
std::atomic<int> gPluginXErrors{0};
int countPluginXError(Display* display, XErrorEvent*) {
    if (display != gHostDisplay) gPluginXErrors.fetch_add(1);
    return 0;
}
}  // namespace

void runThreads(const ScenarioSettings& settings, uint64_t seed, uint64_t calls) {
    Rng rng(seed);
    PluginModule::setVendor(settings.vendor.empty() ? "quilm-validate" : settings.vendor);
    PluginInstance plugin(*settings.module, {"threads", seed, settings.findings});
    if (!plugin.ok()) return;
    plugin.dispatch(effOpen, 0, 0, nullptr, 0.0f, true);
    AudioDriver driver(plugin);
    DispatcherFuzzer fuzz(plugin, rng, AudioDriver::kMaxBlock);
    BackgroundHost background(plugin, driver);
    while (plugin.calls() < calls) {
        // The largest block is drawn before the rate (see Rng.h).
        const auto maxBlock = static_cast<int32_t>(rng.range(1, AudioDriver::kMaxBlock));
        driver.activate(hostile::sampleRate(rng, true), maxBlock);
        fuzz.setMaxBlock(driver.maxBlock());
        background.start(rng);
        const uint64_t phaseEnd = plugin.calls() + kCallsPerPhase;
        const uint64_t blocksEnd = background.blocks() + kBlocksPerPhase;
        // The UI thread keeps going until the audio thread has rendered its share too.
        while ((plugin.calls() < phaseEnd && plugin.calls() < calls) || background.blocks() < blocksEnd) {
            fuzz.step(true);
            if (rng.chance(0.01)) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        background.stop();
    }
    driver.checkRelease(settings.releaseSeconds);
    plugin.close();
}

bool runEditor(const ScenarioSettings& settings, uint64_t seed, std::string& skipReason) {
    Rng rng(seed);
    PluginModule::setVendor(settings.vendor.empty() ? "quilm-validate" : settings.vendor);
    PluginInstance plugin(*settings.module, {"editor", seed, settings.findings});
    if (!plugin.ok()) return true;
    if ((plugin.effect()->flags & effFlagsHasEditor) == 0) {
        skipReason = "the plug-in reports no editor";
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        skipReason = "no X display (set DISPLAY, e.g. run under xvfb-run)";
        return false;
    }
    plugin.dispatch(effOpen, 0, 0, nullptr, 0.0f, true);
    AudioDriver driver(plugin);
    driver.activate(44100.0f, 512);
    BackgroundHost background(plugin, driver);
    background.start(rng);

    gHostDisplay = display;
    gPluginXErrors.store(0);
    const XErrorHandler previousHandler = XSetErrorHandler(countPluginXError);
    const int screen = DefaultScreen(display);
    const auto newParent = [&] {
        const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 600, 0,
                                                  BlackPixel(display, screen), BlackPixel(display, screen));
        XMapWindow(display, window);
        XSync(display, False);
        return window;
    };
    const Window kept = newParent();
    DispatcherFuzzer fuzz(plugin, rng, driver.maxBlock());
    for (int32_t cycle = 0; cycle < settings.editorCycles; ++cycle) {
        const bool parentLost = cycle % kParentLostEvery == kParentLostEvery - 1;
        const Window parent = parentLost ? newParent() : kept;
        ERect* rect = nullptr;
        plugin.dispatch(effEditGetRect, 0, 0, &rect, 0.0f);
        if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top) {
            plugin.fault("effEditGetRect gave no usable rectangle before the editor opened");
        }
        const intptr_t opened = plugin.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f);
        if (opened == 0) plugin.fault("effEditOpen failed on a valid parent window");
        for (int i = 0; i < kIdlesPerCycle; ++i) {
            plugin.dispatch(effEditIdle, 0, 0, nullptr, 0.0f);
            // Between idles the UI thread also serves the host's ordinary queries.
            fuzz.step(true);
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
            }
        }
        if (parentLost) {
            XDestroyWindow(display, parent);
            XSync(display, False);
        }
        plugin.dispatch(effEditClose, 0, 0, nullptr, 0.0f);
        if (gPluginXErrors.exchange(0) != 0) {
            plugin.fault(parentLost ? "an X error of the plug-in reached the host's handler after the host destroyed "
                                      "the editor's parent window"
                                    : "an X error of the plug-in reached the host's handler");
        }
    }
    background.stop();
    driver.checkRelease(settings.releaseSeconds);
    plugin.close();
    XDestroyWindow(display, kept);
    XCloseDisplay(display);
    XSetErrorHandler(previousHandler);
    return true;
}

}  // namespace scenario
