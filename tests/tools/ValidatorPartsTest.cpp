// The validator's own parts: reproducible random streams, hostile values that
// cover every edge the scenarios promise, guard regions that see every stray
// byte, and event lists longer than the record's two declared pointers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "tools/validate/EventList.h"
#include "tools/validate/GuardedBuffer.h"
#include "tools/validate/HostileValues.h"
#include "tools/validate/Rng.h"
#include "tools/validate/ValidatorOptions.h"
#include "tests/common/CommandRun.h"

namespace {

TEST(Rng, SeedsGiveTheirOwnStreamsAndRangesStayInBounds) {
    Rng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const uint64_t x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
    std::set<int64_t> seen;
    for (int i = 0; i < 10000; ++i) {
        const int64_t x = a.range(-3, 3);
        const double u = a.unit();
        ASSERT_TRUE(x >= -3 && x <= 3 && u >= 0.0 && u < 1.0) << x << " " << u;
        seen.insert(x);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(a.below(0), 0u);
}

TEST(HostileValues, ReachEveryPromisedEdge) {
    Rng rng(1);
    std::set<std::string> floats, indexes;
    std::set<std::size_t> lengths;
    for (int i = 0; i < 20000; ++i) {
        const float x = hostile::real(rng);
        if (std::isnan(x)) floats.insert("nan");
        if (std::isinf(x)) floats.insert(x > 0 ? "+inf" : "-inf");
        if (std::isfinite(x) && std::fabs(x) > 1e30f) floats.insert("huge");
        if (std::isfinite(x) && (x < 0.0f || x > 1.0f)) floats.insert("outside");
        if (x > 0.0f && x < 1.0f) floats.insert("inside");
        const int32_t k = hostile::index(rng, 82);
        indexes.insert(k < 0 ? "negative" : k == 82 ? "one past" : k < 82 ? "valid" : "beyond");
        if (k == INT32_MAX || k == INT32_MIN) indexes.insert("extreme");
        if (i < 5000) lengths.insert(hostile::text(rng).size());
        const float rate = hostile::sampleRate(rng, true);
        ASSERT_TRUE(rate >= 8000.0f && rate <= 384000.0f) << rate;
    }
    EXPECT_EQ(floats, (std::set<std::string>{"nan", "+inf", "-inf", "huge", "outside", "inside"}));
    for (const char* kind : {"negative", "one past", "valid", "extreme"}) EXPECT_TRUE(indexes.count(kind)) << kind;
    for (int length : hostile::kTextLengths) EXPECT_TRUE(lengths.count(static_cast<std::size_t>(length))) << length;
}

TEST(GuardedBuffer, SeesEveryByteOutsideTheAllowedRegionAndKnowsTerminatedTexts) {
    const std::pair<long, bool> writes[] = {{0, false},       {8, false}, {9, true}, {4095 + 9, true}, {-1, true},
                                            {-static_cast<long>(GuardedBuffer::kGuardBytes), true}};
    for (const auto& [offset, overrun] : writes) {
        GuardedBuffer buffer(9);
        buffer.text()[offset] = 'x';
        bool found = false;
        const long at = buffer.firstOverrun(found);
        EXPECT_EQ(found, overrun) << offset;
        if (overrun) {
            EXPECT_EQ(at, offset);
        }
        EXPECT_EQ(buffer.overrunBytes(), overrun ? 1u : 0u) << offset;
    }
    GuardedBuffer buffer(9);
    EXPECT_FALSE(buffer.touched());
    std::memcpy(buffer.text(), "Unknown ", 9);
    EXPECT_TRUE(buffer.touched());
    EXPECT_TRUE(buffer.terminated());
    EXPECT_EQ(buffer.writtenText(), "Unknown ");
    buffer.refill();
    std::memset(buffer.text(), 'L', 9);
    EXPECT_FALSE(buffer.terminated());
}

TEST(EventList, HoldsMoreEventsThanTheRecordDeclares) {
    EventList list;
    for (int i = 0; i < 150; ++i) list.addMidi(i, 0x90, static_cast<uint8_t>(i & 0x7F), 100);
    list.addSysex(3, std::vector<char>(10, 0x11));
    VstEvents* events = list.events();
    ASSERT_EQ(events->numEvents, 151);
    // The pointers run on past the two the record declares.
    VstEvent* const* slots = reinterpret_cast<VstEvent* const*>(reinterpret_cast<const char*>(events) +
                                                                 offsetof(VstEvents, events));
    const auto* last = reinterpret_cast<const VstMidiEvent*>(slots[149]);
    EXPECT_EQ(last->deltaFrames, 149);
    EXPECT_EQ(last->byteSize, static_cast<int32_t>(sizeof(VstMidiEvent)));
    const auto* sysex = reinterpret_cast<const SysexEvent*>(slots[150]);
    EXPECT_EQ(sysex->type, kVstSysExType);
    EXPECT_EQ(sysex->dumpBytes, 10);
    EXPECT_EQ(sysex->sysexDump[9], 0x11);
}

TEST(ValidatorOptions, ParsesCallListsAndScenarios) {
    const char* argv[] = {"quilm-validate", "--only-calls", "9,3-5", "--scenario", "midi", "x.so"};
    ValidatorOptions options;
    std::string error;
    ASSERT_TRUE(options.parse(6, const_cast<char**>(argv), error)) << error;
    EXPECT_EQ(options.onlyCalls, (std::vector<uint64_t>{3, 4, 5, 9}));
    EXPECT_EQ(options.scenarios, std::vector<std::string>{"midi"});
    EXPECT_EQ(options.plugin, "x.so");
}

// Each count and seed option: values at both ends of its range are read as written; signs,
// spaces, junk and values past either end are refused with a message naming the option and
// its range, by the program too, before it loads the plug-in (whose path does not exist).
TEST(ValidatorOptions, TakeCountsAndSeedsOnlyInTheirRanges) {
    const std::string calls = "takes a whole number from 1 to 1000000000",
                      cycles = "takes a whole number from 1 to 1000000",
                      seeds = "takes a whole number from 0 to 18446744073709551615";
    struct OptionCase {
        const char* option;
        std::string refusal;  // the message after the option's name
        std::vector<const char*> taken, refused;
    };
    const OptionCase cases[] = {
        {"--calls", calls, {"1", "1000000000"}, {"-5", "18446744073709551615", "0", "1000000001"}},
        {"--per-run", calls, {"1", "1000000000"}, {"-1", "0", "1000000001"}},
        {"--editor-cycles", cycles, {"1", "1000000"}, {"-1", "0", "1000001"}},
        {"--scan-time", cycles, {"1", "1000000"}, {"-1", "0", "1000001"}},
        {"--editor-time", cycles, {"1", "1000000"}, {"-1", "0", "1000001"}},
        {"--seed", seeds, {"0", "18446744073709551615"}, {"-1", "18446744073709551616", "0x10"}},
        {"--run-seed", seeds, {"0", "18446744073709551615"}, {"-1", "99999999999999999999"}},
        {"--only-calls", "needs numbers and ranges like 3,7,10-20", {"0", "1000000000"}, {"3,-1", "-5", "1-+3", "1000000001"}},
    };
    for (const OptionCase& c : cases) {
        std::vector<const char*> refused = c.refused;
        refused.insert(refused.end(), {"", "+1", " 1", "1x", "1 "});
        for (const char* value : c.taken) {
            const char* argv[] = {"quilm-validate", c.option, value, "x.so"};
            ValidatorOptions o;
            std::string error;
            ASSERT_TRUE(o.parse(4, const_cast<char**>(argv), error)) << c.option << " " << value << ": " << error;
            const std::map<std::string, uint64_t> read = {
                {"--calls", o.calls}, {"--per-run", o.perRun}, {"--editor-cycles", o.editorCycles},
                {"--scan-time", o.scanCount}, {"--editor-time", o.editorTimeIdles}, {"--seed", o.seed},
                {"--run-seed", o.runSeed}, {"--only-calls", o.onlyCalls.empty() ? 0 : o.onlyCalls.back()}};
            EXPECT_EQ(std::to_string(read.at(c.option)), value) << c.option;
        }
        for (const char* value : refused) {
            const char* argv[] = {"quilm-validate", c.option, value, "x.so"};
            std::string error;
            EXPECT_FALSE(ValidatorOptions().parse(4, const_cast<char**>(argv), error)) << c.option << " '" << value << "'";
            EXPECT_EQ(error, c.option + (" " + c.refusal)) << "'" << value << "'";
        }
        // The program: the option's refusal, then the usage, exit status 2; a good value reaches the load.
        const std::string run = std::string(QUILM_VALIDATE_EXE) + " " + c.option + " '";
        const CommandRun bad = runCommand(run + c.refused[0] + "' /nonexistent/x.so");
        EXPECT_EQ(bad.status, 2);
        EXPECT_EQ(bad.output.rfind("quilm-validate: " + (c.option + (" " + c.refusal)) + "\nusage: ", 0), 0u) << bad.output;
        const CommandRun good = runCommand(run + c.taken[0] + "' /nonexistent/x.so");
        EXPECT_EQ(good.status, 2);
        EXPECT_NE(good.output.find("/nonexistent/x.so: cannot open"), std::string::npos) << good.output;
    }
}

}  // namespace
