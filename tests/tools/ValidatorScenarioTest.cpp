// What each of quilm-validate's single-threaded scenarios does to a plug-in,
// measured from its trace: the mix of calls, how often block sizes and sample
// rates change, and how wild the MIDI is. A scenario whose settings shift shows
// here, and so does a recorded seed that no longer makes the call it was kept for.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "ValidatorRun.h"
#include "plugin/vst/VstOpcodes.h"

namespace {

constexpr int kCalls = 20000;  // per scenario: enough blocks for shares within a few per cent

// Counts from one scenario's trace, up to its call budget (the release check that follows is left out).
struct ScenarioProfile {
    int blocks = 0;          // processReplacing calls
    int sizeChanges = 0;     // blocks of another size than the one before
    int fuzzCalls = 0;       // dispatcher calls other than rendering, switching and rate setup
    int parameterCalls = 0;  // setParameter and getParameter
    int activations = 0;     // switched off, new rate and largest block, switched on
    int lowRates = 0;        // activations at 1000..7999 Hz
    int absurdRates = 0;     // rates given to the plug-in alone, with no new largest block
    int events = 0;          // MIDI events handed over
    int eventsOutside = 0;   // of which the frame lies outside their block
};

// "call [kind seed S call N] BODY": N and BODY, or 0 for lines that are no numbered call.
int callNumber(const std::string& line, std::string& body) {
    const std::size_t end = line.find("] ");
    const std::size_t at = line.rfind(" call ", end);
    if (line.rfind("call [", 0) != 0 || end == std::string::npos || at == std::string::npos) return 0;
    body = line.substr(end + 2);
    return std::atoi(line.c_str() + at + 6);
}

bool hasOpcode(const std::string& body, int opcode) {
    return body.find(" [" + std::to_string(opcode) + "] ") != std::string::npos;
}

bool switchesOff(const std::string& body) { return hasOpcode(body, effMainsChanged) && body.ends_with("(0, 0, 0)"); }

// The float argument that ends a call's description: "(index, value, OPT)".
double lastArgument(const std::string& body) { return std::strtod(body.c_str() + body.rfind(", ") + 2, nullptr); }

ScenarioProfile profileOf(const std::string& trace) {
    ScenarioProfile p;
    std::istringstream lines(trace);
    std::vector<int> eventFrames;  // of the coming block
    int lastSize = -1;
    std::string previous, body;
    bool rateGiven = false;  // the call before gave a rate right after switching off
    double rate = 0.0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" event ") != std::string::npos && line.find(" frame ") != std::string::npos) {
            eventFrames.push_back(std::atoi(line.c_str() + line.find(" frame ") + 7));
            continue;
        }
        const int n = callNumber(line, body);
        if (n == 0) continue;
        if (n > kCalls) break;
        if (rateGiven) {
            // The driver gives a new largest block with every rate it plays at; an absurd rate goes alone.
            if (hasOpcode(body, effSetBlockSize)) {
                ++p.activations;
                p.lowRates += rate >= 1000.0 && rate < 8000.0;
            } else if (hasOpcode(body, effMainsChanged)) {
                ++p.absurdRates;
            }
        }
        rateGiven = hasOpcode(body, effSetSampleRate) && switchesOff(previous);
        if (body.starts_with("processReplacing(")) {
            const int size = std::atoi(body.c_str() + 17);
            p.sizeChanges += p.blocks > 0 && size != lastSize;
            lastSize = size;
            ++p.blocks;
            for (int frame : eventFrames) p.eventsOutside += frame < 0 || frame >= size;
            p.events += static_cast<int>(eventFrames.size());
            eventFrames.clear();
        } else if (body.starts_with("setParameter(") || body.starts_with("getParameter(")) {
            ++p.parameterCalls;
        } else if (rateGiven) {
            rate = lastArgument(body);
        } else if (!hasOpcode(body, effProcessEvents) && !hasOpcode(body, effMainsChanged) &&
                   !hasOpcode(body, effSetSampleRate) && !hasOpcode(body, effSetBlockSize)) {
            ++p.fuzzCalls;
        }
        previous = body;
    }
    return p;
}

struct ScenarioCase {
    const char* kind;
    double fuzzPerBlock;         // dispatcher calls of the fuzzer per rendered block
    double parametersPerBlock;   // parameter calls per rendered block
    double activationsPerBlock;  // new rate and largest block, per rendered block
    double lowRateShare;         // of the activations
    double outsideEventShare;    // of the events: the wilder the MIDI, the more
    bool sizeChangesEveryBlock;  // else most blocks take the largest size
    bool absurdRates;            // NaN, infinite, zero, negative rates now and then
};

