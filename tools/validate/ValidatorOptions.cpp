#include "tools/validate/ValidatorOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

const std::vector<std::string>& ValidatorOptions::allScenarios() {
    static const std::vector<std::string> names = {"dispatch", "params", "midi",    "blocks",
                                                   "rates",    "mixed",  "threads", "editor"};
    return names;
}

const char* ValidatorOptions::usage() {
    return "usage: quilm-validate [options] PLUGIN.so\n"
           "Loads a Linux VST 2.4 plug-in and runs seeded hostile-host scenarios against it.\n"
           "Counts and seeds are whole numbers in decimal digits, without a sign.\n"
           "  --seed N             master seed, 0 to 18446744073709551615 (default 1);\n"
           "                       scenario seeds derive from it\n"
           "  --calls N            calls into the plug-in over all runs, 1 to 1000000000 (default 20000)\n"
           "  --per-run N          calls per scenario run, 1 to 1000000000 (default 2500)\n"
           "  --scenario NAME      run only this scenario (repeatable): dispatch params midi\n"
           "                       blocks rates mixed threads editor (default: all)\n"
           "  --run-seed N         run each chosen scenario once with exactly this seed, 0 to\n"
           "                       18446744073709551615 (the seed a fault report gives)\n"
           "  --editor-cycles N    editor open/idle/close cycles per editor run, 1 to 1000000 (default 50)\n"
           "  --release-seconds S  longest wait for silence after all notes are released (default 30)\n"
           "  --vendor TEXT        host vendor string (default: varies per scenario)\n"
           "  --trace              print every call before it is made\n"
           "  --only-calls LIST    only these call numbers (e.g. 3,7,10-20; 0 to 1000000000) reach the\n"
           "                       plug-in; the others are skipped, to cut a fault down to its cause\n"
           "  --scan-time N        time N constructions (what a host's scan costs), 1 to 1000000; then exit\n"
           "  --editor-time N      time the editor: first and second open, N idles, 1 to 1000000; then exit\n"
           "Exit status: 0 nothing found, 1 faults found, 2 bad command line or plug-in not loadable.\n";
}

namespace {
// The most calls a person could mean (a thousand long passes), and the most editor cycles,
// constructions or idles: larger values are typos, or a negative number read as unsigned.
constexpr uint64_t kMaxCalls = 1000000000;
constexpr uint64_t kMaxCycles = 1000000;

// A whole number from lo to hi in decimal digits, as fault reports print seeds. strtoull
// alone would skip leading white space and take a sign, wrapping "-1" to 2^64 - 1.
bool number(const char* text, uint64_t lo, uint64_t hi, uint64_t& out) {
    if (*text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return *end == '\0' && errno != ERANGE && out >= lo && out <= hi;
}
// "3,7,10-20" -> 3 7 10 11 ... 20, sorted.
// A replay list names a cut-down reproduction, never millions of calls: one range of at
// most this many calls keeps a typo from exhausting memory.
constexpr uint64_t kMaxListedCalls = 10000000;

bool callList(const char* text, std::vector<uint64_t>& out) {
    std::string s(text);
    std::size_t at = 0;
    while (at <= s.size()) {
        std::size_t comma = s.find(',', at);
        if (comma == std::string::npos) comma = s.size();
        const std::string item = s.substr(at, comma - at);
        const std::size_t dash = item.find('-');
        uint64_t lo = 0, hi = 0;
        if (dash == std::string::npos) {
            if (!number(item.c_str(), 0, kMaxCalls, lo)) return false;
            hi = lo;
        } else if (!number(item.substr(0, dash).c_str(), 0, kMaxCalls, lo) ||
                   !number(item.substr(dash + 1).c_str(), 0, kMaxCalls, hi) || hi < lo ||
                   hi - lo >= kMaxListedCalls) {
            return false;
        }
        for (uint64_t n = lo; n <= hi; ++n) out.push_back(n);
        at = comma + 1;
    }
    std::sort(out.begin(), out.end());
    return !out.empty();
}
}  // namespace

bool ValidatorOptions::parse(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto next = [&](const char*& value) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        const char* value = nullptr;
        uint64_t n = 0;
        // Every count and seed option is read here, refused with its range when out of it.
        auto count = [&](uint64_t lo, uint64_t hi, uint64_t& out) {
            if (number(value, lo, hi, out)) return true;
            error = std::string(arg) + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
            return false;
        };
        if (std::strcmp(arg, "--trace") == 0) {
            trace = true;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            error = "";
            return false;
        } else if (arg[0] == '-' && arg[1] == '-') {
            if (!next(value)) return false;
            if (std::strcmp(arg, "--seed") == 0) {
                if (!count(0, UINT64_MAX, seed)) return false;
            } else if (std::strcmp(arg, "--run-seed") == 0) {
                if (!count(0, UINT64_MAX, runSeed)) return false;
                runSeedGiven = true;
            } else if (std::strcmp(arg, "--calls") == 0) {
                if (!count(1, kMaxCalls, calls)) return false;
            } else if (std::strcmp(arg, "--per-run") == 0) {
                if (!count(1, kMaxCalls, perRun)) return false;
            } else if (std::strcmp(arg, "--editor-cycles") == 0) {
                if (!count(1, kMaxCycles, n)) return false;
                editorCycles = static_cast<int32_t>(n);
            } else if (std::strcmp(arg, "--scan-time") == 0) {
                if (!count(1, kMaxCycles, n)) return false;
                scanCount = static_cast<int32_t>(n);
            } else if (std::strcmp(arg, "--editor-time") == 0) {
                if (!count(1, kMaxCycles, n)) return false;
                editorTimeIdles = static_cast<int32_t>(n);
            } else if (std::strcmp(arg, "--release-seconds") == 0) {
                releaseSeconds = std::atof(value);
                if (!(releaseSeconds > 0.0)) {
                    error = "--release-seconds needs a positive number";
                    return false;
                }
            } else if (std::strcmp(arg, "--only-calls") == 0) {
                if (!callList(value, onlyCalls)) {
                    error = "--only-calls needs numbers and ranges like 3,7,10-20";
                    return false;
                }
            } else if (std::strcmp(arg, "--vendor") == 0) {
                vendor = value;
            } else if (std::strcmp(arg, "--scenario") == 0) {
                const auto& all = allScenarios();
                if (std::find(all.begin(), all.end(), value) == all.end()) {
                    error = std::string("unknown scenario ") + value;
                    return false;
                }
                scenarios.push_back(value);
            } else {
                error = std::string("bad option or value: ") + arg + " " + value;
                return false;
            }
        } else if (plugin.empty()) {
            plugin = arg;
        } else {
            error = "only one plug-in at a time";
            return false;
        }
    }
    if (plugin.empty()) {
        error = "no plug-in given";
        return false;
    }
    if (scenarios.empty()) scenarios = allScenarios();
    return true;
}
