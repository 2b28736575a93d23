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

// One second in 64-frame blocks with notes coming and going, every stage of the chain on,
// and MIDI controllers rebuilding waves on the audio thread.
TEST(RenderAllocation, AudioThreadWorkAllocatesNothing)
{
    for (int32_t program : {0, kInitPatchProgram}) {
        for (float sharedFilter : {0.0f, 1.0f}) {
            EngineRig rig(48000.0, program);
            for (auto [index, value] : {std::pair{kParamSharedFilter, sharedFilter}, {kParamVoiceCount, 0.2f},
                                        {kParamChorusAmount, 0.5f}, {kParamBassAmount, 0.5f}, {kParamOutDist, 0.3f}})
                rig.set(index, value);
            std::vector<float> left(64), right(64);
            float* out[2] = {left.data(), right.data()};
            Dravenor& e = *rig.engine;
            counting = true;
            newCalls = 0;
            for (int block = 0; block < 750; ++block) {
                if (block % 20 == 0) e.noteOn(static_cast<int8_t>(40 + block % 50), 100, 0);
                if (block % 20 == 10) e.noteOff(static_cast<uint8_t>(40 + (block - 10) % 50), 0);
                if (block == 300) rig.set(kParamOsc1Wave, 5.0f / 39.0f);
                if (block == 400) rig.set(kParamOsc2Sat, 0.7f);
                e.render(64, out, 1);
            }
            counting = false;
            EXPECT_EQ(newCalls.load(), 0) << "program " << program << ", shared filter " << sharedFilter;
        }
    }
    counting = true;  // the counter does see an allocation
    newCalls = 0;
    auto* p = new std::vector<int>(10);
    counting = false;
    delete p;
    EXPECT_GE(newCalls.load(), 1);
}
