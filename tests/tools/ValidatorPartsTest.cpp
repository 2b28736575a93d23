// The validator's own parts: reproducible random streams, hostile values that
// cover every edge the scenarios promise, guard regions that see every stray
// byte, and event lists longer than the record's two declared pointers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <set>
#include <vector>

#include "tools/validate/EventList.h"
#include "tools/validate/GuardedBuffer.h"
#include "tools/validate/HostileValues.h"
#include "tools/validate/Rng.h"
#include "tools/validate/ValidatorOptions.h"

namespace {

TEST(Rng, SameSeedSameStreamOtherSeedOtherStream) {
    Rng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const uint64_t x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
}

TEST(Rng, RangesStayInsideTheirBounds) {
    Rng rng(7);
    std::set<int64_t> seen;
    for (int i = 0; i < 10000; ++i) {
        const int64_t x = rng.range(-3, 3);
        ASSERT_GE(x, -3);
        ASSERT_LE(x, 3);
        seen.insert(x);
        const double u = rng.unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(rng.below(0), 0u);
}

TEST(HostileValues, FloatsReachEveryEdge) {
    Rng rng(1);
    bool nan = false, posInf = false, negInf = false, huge = false, outside = false, inside = false;
    for (int i = 0; i < 20000; ++i) {
        const float x = hostile::real(rng);
        nan = nan || std::isnan(x);
        posInf = posInf || x == INFINITY;
        negInf = negInf || x == -INFINITY;
        huge = huge || (std::isfinite(x) && std::fabs(x) > 1e30f);
        outside = outside || (std::isfinite(x) && (x < 0.0f || x > 1.0f));
        inside = inside || (x > 0.0f && x < 1.0f);
    }
    EXPECT_TRUE(nan && posInf && negInf && huge && outside && inside);
}

TEST(HostileValues, IndexesReachNegativeHugeAndOneTooFar) {
    Rng rng(2);
    bool negative = false, pastEnd = false, extreme = false, valid = false;
    for (int i = 0; i < 20000; ++i) {
        const int32_t x = hostile::index(rng, 82);
        negative = negative || x < 0;
        pastEnd = pastEnd || x == 82;
        extreme = extreme || x == INT32_MAX || x == INT32_MIN;
        valid = valid || (x >= 0 && x < 82);
    }
    EXPECT_TRUE(negative && pastEnd && extreme && valid);
}

TEST(HostileValues, TextsHaveEveryPromisedLength) {
    Rng rng(3);
    std::set<std::size_t> lengths;
    for (int i = 0; i < 5000; ++i) lengths.insert(hostile::text(rng).size());
    for (int length : hostile::kTextLengths) EXPECT_TRUE(lengths.count(static_cast<std::size_t>(length))) << length;
}

TEST(HostileValues, LegalSampleRatesStayInRange) {
    Rng rng(4);
    for (int i = 0; i < 10000; ++i) {
        const float rate = hostile::sampleRate(rng, true);
        ASSERT_GE(rate, 8000.0f);
        ASSERT_LE(rate, 384000.0f);
    }
}

struct WriteCase {
    long offset;     // where a byte is written, relative to the start
    bool overrun;    // whether the buffer must see it as outside
};

class GuardedBufferWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(GuardedBufferWrite, SeesBytesOutsideTheAllowedRegion) {
    GuardedBuffer buffer(9);
    buffer.text()[GetParam().offset] = 'x';
    bool found = false;
    const long at = buffer.firstOverrun(found);
    EXPECT_EQ(found, GetParam().overrun);
    if (GetParam().overrun) {
        EXPECT_EQ(at, GetParam().offset);
    }
    EXPECT_EQ(buffer.overrunBytes(), GetParam().overrun ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Offsets, GuardedBufferWrite,
                         testing::Values(WriteCase{0, false}, WriteCase{8, false}, WriteCase{9, true},
                                         WriteCase{4095 + 9, true}, WriteCase{-1, true},
                                         WriteCase{-static_cast<long>(GuardedBuffer::kGuardBytes), true}));

TEST(GuardedBuffer, KnowsTerminatedTexts) {
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

}  // namespace
