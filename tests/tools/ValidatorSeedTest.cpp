// A seed makes the same calls whichever compiler built quilm-validate: each row
// pins the trace of one seed, as a digest, to the calls the validator made when
// the seeds kept in tests and notes were recorded. Threads run as the system
// schedules them, so two rows pin one thread's calls only: the editor's UI
// thread, and the first blocks of the threads scenario's audio thread (its
// first phase lasts until that thread has rendered 40 blocks).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "ValidatorRun.h"

namespace {

enum class Part {
    Whole,       // every call, numbered, and every event
    UiThread,    // the dispatcher calls of the UI thread, without numbers (other threads take some)
    AudioStart,  // the audio thread's events and blocks up to its 40th block, without numbers
};

constexpr int kAudioBlocks = 40;

// The lines of a trace that part keeps.
std::string partOf(const std::string& output, Part part) {
    std::istringstream lines(output);
    std::string kept;
    int blocks = 0;
    for (std::string line; std::getline(lines, line);) {
        const bool event = line.starts_with("      event ");
        if (!event && !line.starts_with("call ")) continue;
        if (part == Part::Whole) {
            kept += line + "\n";
            continue;
        }
        // "call [kind seed S call N] BODY": BODY alone.
        const std::size_t end = line.find("] ");
        const std::string body = event || end == std::string::npos ? line : line.substr(end + 2);
        const bool block = body.starts_with("processReplacing(");
        const bool audio = event || block || body.find("effProcessEvents") != std::string::npos;
        const bool automation = body.starts_with("setParameter(") || body.starts_with("getParameter(");
        if (part == Part::UiThread && !audio && !automation) kept += body + "\n";
        if (part == Part::AudioStart && audio) {
            kept += body + "\n";
            if (block && ++blocks == kAudioBlocks) break;
        }
    }
    return kept;
}

// FNV-1a, 64 bits.
uint64_t digestOf(const std::string& text) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : text) h = (h ^ c) * 0x100000001B3ull;
    return h;
}

struct PinnedSeed {
    const char* kind;       // the scenario
    const char* fault;      // the test instrument's fault: "has-editor" gives it an editor
    const char* arguments;  // seed and budget
    Part part;
    uint64_t digest;        // of the part, as recorded
};

void PrintTo(const PinnedSeed& p, std::ostream* out) { *out << p.kind; }

constexpr const char* kRun = "--run-seed 11 --per-run 2000 --calls 2000";
constexpr const char* kEditorRun = "--run-seed 11 --editor-cycles 8";

class PinnedSeeds : public testing::TestWithParam<PinnedSeed> {};

TEST_P(PinnedSeeds, MakeTheCallsTheyWereRecordedWith) {
    const PinnedSeed& p = GetParam();
    const ValidatorRun run =
        runValidator(p.fault, std::string("--scenario ") + p.kind + " " + p.arguments + " --trace");
    if (run.output.find("no X display") != std::string::npos) GTEST_SKIP() << "no X display";
    ASSERT_EQ(run.status, 0) << run.output.substr(0, 2000);
    const std::string part = partOf(run.output, p.part);
    ASSERT_GT(part.size(), 2000u) << part;
    if (p.part == Part::AudioStart) {
        int blocks = 0;
        for (std::size_t at = part.find("processReplacing("); at != std::string::npos;
             at = part.find("processReplacing(", at + 1)) {
            ++blocks;
        }
        ASSERT_EQ(blocks, kAudioBlocks);
    }
    char digest[24];
    std::snprintf(digest, sizeof(digest), "0x%016llX", static_cast<unsigned long long>(digestOf(part)));
    EXPECT_EQ(digestOf(part), p.digest) << "digest " << digest << " of a part that begins:\n" << part.substr(0, 600);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PinnedSeeds,
    testing::Values(
        //         kind        fault         arguments   part              digest
        PinnedSeed{"dispatch", "none",       kRun,       Part::Whole,      0xC836FA1720C0CC81ull},
        PinnedSeed{"params",   "none",       kRun,       Part::Whole,      0x7357150B3A8F398Eull},
        PinnedSeed{"midi",     "none",       kRun,       Part::Whole,      0x9F39825FD724B1F3ull},
        PinnedSeed{"blocks",   "none",       kRun,       Part::Whole,      0x77C48E2B0267F941ull},
        PinnedSeed{"rates",    "none",       kRun,       Part::Whole,      0xBA66138317419E30ull},
        PinnedSeed{"mixed",    "none",       kRun,       Part::Whole,      0x54E8631AEECD96D0ull},
        PinnedSeed{"editor",   "has-editor", kEditorRun, Part::UiThread,   0x3FE6647892FCC5BDull},
        PinnedSeed{"threads",  "none",       kRun,       Part::AudioStart, 0x56CD42F65D901139ull}),
    [](const testing::TestParamInfo<PinnedSeed>& info) { return std::string(info.param.kind); });

}  // namespace
