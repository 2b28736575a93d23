#include "tools/validate/DispatcherFuzzer.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "plugin/vst/ERect.h"
#include "plugin/vst/VstOpcodes.h"
#include "plugin/vst/VstPinProperties.h"
#include "plugin/vst/VstSpeakerArrangement.h"
#include "tools/validate/EventList.h"
#include "tools/validate/GuardedBuffer.h"
#include "tools/validate/HostileValues.h"
#include "tools/validate/MidiFuzzer.h"
#include "tools/validate/OpcodeTable.h"

namespace {
const char* const kKnownCanDo[] = {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents", "sendVstMidiEvent",
                                   "receiveVstTimeInfo", "offline", "bypass", "midiProgramNames", "RECEIVEVSTEVENTS",
                                   "receiveVstEvents ", ""};
}  // namespace

bool DispatcherFuzzer::step(bool onlyWhileProcessing) {
    for (;;) {
        int32_t opcode;
        if (rng_.chance(0.05)) {
            opcode = rng_.chance(0.5) ? static_cast<int32_t>(rng_.range(kNumOpcodes, 400))
                                      : static_cast<int32_t>(rng_.next());
        } else {
            opcode = static_cast<int32_t>(rng_.below(kNumOpcodes));
        }
        const OpcodeInfo& info = opcodeInfo(opcode);
        if (info.ptr == PtrKind::Lifecycle) continue;
        if (onlyWhileProcessing && !info.whileProcessing) continue;
        // Editors open only in the editor scenario; an idle takes the place of the open, so the
        // calls that follow are the same with and without an editor.
        if (info.ptr == PtrKind::Window && (plugin_.effect()->flags & effFlagsHasEditor) != 0) opcode = effEditIdle;
        return call(opcode);
    }
}

int32_t DispatcherFuzzer::indexFor(int32_t opcode) {
    const AEffect* e = plugin_.effect();
    switch (opcode) {
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effCanBeAutomated:
        case effString2Parameter:
        case effGetParameterProperties: return hostile::index(rng_, e->numParams);
        case effGetProgramNameIndexed: return hostile::index(rng_, e->numPrograms);
        case effGetInputProperties: return hostile::index(rng_, std::max(e->numInputs, 1));
        case effGetOutputProperties: return hostile::index(rng_, e->numOutputs);
        case effGetMidiProgramName:
        case effGetCurrentMidiProgram:
        case effGetMidiProgramCategory:
        case effHasMidiProgramsChanged:
        case effGetMidiKeyName: return hostile::index(rng_, 16);
        default: return static_cast<int32_t>(hostile::value(rng_));
    }
}

intptr_t DispatcherFuzzer::dispatchHostile(int32_t opcode, int32_t index, void* ptr) {
    const float opt = hostile::real(rng_);  // drawn before the value (see Rng.h)
    return plugin_.dispatch(opcode, index, hostile::value(rng_), ptr, opt);
}

bool DispatcherFuzzer::call(int32_t opcode) {
    const OpcodeInfo& info = opcodeInfo(opcode);
    switch (info.ptr) {
        case PtrKind::TextOut: textOut(opcode, info.bytes); break;
        case PtrKind::TextIn: textIn(opcode, false); break;
        case PtrKind::TextInOrNull: textIn(opcode, true); break;
        case PtrKind::StructOut: structOut(opcode, info.bytes); break;
        case PtrKind::StructIn: structIn(opcode, info.bytes); break;
        case PtrKind::Events: events(); break;
        case PtrKind::RectOut: rectOut(); break;
        case PtrKind::ChunkOut: chunkOut(); break;
        case PtrKind::ChunkIn: chunkIn(); break;
        case PtrKind::PointerPairOut: pointerPairOut(opcode); break;
        case PtrKind::ArrangementPair: arrangementPair(); break;
        case PtrKind::Lifecycle: return false;
        case PtrKind::Window:  // only reached without an editor: nothing may happen
        case PtrKind::None: plain(opcode); break;
    }
    switch (opcode) {
        case effSetSampleRate:
        case effSetBlockSize:
        case effMainsChanged:
        case effSetBlockSizeAndSampleRate:
        case effStartProcess:
        case effStopProcess:
        case effSetProcessPrecision: return true;
        default: return false;
    }
}

