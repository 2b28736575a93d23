// Quilm.so's editor on true-colour screens of 15, 16 and 30 bits shows the picture it
// shows on a 24-bit screen, within each screen's own precision (a channel of 5 bits
// cannot hold 8). Each screen is an Xvfb of the test's own.
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <set>
#include <thread>

#include "ModuleHost.h"
#include "plugin/vst/ERect.h"

// After the test framework, whose templates X11's macros would break.
#include "PrivateXServer.h"
#include <X11/Xutil.h>

namespace {

// The editor's picture read back from a screen: 8-bit channels, and each channel's
// largest value on that screen (31, 63, 255 or 1023).
struct Picture {
    int width = 0, height = 0;
    std::vector<std::array<int, 3>> pixels;
    std::array<unsigned long, 3> top{};
};

int maskShift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

class EditorScreenDepth : public ModuleTest, public ::testing::WithParamInterface<int> {
protected:
    // Opens the editor on a screen of that depth, lets it paint, and reads the window.
    Picture editorOnScreen(int depth) {
        Picture picture;
        PrivateXServer server(depth, 1024, 768);
        Display* display = server.display();
        if (display == nullptr) return picture;
        const char* old = std::getenv("DISPLAY");
        const std::string saved = old != nullptr ? old : "";
        setenv("DISPLAY", server.name().c_str(), 1);  // the plug-in connects to this screen
        ERect* rect = nullptr;
        host->dispatch(effEditGetRect, 0, 0, &rect);
        picture.width = rect->right - rect->left;
        picture.height = rect->bottom - rect->top;
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                                  static_cast<unsigned>(picture.width),
                                                  static_cast<unsigned>(picture.height), 0, 0, 0);
        XMapRaised(display, window);
        XSync(display, False);
        EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window))), 1);
        for (int i = 0; i < 10; ++i) {
            host->dispatch(effEditIdle);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(picture.width),
                                  static_cast<unsigned>(picture.height), AllPlanes, ZPixmap);
        host->dispatch(effEditClose);
        if (image != nullptr) {
            const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
            for (int c = 0; c < 3; ++c) picture.top[c] = masks[c] >> maskShift(masks[c]);
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const unsigned long p = XGetPixel(image, x, y);
                    std::array<int, 3> rgb{};
                    for (int c = 0; c < 3; ++c) {
                        const double value = static_cast<double>((p & masks[c]) >> maskShift(masks[c]));
                        rgb[c] = static_cast<int>(std::lround(value * 255.0 / static_cast<double>(picture.top[c])));
                    }
                    picture.pixels.push_back(rgb);
                }
            }
            XDestroyImage(image);
        }
        XDestroyWindow(display, window);
        XSync(display, False);
        old != nullptr ? setenv("DISPLAY", saved.c_str(), 1) : unsetenv("DISPLAY");
        return picture;
    }
};

TEST_P(EditorScreenDepth, ShowsTheColoursOfA24BitScreen) {
    const Picture reference = editorOnScreen(24);
    if (reference.pixels.empty()) GTEST_SKIP() << "no Xvfb";
    const Picture shown = editorOnScreen(GetParam());
    ASSERT_EQ(shown.pixels.size(), reference.pixels.size());
    std::set<std::array<int, 3>> colours(reference.pixels.begin(), reference.pixels.end());
    EXPECT_GT(colours.size(), 1000u) << "the editor's picture, not an empty window";
    // Half a step of the screen's channel, and the rounding when it is read back.
    std::array<int, 3> tolerance{};
    for (int c = 0; c < 3; ++c) tolerance[c] = static_cast<int>(std::ceil(255.0 / shown.top[c] / 2 + 0.5));
    size_t outside = 0, first = reference.pixels.size();
    for (size_t i = 0; i < reference.pixels.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(shown.pixels[i][c] - reference.pixels[i][c]) > tolerance[c]) {
                ++outside;
                first = std::min(first, i);
                break;
            }
        }
    }
    EXPECT_EQ(outside, 0u) << "first at x " << first % reference.width << ", y " << first / reference.width;
}

INSTANTIATE_TEST_SUITE_P(Depths, EditorScreenDepth, ::testing::Values(15, 16, 30),
                         [](const auto& info) { return "Bits" + std::to_string(info.param); });

}  // namespace
