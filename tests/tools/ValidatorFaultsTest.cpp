// quilm-validate against a plug-in with one known fault at a time: each fault
// must be reported (exit status 1, or the crash report), and the same plug-in
// without a fault must pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <sys/wait.h>

namespace {

struct ValidatorRun {
    int status;          // exit status, or 128 + signal
    std::string output;  // stdout and stderr
};

ValidatorRun runValidator(const std::string& fault, const std::string& arguments) {
    const std::string command = "QUILM_FAULTY_PLUGIN=" + fault + " " + QUILM_VALIDATE_EXE + " " + arguments +
                                " --release-seconds 2 " + QUILM_FAULTY_PLUGIN + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ValidatorRun run{-1, {}};
    if (pipe == nullptr) return run;
    std::array<char, 4096> chunk;
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) run.output += chunk.data();
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return run;
}

struct FaultCase {
    const char* fault;      // QUILM_FAULTY_PLUGIN
    const char* arguments;  // scenario choice and budget
    const char* expected;   // text the report must hold
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.fault << " " << c.arguments; }

class ValidatorFinds : public testing::TestWithParam<FaultCase> {};

TEST_P(ValidatorFinds, TheFault) {
    const FaultCase& c = GetParam();
    const ValidatorRun run = runValidator(c.fault, c.arguments);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(c.expected), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("reproduce: quilm-validate --scenario"), std::string::npos) << run.output;
}

const FaultCase kFaults[] = {
    {"name-overflow", "--scenario dispatch --calls 1500", "effGetParamName (index"},
    {"label-unterminated", "--scenario dispatch --calls 1500", "without a NUL"},
    {"nan-out-of-range", "--scenario params --calls 1500", "not finite"},
    {"hanging-note", "--scenario midi --calls 300", "hanging sound"},
    {"block-overrun", "--scenario blocks --calls 100", "written outside the"},
    {"unwritten", "--scenario blocks --calls 100", "not written by processReplacing"},
    {"offset-past-block", "--scenario midi --calls 1500", "written outside the"},
    {"record-change", "--scenario dispatch --calls 1500", "AEffect record changed after effGetVendorString"},
    {"getparameter-nan", "--scenario params --calls 500", "getParameter("},
    {"getparameter-nan", "--scenario threads --calls 3000", "getParameter("},
};
INSTANTIATE_TEST_SUITE_P(Faults, ValidatorFinds, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             std::string name = std::string(info.param.fault) + "_" + std::to_string(info.index);
                             for (char& ch : name) {
                                 if (ch == '-') ch = '_';
                             }
                             return name;
                         });

TEST(Validator, PassesACorrectPlugin) {
    const ValidatorRun run = runValidator("none", "--calls 6000 --per-run 1000");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("0 faults"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("skipped: the plug-in reports no editor"), std::string::npos) << run.output;
}

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
    std::string calls;
    std::size_t at = 0;
    while (at < output.size()) {
        std::size_t end = output.find('\n', at);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(at, end - at);
        if (line.rfind("call ", 0) == 0 && line.find("effEdit") == std::string::npos) calls += line + "\n";
        at = end + 1;
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

TEST(Validator, AFallingTailIsNoHangingNote) {
    const ValidatorRun run = runValidator("slow-tail", "--scenario midi --calls 300");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("a falling tail remains"), std::string::npos) << run.output;
}

TEST(Validator, CyclesAnEditorWhileAudioAndAutomationRun) {
    const ValidatorRun run = runValidator("has-editor", "--scenario editor --editor-cycles 20");
    if (run.output.find("no X display") != std::string::npos) GTEST_SKIP() << "no X display";
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("skipped"), std::string::npos) << run.output;
}

TEST(Validator, RejectsABadCommandLine) {
    EXPECT_EQ(runValidator("none", "--scenario nosuch").status, 2);
    EXPECT_EQ(runValidator("none", "--only-calls 5-2").status, 2);
}

}  // namespace
