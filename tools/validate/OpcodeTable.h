#pragma once
// What the validator knows of each dispatcher opcode of VST 2.4: its name,
// what the pointer argument carries and how many bytes the plug-in may write
// into a buffer that the host gives.

#include <cstddef>
#include <cstdint>

enum class PtrKind : uint8_t {
    None,          // pointer unused: the host passes null
    TextOut,       // the plug-in writes a NUL-terminated text of at most `bytes` bytes, NUL included
    TextIn,        // the host gives a text
    TextInOrNull,  // a text, or null to ask whether the opcode is supported (effString2Parameter)
    StructOut,     // the plug-in fills a record of `bytes` bytes (and writes nothing past it)
    StructIn,      // the host gives a record of `bytes` bytes
    Events,        // a VstEvents list
    RectOut,       // the plug-in writes one ERect pointer into the host's pointer slot
    ChunkOut,      // the plug-in writes one data pointer; its answer is the data's size
    ChunkIn,       // the host gives `value` bytes of data
    PointerPairOut,  // value and ptr each point to a pointer slot the plug-in may fill (effGetSpeakerArrangement)
    ArrangementPair, // value and ptr each point to a speaker arrangement (effSetSpeakerArrangement)
    Window,        // the parent window (effEditOpen); only the editor scenario opens editors
    Lifecycle,     // effOpen / effClose: never sent at random
};

struct OpcodeInfo {
    int32_t opcode;
    const char* name;
    PtrKind ptr;
    std::size_t bytes;  // see PtrKind
    bool whileProcessing;  // a host may send it while the audio thread renders
};

// Info for opcode 0..79; a generic "unknown" entry (pointer unused) for any other number.
const OpcodeInfo& opcodeInfo(int32_t opcode);
// Number of defined opcodes (0..79).
inline constexpr int32_t kNumOpcodes = 80;
