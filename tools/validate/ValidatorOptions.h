#pragma once
// Command line of quilm-validate. Parsed on the tool's main thread.

#include <cstdint>
#include <string>
#include <vector>

struct ValidatorOptions {
    std::string plugin;                  // the .so under test
    uint64_t seed = 1;                   // master seed: every scenario seed derives from it
    bool runSeedGiven = false;           // --run-seed: run each scenario once with exactly this seed
    uint64_t runSeed = 0;
    uint64_t calls = 20000;              // calls into the plug-in across all scenario runs
    uint64_t perRun = 2500;              // calls per scenario run
    std::vector<std::string> scenarios;  // empty: all
    int32_t editorCycles = 50;
    double releaseSeconds = 30.0;
    std::string vendor;                  // empty: random per scenario
    bool trace = false;
    std::vector<uint64_t> onlyCalls;     // --only-calls: only these call numbers reach the plug-in
    int32_t scanCount = 0;               // > 0: time this many constructions and do nothing else
    int32_t editorTimeIdles = 0;         // > 0: time the editor (open twice, this many idles) and exit

    // Parses argv; false with error set for a bad command line (empty for --help). A count or
    // seed outside its range is refused with a message that names the option and the range.
    bool parse(int argc, char** argv, std::string& error);
    static const char* usage();
    // Every scenario name, in the order a run visits them.
    static const std::vector<std::string>& allScenarios();
};
