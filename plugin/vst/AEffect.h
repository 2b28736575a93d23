#pragma once
// The record through which a VST 2.4 host and a plug-in see each other, with the
// two callback signatures. Layout is the 64-bit Linux/Windows ABI of the interface:
// every offset below is checked at compile time because hosts read the record raw.

#include <cstddef>
#include <cstdint>

struct AEffect;

// Host callback: (effect, opcode, index, value, ptr, opt) -> answer. Any thread.
using audioMasterCallback = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                         void* ptr, float opt);
// Plug-in entries stored in AEffect.
using AEffectDispatcherProc = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                           void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
using AEffectProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs,
                                          int32_t sampleFrames);
using AEffectSetParameterProc = void (*)(AEffect* effect, int32_t index, float parameter);
using AEffectGetParameterProc = float (*)(AEffect* effect, int32_t index);

// Four characters packed the way the interface packs identifiers ('VstP' -> 0x56737450).
constexpr int32_t vstFourChar(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
                                static_cast<uint32_t>(static_cast<uint8_t>(d)));
}

inline constexpr int32_t kEffectMagic = vstFourChar('V', 's', 't', 'P');

// AEffect.flags bits.
enum VstAEffectFlags : int32_t {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,           // deprecated
    effFlagsHasVu = 1 << 2,             // deprecated
    effFlagsCanMono = 1 << 3,           // deprecated
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,       // deprecated
    effFlagsExtHasBuffer = 1 << 11,     // deprecated
    effFlagsCanDoubleReplacing = 1 << 12,
};

struct AEffect {
    int32_t magic;                               // kEffectMagic
    AEffectDispatcherProc dispatcher;            // host -> plug-in requests
    AEffectProcessProc process;                  // deprecated accumulating process
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;                               // VstAEffectFlags
    intptr_t resvd1;                             // reserved for the host
    intptr_t resvd2;                             // reserved for the host
    int32_t initialDelay;                        // latency in frames
    int32_t realQualities;                       // deprecated
    int32_t offQualities;                        // deprecated
    float ioRatio;                               // deprecated
    void* object;                                // the plug-in's own object
    void* user;                                  // free for the host
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

static_assert(sizeof(void*) == 8, "this interface definition is for 64-bit targets");
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, processDoubleReplacing) == 128);
static_assert(offsetof(AEffect, future) == 136);
static_assert(sizeof(AEffect) == 192);
