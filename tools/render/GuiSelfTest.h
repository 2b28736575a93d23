#pragma once
// The scripted editor test of quilm-render --gui-test: drives the editor with
// synthetic X events (XTEST) from its own X connection while the host loop keeps
// idling the editor, checks what the plug-in did, and writes screenshots.

#include <string>

struct GuiState;
class PluginHost;

// Runs the script; true when every check passed. Prints one line per check. Test thread.
bool runGuiSelfTest(GuiState& state, PluginHost& host, const std::string& shotDir);

// Writes the window's current picture (with its children) as a PNG; false on failure. Any thread.
bool writeWindowPng(unsigned long window, const std::string& path);
