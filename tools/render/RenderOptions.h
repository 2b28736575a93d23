#pragma once
// Command line of quilm-render. Parsed on the tool's main thread.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class PluginHost;

struct RenderOptions {
    std::vector<std::string> plugins;             // .so paths
    bool list = false;                            // print identity, parameters, programs
    bool bench = false;                           // time the processing
    std::string midiFile;                         // empty: the built-in demo phrase
    std::string outFile;                          // WAV to write; empty: out.wav unless benchmarking
    float sampleRate = 44100.0f;                  // Hz
    int32_t blockSize = 512;                      // frames
    int32_t program = -1;                         // -1: leave the plug-in's current program
    std::vector<std::pair<int32_t, float>> params;
    double tempo = 120.0;                         // BPM the host reports
    std::string vendor = "Quilm Render";          // host vendor string
    double tailSeconds = 2.0;                     // rendering after the last event
    int32_t repeat = 5;                           // benchmark passes
    bool gui = false;                             // open the plug-in's editor in a window
    std::string guiTestDir;                       // with --gui: run the scripted editor test, shots here

    // Parses argv; false with a message for a bad command line.
    bool parse(int argc, char** argv, std::string& error);
    // Loads the plug-in at path into host with these settings, starts it, then selects the program
    // and sets the parameters; false with a message (a program or parameter it does not have).
    bool startPlugin(PluginHost& host, const std::string& path, std::string& error) const;
    // The usage text.
    static const char* usage();
};
