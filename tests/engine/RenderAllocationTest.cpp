// Rendering, note handling and the audio-thread wave rebuild allocate nothing:
// operator new is replaced in this test binary and counts its calls while a
// counting flag is set.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "tests/engine/EngineRig.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> newCalls{0};

void* allocate(std::size_t size)
{
    if (counting.load(std::memory_order_relaxed)) newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

struct AllocationCase {
    int32_t program;
    float sharedFilter;
};

class RenderAllocation : public testing::TestWithParam<AllocationCase> {};

TEST_P(RenderAllocation, AudioThreadWorkAllocatesNothing)
{
    const AllocationCase c = GetParam();
    EngineRig rig(48000.0, c.program);
    rig.set(kParamSharedFilter, c.sharedFilter);
    rig.set(kParamVoiceCount, 0.2f);
    rig.set(kParamChorusAmount, 0.5f);
    rig.set(kParamBassAmount, 0.5f);
    rig.set(kParamOutDist, 0.3f);
    std::vector<float> left(64), right(64);
    float* out[2] = {left.data(), right.data()};
    Dravenor& e = *rig.engine;

    counting = true;
    newCalls = 0;
    for (int block = 0; block < 750; ++block) { // one second in 64-frame blocks
        if (block % 20 == 0) e.noteOn(static_cast<int8_t>(40 + block % 50), 100, 0);
        if (block % 20 == 10) e.noteOff(static_cast<uint8_t>(40 + (block - 10) % 50), 0);
        if (block == 300) rig.set(kParamOsc1Wave, 5.0f / 39.0f); // a MIDI controller rebuilds a wave
        if (block == 400) rig.set(kParamOsc2Sat, 0.7f);
        e.render(64, out, 1);
    }
    counting = false;
    EXPECT_EQ(newCalls.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(ProgramsAndFilters, RenderAllocation,
                         testing::Values(AllocationCase{0, 0.0f}, AllocationCase{0, 1.0f},
                                         AllocationCase{kInitPatchProgram, 0.0f},
                                         AllocationCase{kInitPatchProgram, 1.0f}));

TEST(RenderAllocation, CounterSeesAnAllocation)
{
    counting = true;
    newCalls = 0;
    auto* p = new std::vector<int>(10);
    counting = false;
    delete p;
    EXPECT_GE(newCalls.load(), 1);
}