void DispatcherFuzzer::plain(int32_t opcode) {
    const int32_t index = indexFor(opcode);
    intptr_t value = hostile::value(rng_);
    float opt = hostile::real(rng_);
    if (opcode == effSetProgram) value = hostile::index(rng_, plugin_.effect()->numPrograms);
    if (opcode == effSetSampleRate || opcode == effSetBlockSizeAndSampleRate) opt = hostile::sampleRate(rng_, false);
    if (opcode == effVendorSpecific && rng_.chance(0.3)) value = static_cast<intptr_t>(rng_.next() & 0xFFFFFFFF);
    const intptr_t answer = plugin_.dispatch(opcode, index, value, nullptr, opt);
    (void)answer;
}

void DispatcherFuzzer::textOut(int32_t opcode, std::size_t bytes) {
    GuardedBuffer buffer(bytes);
    const int32_t index = indexFor(opcode);
    const intptr_t value = opcode == effGetProgramNameIndexed ? static_cast<intptr_t>(rng_.range(-1, 3))
                                                                : hostile::value(rng_);
    plugin_.dispatch(opcode, index, value, buffer.data(), hostile::real(rng_));
    const char* name = opcodeInfo(opcode).name;
    char message[320];
    bool found = false;
    const long at = buffer.firstOverrun(found);
    if (found) {
        std::snprintf(message, sizeof(message),
                      "%s (index %d) wrote %zu bytes outside the %zu the interface allows (first at offset %ld): \"%.80s\"",
                      name, index, buffer.overrunBytes(), bytes, at, buffer.writtenText().c_str());
        plugin_.fault(message);
    } else if (buffer.touched() && !buffer.terminated()) {
        std::snprintf(message, sizeof(message), "%s (index %d) left its text without a NUL in %zu bytes", name, index,
                      bytes);
        plugin_.fault(message);
    }
}

void DispatcherFuzzer::textIn(int32_t opcode, bool nullAllowed) {
    const int32_t index = indexFor(opcode);
    if (nullAllowed && rng_.chance(0.3)) {
        plugin_.dispatch(opcode, index, 0, nullptr, 0.0f);
        return;
    }
    std::string text = hostile::text(rng_);
    if (opcode == effCanDo && rng_.chance(0.5)) text = kKnownCanDo[rng_.below(std::size(kKnownCanDo))];
    if (opcode == effString2Parameter && rng_.chance(0.4)) {
        char number[48];
        std::snprintf(number, sizeof(number), "%g", static_cast<double>(hostile::real(rng_)));
        text = number;
    }
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    const intptr_t answer = dispatchHostile(opcode, index, copy.data());
    if (opcode == effCanDo && (answer < -1 || answer > 1)) {
        plugin_.fault("effCanDo answered " + std::to_string(answer) + " (the interface knows -1, 0 and 1)");
    }
    if (std::strlen(copy.data()) != text.size() || std::memcmp(copy.data(), text.data(), text.size()) != 0) {
        plugin_.fault(std::string(opcodeInfo(opcode).name) + " changed the host's text");
    }
}

void DispatcherFuzzer::structOut(int32_t opcode, std::size_t bytes) {
    GuardedBuffer buffer(bytes);
    const int32_t index = indexFor(opcode);
    const intptr_t answer = dispatchHostile(opcode, index, buffer.data());
    const char* name = opcodeInfo(opcode).name;
    bool found = false;
    const long at = buffer.firstOverrun(found);
    char message[256];
    if (found) {
        std::snprintf(message, sizeof(message), "%s (index %d) wrote %zu bytes past its %zu-byte record (offset %ld)",
                      name, index, buffer.overrunBytes(), bytes, at);
        plugin_.fault(message);
    }
    if ((opcode == effGetOutputProperties || opcode == effGetInputProperties) && answer != 0) {
        const auto* pin = static_cast<const VstPinProperties*>(buffer.data());
        if (strnlen(pin->label, kVstMaxLabelLen) == kVstMaxLabelLen) {
            std::snprintf(message, sizeof(message), "%s (index %d) gave a label without a NUL in its 64 bytes", name,
                          index);
            plugin_.fault(message);
        }
    }
}

