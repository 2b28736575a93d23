#include "tools/validate/OpcodeTable.h"

#include "plugin/vst/VstOpcodes.h"
#include "plugin/vst/VstParameterProperties.h"
#include "plugin/vst/VstPinProperties.h"
#include "plugin/vst/VstSpeakerArrangement.h"

namespace {
// Text limits in bytes with the NUL. Label and display follow kVstMaxParamStrLen
// (8 characters); parameter names are held to kVstMaxLabelLen, what hosts give in
// practice, since the nominal 8 is too short for many real names.
constexpr std::size_t kParamText = kVstMaxParamStrLen + 1;
constexpr std::size_t kParamName = kVstMaxLabelLen;
constexpr std::size_t kErrorText = 256;
// Records that this plug-in's headers only name; sizes of the published 64-bit layout.
constexpr std::size_t kMidiProgramName = 80;
constexpr std::size_t kMidiProgramCategory = 76;
constexpr std::size_t kMidiKeyName = 80;
constexpr std::size_t kPatchChunkInfo = 64;
constexpr std::size_t kVariableIo = 48;
constexpr std::size_t kOfflineRecord = 1024;  // zeroed; the plug-in gets one harmless record

using K = PtrKind;
const OpcodeInfo kTable[kNumOpcodes] = {
    {0, "effOpen", K::Lifecycle, 0, false},
    {1, "effClose", K::Lifecycle, 0, false},
    {2, "effSetProgram", K::None, 0, true},
    {3, "effGetProgram", K::None, 0, true},
    {4, "effSetProgramName", K::TextIn, 0, true},
    {5, "effGetProgramName", K::TextOut, kVstMaxProgNameLen, true},
    {6, "effGetParamLabel", K::TextOut, kParamText, true},
    {7, "effGetParamDisplay", K::TextOut, kParamText, true},
    {8, "effGetParamName", K::TextOut, kParamName, true},
    {9, "effGetVu", K::None, 0, true},
    {10, "effSetSampleRate", K::None, 0, false},
    {11, "effSetBlockSize", K::None, 0, false},
    {12, "effMainsChanged", K::None, 0, false},
    {13, "effEditGetRect", K::RectOut, sizeof(void*), true},
    {14, "effEditOpen", K::Window, 0, true},
    {15, "effEditClose", K::None, 0, true},
    {16, "effEditDraw", K::None, 0, true},
    {17, "effEditMouse", K::None, 0, true},
    {18, "effEditKey", K::None, 0, true},
    {19, "effEditIdle", K::None, 0, true},
    {20, "effEditTop", K::None, 0, true},
    {21, "effEditSleep", K::None, 0, true},
    {22, "effIdentify", K::None, 0, true},
    {23, "effGetChunk", K::ChunkOut, sizeof(void*), true},
    {24, "effSetChunk", K::ChunkIn, 0, true},
    {25, "effProcessEvents", K::Events, 0, false},
    {26, "effCanBeAutomated", K::None, 0, true},
    {27, "effString2Parameter", K::TextInOrNull, 0, true},
    {28, "effGetNumProgramCategories", K::None, 0, true},
    {29, "effGetProgramNameIndexed", K::TextOut, kVstMaxProgNameLen, true},
    {30, "effCopyProgram", K::None, 0, true},
    {31, "effConnectInput", K::None, 0, false},
    {32, "effConnectOutput", K::None, 0, false},
    {33, "effGetInputProperties", K::StructOut, sizeof(VstPinProperties), true},
    {34, "effGetOutputProperties", K::StructOut, sizeof(VstPinProperties), true},
    {35, "effGetPlugCategory", K::None, 0, true},
    {36, "effGetCurrentPosition", K::None, 0, true},
    {37, "effGetDestinationBuffer", K::None, 0, true},
    {38, "effOfflineNotify", K::StructIn, kOfflineRecord, false},
    {39, "effOfflinePrepare", K::StructIn, kOfflineRecord, false},
    {40, "effOfflineRun", K::StructIn, kOfflineRecord, false},
    {41, "effProcessVarIo", K::StructIn, kVariableIo, false},
    {42, "effSetSpeakerArrangement", K::ArrangementPair, 0, false},
    {43, "effSetBlockSizeAndSampleRate", K::None, 0, false},
    {44, "effSetBypass", K::None, 0, true},
    {45, "effGetEffectName", K::TextOut, kVstMaxEffectNameLen, true},
    {46, "effGetErrorText", K::TextOut, kErrorText, true},
    {47, "effGetVendorString", K::TextOut, kVstMaxVendorStrLen, true},
    {48, "effGetProductString", K::TextOut, kVstMaxProductStrLen, true},
    {49, "effGetVendorVersion", K::None, 0, true},
    {50, "effVendorSpecific", K::None, 0, true},
    {51, "effCanDo", K::TextIn, 0, true},
    {52, "effGetTailSize", K::None, 0, true},
    {53, "effIdle", K::None, 0, true},
    {54, "effGetIcon", K::None, 0, true},
    {55, "effSetViewPosition", K::None, 0, true},
    {56, "effGetParameterProperties", K::StructOut, sizeof(VstParameterProperties), true},
    {57, "effKeysRequired", K::None, 0, true},
    {58, "effGetVstVersion", K::None, 0, true},
    {59, "effEditKeyDown", K::None, 0, true},
    {60, "effEditKeyUp", K::None, 0, true},
    {61, "effSetEditKnobMode", K::None, 0, true},
    {62, "effGetMidiProgramName", K::StructOut, kMidiProgramName, true},
    {63, "effGetCurrentMidiProgram", K::StructOut, kMidiProgramName, true},
    {64, "effGetMidiProgramCategory", K::StructOut, kMidiProgramCategory, true},
    {65, "effHasMidiProgramsChanged", K::None, 0, true},
    {66, "effGetMidiKeyName", K::StructOut, kMidiKeyName, true},
    {67, "effBeginSetProgram", K::None, 0, true},
    {68, "effEndSetProgram", K::None, 0, true},
    {69, "effGetSpeakerArrangement", K::PointerPairOut, sizeof(void*), false},
    {70, "effShellGetNextPlugin", K::TextOut, kVstMaxProductStrLen, true},
    {71, "effStartProcess", K::None, 0, false},
    {72, "effStopProcess", K::None, 0, false},
    {73, "effSetTotalSampleToProcess", K::None, 0, false},
    {74, "effSetPanLaw", K::None, 0, false},
    {75, "effBeginLoadBank", K::StructIn, kPatchChunkInfo, true},
    {76, "effBeginLoadProgram", K::StructIn, kPatchChunkInfo, true},
    {77, "effSetProcessPrecision", K::None, 0, false},
    {78, "effGetNumMidiInputChannels", K::None, 0, true},
    {79, "effGetNumMidiOutputChannels", K::None, 0, true},
};
const OpcodeInfo kUnknown = {-1, "unknown opcode", K::None, 0, false};
}  // namespace

const OpcodeInfo& opcodeInfo(int32_t opcode) {
    if (opcode >= 0 && opcode < kNumOpcodes) return kTable[opcode];
    return kUnknown;
}
