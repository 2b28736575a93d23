#include "tools/render/RenderOptions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tools/render/PluginHost.h"

namespace {

bool toDouble(const char* text, double& out) {
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(out);
}

bool toInt(const char* text, int32_t& out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return false;
    out = static_cast<int32_t>(value);
    return true;
}

}  // namespace

const char* RenderOptions::usage() {
    return "usage: quilm-render PLUGIN.so [PLUGIN.so ...] [options]\n"
           "  (a PLUGIN.so named without a folder is the file in the current folder)\n"
           "  --list             print the plug-in's identity, parameters and programs\n"
           "  --demo             play the built-in demo phrase (the default)\n"
           "  --midi FILE        play a Standard MIDI File instead: format 0 or 1, in\n"
           "                     pulses a beat or SMPTE time, up to 4 hours long; format 2\n"
           "                     and damaged files are refused with what is wrong\n"
           "  --out FILE         write the result to this WAV file (default out.wav); an\n"
           "                     existing file is replaced only when the render succeeds,\n"
           "                     keeping its owner and mode, or written in place where its\n"
           "                     folder takes no new file; a file you may not write, a\n"
           "                     pipe and a socket are refused; a link stays a link;\n"
           "                     past 4 GiB the file is RF64\n"
           "  --rate HZ          sample rate, a whole number (default 44100)\n"
           "  --block FRAMES     block size (default 512)\n"
           "  --program N        select program N before playing\n"
           "  --param I=V        set parameter I to V before playing (repeatable)\n"
           "  --tempo BPM        tempo reported to the plug-in (default 120)\n"
           "  --vendor TEXT      host vendor string (default \"Quilm Render\")\n"
           "  --tail SECONDS     keep rendering after the last event (default 2)\n"
           "  --bench            time the processing; with several plug-ins, compare them\n"
           "  --repeat N         benchmark passes per plug-in (default 5)\n"
           "  --gui              open the plug-in's editor in a window and play it live\n"
           "                     (the on-screen keyboard sounds through the host's meter)\n"
           "  --gui-test DIR     open the editor, drive it with synthetic mouse events\n"
           "                     (knob, program menu, key, every size) and write a\n"
           "                     screenshot of each size into DIR; exit 0 when all pass\n";
}

bool RenderOptions::startPlugin(PluginHost& host, const std::string& path, std::string& error) const {
    host.settings.vendor = vendor;
    host.settings.tempo = tempo;
    host.settings.sampleRate = sampleRate;
    host.settings.blockSize = blockSize;
    if (!host.load(path, error)) return false;
    host.start();
    if (program >= 0) {
        if (program >= host.effect()->numPrograms) {
            error = path + " has only " + std::to_string(host.effect()->numPrograms) + " programs";
            return false;
        }
        host.dispatch(effSetProgram, 0, program);
    }
    for (const auto& [index, value] : params) {
        if (index >= host.effect()->numParams) {
            error = path + " has only " + std::to_string(host.effect()->numParams) + " parameters";
            return false;
        }
        host.setParameter(index, value);
    }
    return true;
}

bool RenderOptions::parse(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        double d = 0.0;
        if (std::strcmp(arg, "--list") == 0) {
            list = true;
        } else if (std::strcmp(arg, "--bench") == 0) {
            bench = true;
        } else if (std::strcmp(arg, "--demo") == 0) {
            midiFile.clear();
        } else if (std::strcmp(arg, "--midi") == 0) {
            if (!value(v)) return false;
            midiFile = v;
        } else if (std::strcmp(arg, "--out") == 0) {
            if (!value(v)) return false;
            if (*v == '\0') {
                error = "--out takes a file name";
                return false;
            }
            outFile = v;
        } else if (std::strcmp(arg, "--rate") == 0) {
            if (!value(v)) return false;
            // The WAV file holds a whole rate in Hz, so the plug-in renders at a whole rate too.
            if (!toDouble(v, d) || d < 1000.0 || d > 768000.0 || d != std::floor(d)) {
                error = "--rate takes a whole rate in Hz from 1000 to 768000";
                return false;
            }
            sampleRate = static_cast<float>(d);
        } else if (std::strcmp(arg, "--block") == 0) {
            if (!value(v)) return false;
            if (!toInt(v, blockSize) || blockSize < 1 || blockSize > 65536) {
                error = "--block takes a frame count from 1 to 65536";
                return false;
            }
        } else if (std::strcmp(arg, "--program") == 0) {
            if (!value(v)) return false;
            if (!toInt(v, program) || program < 0) {
                error = "--program takes a program number from 0";
                return false;
            }
        } else if (std::strcmp(arg, "--param") == 0) {
            if (!value(v)) return false;
            const char* eq = std::strchr(v, '=');
            int32_t index = 0;
            if (eq == nullptr || !toInt(std::string(v, eq).c_str(), index) || index < 0 || !toDouble(eq + 1, d) ||
                !std::isfinite(static_cast<float>(d))) {
                error = "--param takes INDEX=VALUE with a finite VALUE, for example 16=0.5";
                return false;
            }
            params.emplace_back(index, static_cast<float>(d));
        } else if (std::strcmp(arg, "--tempo") == 0) {
            if (!value(v)) return false;
            if (!toDouble(v, tempo) || tempo <= 0.0) {
                error = "--tempo takes a positive tempo in BPM";
                return false;
            }
        } else if (std::strcmp(arg, "--vendor") == 0) {
            if (!value(v)) return false;
            vendor = v;
        } else if (std::strcmp(arg, "--tail") == 0) {
            if (!value(v)) return false;
            if (!toDouble(v, tailSeconds) || tailSeconds < 0.0 || tailSeconds > 600.0) {
                error = "--tail takes seconds from 0 to 600";
                return false;
            }
        } else if (std::strcmp(arg, "--repeat") == 0) {
            if (!value(v)) return false;
            if (!toInt(v, repeat) || repeat < 1 || repeat > 1000) {
                error = "--repeat takes a count from 1 to 1000";
                return false;
            }
        } else if (std::strcmp(arg, "--gui") == 0) {
            gui = true;
        } else if (std::strcmp(arg, "--gui-test") == 0) {
            const char* dir = nullptr;
            if (!value(dir)) return false;
            gui = true;
            guiTestDir = dir;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            error.clear();
            return false;
        } else if (arg[0] == '-' && arg[1] == '-') {
            error = std::string("unknown option ") + arg;
            return false;
        } else {
            plugins.emplace_back(arg);
        }
    }
    if (plugins.empty()) {
        error = "no plug-in given";
        return false;
    }
    if (gui && (list || bench || plugins.size() > 1)) {
        error = "--gui takes one plug-in and no --list or --bench";
        return false;
    }
    if (!list && !bench && plugins.size() > 1) {
        error = "rendering takes one plug-in (several only with --list or --bench)";
        return false;
    }
    return true;
}