void PrintTo(const ScenarioCase& c, std::ostream* out) { *out << c.kind; }

class ValidatorScenarios : public testing::TestWithParam<ScenarioCase> {};

// Within a quarter of the figure the scenario is known for; 0 means none at all.
void expectAbout(double measured, double expected, const char* what) {
    if (expected == 0.0) {
        EXPECT_LT(measured, 0.01) << what;
    } else {
        EXPECT_NEAR(measured, expected, expected * 0.25) << what;
    }
}

TEST_P(ValidatorScenarios, MixTheirCallsAsTheyAreKnownFor) {
    const ScenarioCase& c = GetParam();
    const ValidatorRun run = runValidator("none", std::string("--scenario ") + c.kind + " --run-seed 1 --per-run " +
                                                      std::to_string(kCalls) + " --calls " + std::to_string(kCalls) +
                                                      " --trace");
    ASSERT_EQ(run.status, 0) << run.output.substr(0, 2000);
    const ScenarioProfile p = profileOf(run.output);
    ASSERT_GT(p.blocks, 1000);
    ASSERT_GT(p.activations, 0);
    const double blocks = p.blocks;
    expectAbout(p.fuzzCalls / blocks, c.fuzzPerBlock, "dispatcher calls per block");
    expectAbout(p.parameterCalls / blocks, c.parametersPerBlock, "parameter calls per block");
    expectAbout(p.activations / blocks, c.activationsPerBlock, "activations per block");
    expectAbout(static_cast<double>(p.lowRates) / p.activations, c.lowRateShare, "share of low rates");
    expectAbout(static_cast<double>(p.eventsOutside) / p.events, c.outsideEventShare, "events outside the block");
    const double changes = p.sizeChanges / (blocks - 1);
    if (c.sizeChangesEveryBlock) {
        EXPECT_GT(changes, 0.9) << "share of blocks with a new size";
    } else {
        EXPECT_LT(changes, 0.5) << "share of blocks with a new size";
    }
    EXPECT_EQ(p.absurdRates > 0, c.absurdRates) << p.absurdRates << " absurd rates";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ValidatorScenarios,
    testing::Values(
        //            kind        fuzz  params activ. low   outside every absurd
        ScenarioCase{"dispatch", 2.4, 0.48, 0.18, 0.0, 0.092, false, false},
        ScenarioCase{"params", 0.48, 1.36, 0.023, 0.0, 0.052, false, false},
        ScenarioCase{"midi", 0.011, 0.044, 0.010, 0.0, 0.25, false, false},
        ScenarioCase{"blocks", 0.010, 0.042, 0.020, 0.0, 0.075, true, false},
        ScenarioCase{"rates", 0.010, 0.042, 0.15, 0.25, 0.075, true, true},
        ScenarioCase{"mixed", 0.65, 0.32, 0.10, 0.0, 0.155, true, true}),
    [](const testing::TestParamInfo<ScenarioCase>& info) { return std::string(info.param.kind); });

// Seeds kept as regression scenarios replay the call that showed the fault they were kept for
// (the test instrument has fewer parameters, so only the value is compared).
TEST(Validator, RecordedSeedsReachTheCallTheyWereKeptFor) {
    struct Recorded {
        const char* kind;
        const char* seed;
        int call;
        const char* value;
    };
    const Recorded cases[] = {
        {"params", "9716232063330790915", 245, "3.40282e+38)"},
        {"params", "6791897765849424158", 1352, "1.53287)"},
        {"blocks", "9829055071652658229", 1915, "312.397)"},
        {"mixed", "10205128478817631857", 4669, "3.40282e+38)"},
    };
    for (const Recorded& r : cases) {
        const std::string call = std::to_string(r.call);
        const ValidatorRun run = runValidator("none", std::string("--scenario ") + r.kind + " --run-seed " + r.seed +
                                                          " --per-run " + call + " --calls " + call +
                                                          " --only-calls " + call + " --trace");
        const std::string mark = std::string("seed ") + r.seed + " call " + call + "] setParameter(";
        const std::size_t at = run.output.find(mark);
        ASSERT_NE(at, std::string::npos) << r.kind << " " << r.seed;
        const std::string line = run.output.substr(at, run.output.find('\n', at) - at);
        EXPECT_NE(line.find(r.value), std::string::npos) << line;
    }
}

}  // namespace
