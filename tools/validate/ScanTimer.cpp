#include "tools/validate/ScanTimer.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "plugin/vst/ERect.h"
#include "plugin/vst/VstOpcodes.h"

namespace scantime {
namespace {
using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

}  // namespace

void run(const PluginModule& module, int32_t count) {
    std::vector<double> construct, scan;
    double firstConstruct = 0.0, firstScan = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const auto t0 = Clock::now();
        AEffect* effect = module.create();
        const auto t1 = Clock::now();
        if (effect == nullptr) {
            std::printf("the entry gave no plug-in\n");
            return;
        }
        // What a scanning host asks before it closes the instance again.
        char text[256] = {};
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effGetEffectName, 0, 0, text, 0.0f);
        effect->dispatcher(effect, effGetVendorString, 0, 0, text, 0.0f);
        effect->dispatcher(effect, effGetProductString, 0, 0, text, 0.0f);
        effect->dispatcher(effect, effGetPlugCategory, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        const auto t2 = Clock::now();
        construct.push_back(microseconds(t1 - t0));
        scan.push_back(microseconds(t2 - t0));
        if (i == 0) {
            firstConstruct = construct.back();
            firstScan = scan.back();
        }
    }
    std::sort(construct.begin(), construct.end());
    std::sort(scan.begin(), scan.end());
    auto line = [](const char* what, double first, const std::vector<double>& t) {
        std::printf("%-40s first %9.1f us, median %9.1f us, min %9.1f us, max %9.1f us\n", what, first,
                    t[t.size() / 2], t.front(), t.back());
    };
    std::printf("%d instances\n", count);
    line("construction (VSTPluginMain)", firstConstruct, construct);
    line("scan (construct, open, identity, close)", firstScan, scan);

    // The same while another instance stays alive: what is shared per process is built once.
    AEffect* keeper = module.create();
    if (keeper == nullptr) return;
    construct.clear();
    for (int32_t i = 0; i < count; ++i) {
        const auto t0 = Clock::now();
        AEffect* effect = module.create();
        construct.push_back(microseconds(Clock::now() - t0));
        if (effect != nullptr) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
    const double first = construct.front();
    std::sort(construct.begin(), construct.end());
    line("construction beside a live instance", first, construct);
    keeper->dispatcher(keeper, effClose, 0, 0, nullptr, 0.0f);
}

bool editorTimes(const PluginModule& module, int32_t idles, std::string& why) {
    AEffect* effect = module.create();
    if (effect == nullptr) {
        why = "the entry gave no plug-in";
        return false;
    }
    Display* display = (effect->flags & effFlagsHasEditor) != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        why = (effect->flags & effFlagsHasEditor) == 0 ? "the plug-in reports no editor" : "no X display";
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        return false;
    }
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    const int screen = DefaultScreen(display);
    const Window parent = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 600, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    ERect* rect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
    if (rect != nullptr) std::printf("editor %d x %d\n", rect->right - rect->left, rect->bottom - rect->top);
    for (int pass = 1; pass <= 2; ++pass) {
        const auto t0 = Clock::now();
        effect->dispatcher(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f);
        XSync(display, False);
        const double open = microseconds(Clock::now() - t0);
        // The first idle draws what the open marked dirty; it belongs to what the user waits for.
        const auto t1 = Clock::now();
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
        XSync(display, False);
        const double firstIdle = microseconds(Clock::now() - t1);
        std::printf("editor open #%d: %.1f us, then first idle %.1f us\n", pass, open, firstIdle);
        if (pass == 2) {
            std::vector<double> times;
            for (int32_t i = 0; i < idles; ++i) {
                const auto t = Clock::now();
                effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
                times.push_back(microseconds(Clock::now() - t));
            }
            std::sort(times.begin(), times.end());
            if (!times.empty()) {
                std::printf("editor idle with nothing changed: median %.2f us, min %.2f us, max %.2f us (%d idles)\n",
                            times[times.size() / 2], times.front(), times.back(), idles);
            }
        }
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
    return true;
}

}  // namespace scantime