void DispatcherFuzzer::rectOut() {
    GuardedBuffer slot(sizeof(ERect*));
    std::memset(slot.data(), 0, sizeof(ERect*));
    const intptr_t answer = plugin_.dispatch(effEditGetRect, 0, hostile::value(rng_), slot.data(), 0.0f);
    bool found = false;
    slot.firstOverrun(found);
    if (found) plugin_.fault("effEditGetRect wrote past the host's pointer slot");
    ERect* rect = nullptr;
    std::memcpy(&rect, slot.data(), sizeof(rect));
    if (answer != 0 && rect == nullptr) plugin_.fault("effEditGetRect answered 1 but gave no rectangle");
    if (rect != nullptr) {
        const ERect r = *rect;  // must be readable
        if (r.right <= r.left || r.bottom <= r.top) {
            char message[128];
            std::snprintf(message, sizeof(message), "effEditGetRect gave an empty rectangle %d,%d,%d,%d", r.top,
                          r.left, r.bottom, r.right);
            plugin_.fault(message);
        }
    }
}

void DispatcherFuzzer::chunkOut() {
    GuardedBuffer slot(sizeof(void*));
    std::memset(slot.data(), 0, sizeof(void*));
    const intptr_t size = plugin_.dispatch(effGetChunk, rng_.chance(0.5) ? 1 : 0, 0, slot.data(), 0.0f);
    bool found = false;
    slot.firstOverrun(found);
    if (found) plugin_.fault("effGetChunk wrote past the host's pointer slot");
    const unsigned char* data = nullptr;
    std::memcpy(&data, slot.data(), sizeof(data));
    if (size > 0 && data == nullptr) plugin_.fault("effGetChunk answered a size but gave no data");
    if (size > 0 && data != nullptr) {
        unsigned sum = 0;
        for (intptr_t i = 0; i < size; ++i) sum += data[i];  // every byte must be readable
        if (sum == 0xFFFFFFFFu) plugin_.fault("unreachable");
    }
}

void DispatcherFuzzer::chunkIn() {
    if (rng_.chance(0.2)) {
        plugin_.dispatch(effSetChunk, static_cast<int32_t>(rng_.below(2)), 0, nullptr, 0.0f);
        return;
    }
    std::vector<char> data(rng_.below(4097));
    for (char& c : data) c = static_cast<char>(rng_.next());
    plugin_.dispatch(effSetChunk, static_cast<int32_t>(rng_.below(2)), static_cast<intptr_t>(data.size()),
                     data.empty() ? nullptr : data.data(), 0.0f);
}

void DispatcherFuzzer::pointerPairOut(int32_t opcode) {
    GuardedBuffer in(sizeof(void*)), out(sizeof(void*));
    std::memset(in.data(), 0, sizeof(void*));
    std::memset(out.data(), 0, sizeof(void*));
    plugin_.dispatch(opcode, 0, reinterpret_cast<intptr_t>(in.data()), out.data(), 0.0f);
    bool a = false, b = false;
    in.firstOverrun(a);
    out.firstOverrun(b);
    if (a || b) plugin_.fault(std::string(opcodeInfo(opcode).name) + " wrote past the host's pointer slots");
}

void DispatcherFuzzer::arrangementPair() {
    auto make = [this]() {
        auto arrangement = std::make_unique<VstSpeakerArrangement>();
        std::memset(arrangement.get(), 0, sizeof(VstSpeakerArrangement));
        arrangement->type = static_cast<int32_t>(rng_.range(-2, 40));
        arrangement->numChannels = static_cast<int32_t>(rng_.range(0, 8));
        return arrangement;
    };
    auto input = make();
    auto output = make();
    plugin_.dispatch(effSetSpeakerArrangement, 0, rng_.chance(0.3) ? 0 : reinterpret_cast<intptr_t>(input.get()),
                     output.get(), 0.0f);
}

void DispatcherFuzzer::structIn(int32_t opcode, std::size_t bytes) {
    std::vector<int32_t> record(bytes / sizeof(int32_t), 0);
    if (opcode == effBeginLoadBank || opcode == effBeginLoadProgram) {
        for (int32_t& x : record) x = static_cast<int32_t>(hostile::value(rng_));
    }
    const bool giveNull = (opcode == effProcessVarIo || opcode == effBeginLoadBank || opcode == effBeginLoadProgram) &&
                          rng_.chance(0.2);
    const auto value = static_cast<intptr_t>(rng_.below(2));  // drawn before the index (see Rng.h)
    const auto index = static_cast<int32_t>(rng_.below(2));
    plugin_.dispatch(opcode, index, value, giveNull ? nullptr : record.data(), 0.0f);
}

void DispatcherFuzzer::events() {
    EventList list;
    midifuzz::fill(rng_, list, maxBlock_, 1.0);
    if (list.size() == 0) list.addMidi(0, 0xB0, 1, 64);
    plugin_.dispatch(effProcessEvents, 0, 0, list.events(), 0.0f);
}
