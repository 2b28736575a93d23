// quilm-validate against a plug-in with one known fault at a time: each fault
// must be reported (exit status 1, or the crash report), and the same plug-in
// without a fault must pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "ValidatorRun.h"

namespace {

struct RunCase {
    const char* name;       // the case's test name
    const char* fault;      // QUILM_FAULTY_PLUGIN
    const char* arguments;  // scenario choice and budget
    int status;             // 1: a fault found, 0: none, 2: a bad command line
    const char* expected;   // text the report must hold
};

class ValidatorRuns : public testing::TestWithParam<RunCase> {};

TEST_P(ValidatorRuns, ReportTheFaultOrItsAbsence) {
    const RunCase& c = GetParam();
    const ValidatorRun run = runValidator(c.fault, c.arguments);
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_NE(run.output.find(c.expected), std::string::npos) << run.output;
    const char* summary = c.status == 1 ? "reproduce: quilm-validate --scenario" : c.status == 0 ? "0 faults" : "";
    EXPECT_NE(run.output.find(summary), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ValidatorRuns,
    testing::Values(
        RunCase{"NameOverflow", "name-overflow", "--scenario dispatch --calls 1500", 1, "effGetParamName (index"},
        RunCase{"LabelUnterminated", "label-unterminated", "--scenario dispatch --calls 1500", 1, "without a NUL"},
        RunCase{"NanOutOfRange", "nan-out-of-range", "--scenario params --calls 1500", 1, "not finite"},
        RunCase{"HangingNote", "hanging-note", "--scenario midi --calls 300", 1, "hanging sound"},
        RunCase{"BlockOverrun", "block-overrun", "--scenario blocks --calls 100", 1, "written outside the"},
        RunCase{"Unwritten", "unwritten", "--scenario blocks --calls 100", 1, "not written by processReplacing"},
        RunCase{"OffsetPastBlock", "offset-past-block", "--scenario midi --calls 1500", 1, "written outside the"},
        RunCase{"RecordChange", "record-change", "--scenario dispatch --calls 1500", 1,
                "AEffect record changed after effGetVendorString"},
        // A VST 2.3 plug-in with only the accumulating process is refused before any call.
        RunCase{"AccumulatingOnly", "accumulating-only", "--scenario dispatch --calls 100", 1,
                "lacks its magic number or an entry point"},
        RunCase{"GetParameterNanInParams", "getparameter-nan", "--scenario params --calls 500", 1, "getParameter("},
        RunCase{"GetParameterNanInThreads", "getparameter-nan", "--scenario threads --calls 3000", 1,
                "getParameter("},
        // The correct plug-in passes every scenario, and a falling tail is no hanging note.
        RunCase{"NoFaultInAnyScenario", "none", "--calls 6000 --per-run 1000", 0,
                "skipped: the plug-in reports no editor"},
        RunCase{"SlowTail", "slow-tail", "--scenario midi --calls 300", 0, "a falling tail remains"},
        RunCase{"UnknownScenario", "none", "--scenario nosuch", 2, ""},
        RunCase{"ReversedCallRange", "none", "--only-calls 5-2", 2, ""}),
    [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(Validator, NamesTheCallDuringWhichThePluginCrashed) {
    const ValidatorRun run = runValidator("crash-long-text", "--scenario dispatch --calls 3000");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("failed during"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("effSetProgramName"), std::string::npos) << run.output;
}

TEST(Validator, OnlyCallsCutsAFaultDownToItsCause) {
    // The whole run finds the overflow; the same seed with only the first call finds nothing.
    const std::string seed = "--scenario dispatch --run-seed 77 --per-run 1500 --calls 1500";
    EXPECT_EQ(runValidator("name-overflow", seed).status, 1);
    EXPECT_EQ(runValidator("name-overflow", seed + " --only-calls 1").status, 0);
}

// The calls of a trace (numbers, opcodes, arguments), without the editor calls.
std::string callsWithoutEditor(const std::string& output) {
    std::istringstream lines(output);
    std::string calls;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("call ", 0) == 0 && line.find("effEdit") == std::string::npos) calls += line + "\n";
    }
    return calls;
}

TEST(Validator, ASeedReplaysTheSameCallsWithOrWithoutAnEditor) {
    const std::string arguments = "--scenario mixed --run-seed 5 --per-run 1500 --calls 1500 --trace";
    const std::string first = callsWithoutEditor(runValidator("none", arguments).output);
    EXPECT_GT(first.size(), 10000u);
    for (const char* fault : {"none", "has-editor"}) {
        const std::string again = callsWithoutEditor(runValidator(fault, arguments).output);
        const auto differ = std::mismatch(first.begin(), first.end(), again.begin(), again.end());
        EXPECT_TRUE(differ.first == first.end() && differ.second == again.end())
            << fault << " differs at: " << std::string(differ.first, std::min(differ.first + 120, first.end()));
    }
}

TEST(Validator, DispatchReachesEveryOpcode) {
    const std::string output = runValidator("none", "--scenario dispatch --calls 20000 --per-run 20000 --trace").output;
    for (int opcode = 2; opcode < 80; ++opcode) {
        const std::string tag = " [" + std::to_string(opcode) + "] ";
        EXPECT_NE(output.find(tag), std::string::npos) << "opcode " << opcode;
    }
}

TEST(Validator, CyclesAnEditorWhileAudioAndAutomationRun) {
    const ValidatorRun run = runValidator("has-editor", "--scenario editor --editor-cycles 20");
    if (run.output.find("no X display") != std::string::npos) GTEST_SKIP() << "no X display";
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("skipped"), std::string::npos) << run.output;
}

}  // namespace
