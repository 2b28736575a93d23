// quilm-validate: a hostile VST 2.4 host. Loads a plug-in and runs seeded
// scenarios (hostile dispatcher calls, parameters, MIDI, block sizes, sample
// rates, threads, editor cycles); prints every fault with the seed that
// reproduces it.

#include <chrono>
#include <cstdio>
#include <string>

#include "tools/validate/Findings.h"
#include "tools/validate/PluginInstance.h"
#include "tools/validate/PluginModule.h"
#include "tools/validate/RandomScenario.h"
#include "tools/validate/Rng.h"
#include "tools/validate/ScanTimer.h"
#include "tools/validate/ScenarioSettings.h"
#include "tools/validate/ThreadScenario.h"
#include "tools/validate/ValidatorOptions.h"

namespace {

// The seed of one scenario run: fixed by the master seed, the round and the scenario's name
// (not its place in the list, so that choosing scenarios does not change their seeds).
uint64_t runSeedFor(uint64_t master, uint64_t round, const std::string& scenario) {
    uint64_t h = Rng::mix(master) + round;
    for (char c : scenario) h = Rng::mix(h ^ static_cast<unsigned char>(c));
    return h;
}

void printReproduction(const ValidatorOptions& options, const std::string& kind, uint64_t seed) {
    std::fprintf(stderr, "  reproduce: quilm-validate --scenario %s --run-seed %llu --per-run %llu --calls %llu %s\n",
                 kind.c_str(), static_cast<unsigned long long>(seed), static_cast<unsigned long long>(options.perRun),
                 static_cast<unsigned long long>(options.perRun), options.plugin.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    ValidatorOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) {
        if (!error.empty()) std::fprintf(stderr, "quilm-validate: %s\n", error.c_str());
        std::fputs(ValidatorOptions::usage(), error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    Findings::trace = options.trace;
    PluginInstance::onlyCalls = options.onlyCalls;
    PluginInstance::onlyCallsUpTo = options.perRun;
    Findings::installCrashReport();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    PluginModule module;
    if (!module.load(options.plugin, error)) {
        std::fprintf(stderr, "quilm-validate: %s\n", error.c_str());
        return 2;
    }
    if (options.scanCount > 0) {
        scantime::run(module, options.scanCount);
        return 0;
    }
    if (options.editorTimeIdles > 0) {
        if (!scantime::editorTimes(module, options.editorTimeIdles, error)) {
            std::printf("editor timing skipped: %s\n", error.c_str());
        }
        return 0;
    }

    Findings findings;
    ScenarioSettings settings;
    settings.module = &module;
    settings.findings = &findings;
    settings.releaseSeconds = options.releaseSeconds;
    settings.editorCycles = options.editorCycles;
    settings.vendor = options.vendor;

    const auto started = std::chrono::steady_clock::now();
    uint64_t spent = 0, runs = 0;
    bool editorDone = false;
    for (uint64_t round = 0; spent < options.calls || round == 0; ++round) {
        if (round > 0 && spent == 0) break;  // only the editor, which runs once
        for (std::size_t s = 0; s < options.scenarios.size(); ++s) {
            const std::string& kind = options.scenarios[s];
            const uint64_t seed = options.runSeedGiven ? options.runSeed : runSeedFor(options.seed, round, kind);
            if (round > 0 && spent >= options.calls) break;
            const std::size_t before = findings.count();
            if (kind == "editor") {
                if (editorDone) continue;  // one editor run of editor-cycles per validation
                editorDone = true;
                std::string why;
                std::printf("run editor seed %llu cycles %d\n", static_cast<unsigned long long>(seed),
                            options.editorCycles);
                if (!scenario::runEditor(settings, seed, why)) std::printf("  skipped: %s\n", why.c_str());
            } else {
                const uint64_t budget = std::min(options.perRun, std::max<uint64_t>(options.calls - std::min(spent, options.calls), 1));
                std::printf("run %s seed %llu calls %llu\n", kind.c_str(), static_cast<unsigned long long>(seed),
                            static_cast<unsigned long long>(budget));
                if (kind == "threads") {
                    scenario::runThreads(settings, seed, budget);
                } else {
                    scenario::runRandom(settings, kind, seed, budget);
                }
                spent += budget;
            }
            ++runs;
            if (findings.count() > before) printReproduction(options, kind, seed);
            if (options.runSeedGiven && s + 1 == options.scenarios.size()) spent = options.calls;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%llu scenario runs, about %llu calls, %.1f s: %zu fault%s\n", static_cast<unsigned long long>(runs),
                static_cast<unsigned long long>(spent), seconds, findings.count(), findings.count() == 1 ? "" : "s");
    return findings.count() == 0 ? 0 : 1;
}
