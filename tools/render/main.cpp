// quilm-render: an offline VST 2.4 host. Loads any Linux VST2 plug-in through
// its entry, lists what it offers, plays a MIDI file or the demo phrase into a
// WAV file, or times the processing of one or more plug-ins.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/vst/VstPinProperties.h"
#include "tools/render/GuiSession.h"
#include "tools/render/MidiSequence.h"
#include "tools/render/PluginHost.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Renderer.h"
#include "tools/render/WavWriter.h"

namespace {

// The WAV file being written, removed when the tool is interrupted or told to stop (a
// signal handler may only call async-signal-safe functions: unlink, signal, raise). The name
// is written whole before the flag publishes it, so the handler never sees half a name.
char unfinishedFile[PATH_MAX];
volatile std::sig_atomic_t unfinishedPublished = 0;

void removeUnfinishedFile(int signal) {
    if (unfinishedPublished != 0) unlink(unfinishedFile);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

std::string fourChars(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

bool startPlugin(PluginHost& host, const std::string& path, const RenderOptions& options) {
    std::string error;
    if (!options.startPlugin(host, path, error)) {
        std::fprintf(stderr, "quilm-render: %s\n", error.c_str());
        return false;
    }
    if (host.effect()->numOutputs < 1) {
        std::fprintf(stderr, "quilm-render: %s has no audio output\n", path.c_str());
        return false;
    }
    return true;
}

std::string programName(PluginHost& host, int32_t program) {
    char name[256] = {};
    if (host.dispatch(effGetProgramNameIndexed, program, -1, name) != 0) return name;
    return {};
}

int listPlugin(const std::string& path, const RenderOptions& options) {
    PluginHost host;
    if (!startPlugin(host, path, options)) return 1;
    AEffect* e = host.effect();
    int32_t flags = e->flags;
    std::printf("plug-in: %s\n", path.c_str());
    std::printf("  name: %s\n", host.dispatchText(effGetEffectName).c_str());
    std::printf("  product: %s\n", host.dispatchText(effGetProductString).c_str());
    std::printf("  vendor: %s (version %ld)\n", host.dispatchText(effGetVendorString).c_str(),
                static_cast<long>(host.dispatch(effGetVendorVersion)));
    std::printf("  unique id: '%s' (0x%08X), record version %d\n", fourChars(e->uniqueID).c_str(),
                static_cast<unsigned>(e->uniqueID), e->version);
    std::printf("  VST version: %ld, category: %ld\n", static_cast<long>(host.dispatch(effGetVstVersion)),
                static_cast<long>(host.dispatch(effGetPlugCategory)));
    std::printf("  flags: 0x%X%s%s%s%s\n", static_cast<unsigned>(flags), (flags & effFlagsHasEditor) ? " editor" : "",
                (flags & effFlagsCanReplacing) ? " replacing" : "", (flags & effFlagsIsSynth) ? " synth" : "",
                (flags & effFlagsProgramChunks) ? " chunks" : "");
    std::printf("  inputs: %d, outputs: %d\n", e->numInputs, e->numOutputs);
    for (int32_t pin = 0; pin < e->numOutputs; ++pin) {
        VstPinProperties props{};
        if (host.dispatch(effGetOutputProperties, pin, 0, &props) != 0) {
            props.label[sizeof(props.label) - 1] = '\0';
            std::printf("  output %d: \"%s\" (flags %d)\n", pin, props.label, props.flags);
        }
    }
    std::printf("  parameters: %d\n", e->numParams);
    for (int32_t i = 0; i < e->numParams; ++i) {
        std::printf("    %3d %-16s %-10s %-10s %.6f\n", i, host.dispatchText(effGetParamName, i).c_str(),
                    host.dispatchText(effGetParamDisplay, i).c_str(), host.dispatchText(effGetParamLabel, i).c_str(),
                    static_cast<double>(host.getParameter(i)));
    }
    std::printf("  programs: %d (current %ld)\n", e->numPrograms, static_cast<long>(host.dispatch(effGetProgram)));
    for (int32_t p = 0; p < e->numPrograms; ++p) std::printf("    %3d %s\n", p, programName(host, p).c_str());
    return 0;
}

int renderPlugin(const std::string& path, const MidiSequence& sequence, const RenderOptions& options) {
    PluginHost host;
    if (!startPlugin(host, path, options)) return 1;
    const std::string out = options.outFile.empty() ? "out.wav" : options.outFile;
    WavWriter wav;
    std::string error;
    if (!wav.open(out, static_cast<int>(options.sampleRate), 2, error,
                  Renderer::frames(sequence, options.tailSeconds, options.sampleRate))) {
        std::fprintf(stderr, "quilm-render: %s\n", error.c_str());
        return 1;
    }
    const std::string& unfinished = wav.temporaryPath();
    if (!unfinished.empty() && unfinished.size() < sizeof(unfinishedFile)) {
        std::memcpy(unfinishedFile, unfinished.c_str(), unfinished.size() + 1);
        std::atomic_signal_fence(std::memory_order_release);  // the name is whole before the flag is up
        unfinishedPublished = 1;
    }
    int64_t frames = 0;
    double peak = 0.0, energy = 0.0;
    bool writeFailed = false;
    const int32_t right = host.numOutputs() > 1 ? 1 : 0;
    Renderer::play(host, sequence, options.tailSeconds, [&](int32_t n) {
        const float* left = host.output(0).data();
        const float* other = host.output(right).data();
        for (int32_t i = 0; i < n; ++i) {
            peak = std::max({peak, std::fabs(static_cast<double>(left[i])), std::fabs(static_cast<double>(other[i]))});
            energy += static_cast<double>(left[i]) * left[i] + static_cast<double>(other[i]) * other[i];
        }
        frames += n;
        if (!wav.write({left, other}, n)) writeFailed = true;
        return !writeFailed;
    });
    const bool finished = !writeFailed && wav.finish(error);
    wav.discard();  // before the handler forgets the name
    unfinishedPublished = 0;
    if (writeFailed) {
        std::fprintf(stderr, "quilm-render: writing %s failed: %s\n", out.c_str(), wav.writeError().c_str());
        return 1;  // the writer removes its unfinished file; an existing one stays as it was
    }
    if (!finished) {
        std::fprintf(stderr, "quilm-render: %s\n", error.c_str());
        return 1;
    }
    double rms = frames > 0 ? std::sqrt(energy / (2.0 * static_cast<double>(frames))) : 0.0;
    std::printf("rendered %.2f s (%" PRId64 " frames at %.0f Hz) to %s: peak %.4f, RMS %.4f\n",
                static_cast<double>(frames) / options.sampleRate, frames, static_cast<double>(options.sampleRate),
                out.c_str(), peak, rms);
    return 0;
}

// Median processing seconds over the passes, each pass on a fresh instance; -1 on failure.
double benchPlugin(const std::string& path, const MidiSequence& sequence, const RenderOptions& options) {
    std::vector<double> times;
    double audioSeconds = 0.0;
    for (int32_t pass = 0; pass < options.repeat; ++pass) {
        PluginHost host;
        if (!startPlugin(host, path, options)) return -1.0;
        int64_t frames = 0;
        double spent = Renderer::play(host, sequence, options.tailSeconds, [&](int32_t n) {
            frames += n;
            return true;
        });
        audioSeconds = static_cast<double>(frames) / options.sampleRate;
        times.push_back(spent);
    }
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    std::printf("bench %s: %.2f s of audio, %d passes, processing best %.2f ms, median %.2f ms (%.0fx real time)\n",
                path.c_str(), audioSeconds, options.repeat, times.front() * 1000.0, median * 1000.0,
                median > 0.0 ? audioSeconds / median : 0.0);
    return median;
}

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) {
        if (!error.empty()) std::fprintf(stderr, "quilm-render: %s\n", error.c_str());
        std::fputs(RenderOptions::usage(), error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    if (options.gui) return runGui(options.plugins[0], options);
    // A file-size limit fails the write (and so the render) instead of killing the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    for (int stop : {SIGINT, SIGTERM, SIGHUP}) {
        if (std::signal(stop, removeUnfinishedFile) == SIG_IGN) std::signal(stop, SIG_IGN);  // as nohup left it
    }
    MidiSequence sequence;
    if (options.midiFile.empty()) {
        sequence.makeDemo();
    } else if (!sequence.loadFile(options.midiFile, error)) {
        std::fprintf(stderr, "quilm-render: %s\n", error.c_str());
        return 1;
    }
    for (const std::string& warning : sequence.warnings()) {
        std::fprintf(stderr, "quilm-render: warning: %s: %s\n", options.midiFile.c_str(), warning.c_str());
    }
    int status = 0;
    if (options.list) {
        for (const auto& path : options.plugins) status |= listPlugin(path, options);
    }
    if (options.bench) {
        std::vector<double> medians;
        for (const auto& path : options.plugins) {
            double median = benchPlugin(path, sequence, options);
            if (median < 0.0) return 1;
            medians.push_back(median);
        }
        for (std::size_t i = 1; i < medians.size(); ++i) {
            std::printf("ratio %s / %s: %.3f\n", options.plugins[0].c_str(), options.plugins[i].c_str(),
                        medians[i] > 0.0 ? medians[0] / medians[i] : 0.0);
        }
        if (!options.outFile.empty()) status |= renderPlugin(options.plugins[0], sequence, options);
    } else if (!options.list) {
        status = renderPlugin(options.plugins[0], sequence, options);
    }
    return status;
}
