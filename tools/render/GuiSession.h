#pragma once
// quilm-render --gui: hosts a plug-in's editor in a top-level X11 window the way a
// desktop host does (effEditGetRect, effEditOpen with the window id, effEditIdle
// about every 10 ms, effEditClose), plays the plug-in live into a level meter,
// follows audioMasterSizeWindow, and optionally runs the scripted editor test
// (GuiSelfTest) on a second thread. Linux, X11.

#include <atomic>
#include <cstdint>
#include <string>

#include "tools/render/PluginHost.h"

struct RenderOptions;

// What the host loop publishes for the test thread (any thread reads).
struct GuiState {
    std::atomic<bool> quit{false};          // set by the test or the window's close button
    std::atomic<int32_t> program{-1};       // the plug-in's current program
    std::atomic<int32_t> editorWidth{0};    // the editor rectangle, as effEditGetRect gives it
    std::atomic<int32_t> editorHeight{0};
    std::atomic<float> peakRms{0.0f};       // loudest block since the test last cleared it
    std::atomic<uint64_t> idles{0};         // effEditIdle calls so far
    unsigned long window = 0;               // the host's top-level window (X11 id)
};

// Opens the editor of the plug-in at path and runs until the window is closed (or,
// with options.guiTestDir, until the scripted test ends). Exit status: 0 fine,
// 1 failure, 77 no X display.
int runGui(const std::string& path, const RenderOptions& options);
