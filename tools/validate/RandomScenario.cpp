#include "tools/validate/RandomScenario.h"

#include <cmath>
#include <cstdio>

#include "plugin/vst/VstOpcodes.h"
#include "tools/validate/AudioDriver.h"
#include "tools/validate/DispatcherFuzzer.h"
#include "tools/validate/HostileValues.h"
#include "tools/validate/MidiFuzzer.h"
#include "tools/validate/PluginInstance.h"

namespace scenario {
namespace {

struct Weights {
    double dispatch;       // share of dispatcher calls
    double params;         // share of parameter calls; the rest renders blocks
    double hostility;      // how wild the MIDI is, 0..1
    double reactivate;     // chance per block of a new sample rate and largest block
    double hostileRate;    // chance that a new activation gives a rate outside 8000..384000
    double lowRate;        // chance that a new activation gives a low rate, 1000..7999
    bool anyBlockSize;     // every block a new size in 1..8192
};

Weights weightsFor(const std::string& kind) {
    if (kind == "dispatch") return {0.6, 0.15, 0.3, 0.01, 0.0, 0.0, false};
    if (kind == "params") return {0.05, 0.6, 0.2, 0.01, 0.0, 0.0, false};
    if (kind == "midi") return {0.0, 0.05, 1.0, 0.01, 0.0, 0.0, false};
    if (kind == "blocks") return {0.0, 0.05, 0.3, 0.02, 0.0, 0.0, true};
    if (kind == "rates") return {0.0, 0.05, 0.3, 0.15, 0.05, 0.25, true};
    return {0.3, 0.2, 0.6, 0.05, 0.02, 0.0, true};  // mixed
}

const char* const kVendors[] = {"quilm-validate", "Steinberg", "Image-Line", "Corvane Audio", ""};

int32_t blockSize(Rng& rng, int32_t maxBlock, bool anySize) {
    if (!anySize) return rng.chance(0.8) ? maxBlock : static_cast<int32_t>(rng.range(1, maxBlock));
    switch (rng.below(3)) {
        case 0: return static_cast<int32_t>(rng.range(1, std::min(16, maxBlock)));
        case 1: return std::min(maxBlock, 1 << rng.below(14));
        default: return static_cast<int32_t>(rng.range(1, maxBlock));
    }
}

void setTime(Rng& rng, float sampleRate) {
    if (rng.chance(0.1)) {
        PluginModule::setTimeAnswer(false, 0.0, 0, sampleRate);
    } else if (rng.chance(0.1)) {
        const double tempos[] = {NAN, INFINITY, -120.0, 0.0, 1e300, 1e-300};
        const auto flags = static_cast<int32_t>(rng.next());  // drawn before the tempo (see Rng.h)
        PluginModule::setTimeAnswer(true, tempos[rng.below(6)], flags, sampleRate);
    } else {
        PluginModule::setTimeAnswer(true, static_cast<double>(rng.range(20, 300)), kVstTempoValid, sampleRate);
    }
}

void parameterCall(PluginInstance& plugin, DispatcherFuzzer& fuzz, Rng& rng) {
    const int32_t count = plugin.effect()->numParams;
    if (rng.chance(0.6)) {
        const float value = hostile::real(rng);  // drawn before the index (see Rng.h)
        plugin.setParameter(hostile::index(rng, count), value);
        return;
    }
    if (rng.chance(0.5)) {
        fuzz.call(rng.chance(0.5) ? effGetParamDisplay : effGetParamName);
        return;
    }
    const int32_t index = hostile::index(rng, count);
    const float value = plugin.getParameter(index);
    if (index >= 0 && index < count && !std::isfinite(value)) {
        char message[96];
        std::snprintf(message, sizeof(message), "getParameter(%d) answered a value that is not finite", index);
        plugin.fault(message);
    }
}

}  // namespace

bool isRandomKind(const std::string& kind) {
    return kind == "dispatch" || kind == "params" || kind == "midi" || kind == "blocks" || kind == "rates" ||
           kind == "mixed";
}

void runRandom(const ScenarioSettings& settings, const std::string& kind, uint64_t seed, uint64_t calls) {
    Rng rng(seed);
    const Weights w = weightsFor(kind);
    PluginModule::setVendor(settings.vendor.empty() ? kVendors[rng.below(std::size(kVendors))] : settings.vendor);
    PluginInstance plugin(*settings.module, {kind, seed, settings.findings});
    if (!plugin.ok()) return;
    plugin.dispatch(effOpen, 0, 0, nullptr, 0.0f, true);

    AudioDriver driver(plugin);
    // The largest block is drawn before the rate (see Rng.h).
    const auto firstMaxBlock = static_cast<int32_t>(rng.range(1, AudioDriver::kMaxBlock));
    driver.activate(hostile::sampleRate(rng, true), firstMaxBlock);
    DispatcherFuzzer fuzz(plugin, rng, driver.maxBlock());
    EventList events;
    bool dirty = false;  // the dispatcher fuzz may have touched rate, block size or on/off state
    bool absurdRate = false;  // the plug-in was last given a rate outside 8000..384000
    while (plugin.calls() < calls) {
        const double r = rng.unit();
        if (r < w.dispatch) {
            dirty = fuzz.step(false) || dirty;
            continue;
        }
        if (r < w.dispatch + w.params) {
            parameterCall(plugin, fuzz, rng);
            continue;
        }
        if (dirty || rng.chance(w.reactivate)) {
            // Only scenarios with a share of low rates draw for it, so the others replay as before.
            const bool low = w.lowRate > 0.0 && rng.chance(w.lowRate);
            const float rate = low ? hostile::lowSampleRate(rng) : hostile::sampleRate(rng, !rng.chance(w.hostileRate));
            const int32_t maxBlock =
                dirty ? driver.maxBlock() : static_cast<int32_t>(rng.range(1, AudioDriver::kMaxBlock));
            absurdRate = !low && !(rate >= 8000.0f && rate <= 384000.0f);
            if (absurdRate) {
                // The plug-in gets the absurd rate; the driver keeps timing with a real one.
                plugin.dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
                plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
                plugin.dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
            } else {
                driver.activate(rate, maxBlock);
            }
            fuzz.setMaxBlock(driver.maxBlock());
            dirty = false;
        }
        setTime(rng, driver.sampleRate());
        const int32_t frames = blockSize(rng, driver.maxBlock(), w.anyBlockSize);
        midifuzz::fill(rng, events, frames, w.hostility);
        driver.process(events, frames);
    }
    if (dirty || absurdRate) driver.activate(driver.sampleRate(), driver.maxBlock());
    PluginModule::setTimeAnswer(true, 120.0, kVstTempoValid, driver.sampleRate());
    driver.checkRelease(settings.releaseSeconds);
    plugin.close();
}

}  // namespace scenario
