#include "tools/validate/PluginInstance.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "plugin/vst/VstEvents.h"
#include "plugin/vst/VstOpcodes.h"
#include "tools/validate/OpcodeTable.h"
#include "tools/validate/PluginModule.h"

namespace {
void traceEvents(const VstEvents* list) {
    VstEvent* const* slots = list->events;  // numEvents of them, beyond the two declared
    for (int32_t i = 0; i < list->numEvents; ++i) {
        const auto* e = reinterpret_cast<const VstMidiEvent*>(slots[i]);
        const auto* b = reinterpret_cast<const unsigned char*>(e->midiData);
        std::fprintf(stderr, "      event %d: type %d frame %d bytes %02X %02X %02X %02X\n", i, e->type, e->deltaFrames,
                     b[0], b[1], b[2], b[3]);
    }
}
}  // namespace

PluginInstance::PluginInstance(const PluginModule& module, ScenarioTag tag) : tag_(std::move(tag)) {
    Findings::setCurrentCall("VSTPluginMain (construction)");
    effect_ = module.create();
    if (effect_ == nullptr) {
        fault("the entry gave no plug-in");
        return;
    }
    if (effect_->magic != kEffectMagic || effect_->dispatcher == nullptr || effect_->processReplacing == nullptr ||
        effect_->setParameter == nullptr || effect_->getParameter == nullptr) {
        fault("the AEffect record lacks its magic number or an entry point");
        // A plug-in with its magic and dispatcher (lacking another entry) is closed, not leaked.
        if (effect_->magic == kEffectMagic && effect_->dispatcher != nullptr) {
            effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f);
        }
        effect_ = nullptr;
        return;
    }
    if (effect_->numOutputs < 0 || effect_->numInputs < 0 || effect_->numParams < 0 || effect_->numPrograms < 0) {
        fault("the AEffect record gives negative counts");
    }
    snapshot_ = *effect_;
}

PluginInstance::~PluginInstance() {
    if (effect_ != nullptr) close();
}

bool PluginInstance::begin(const char* what, int32_t a, intptr_t b, float c, bool essential) {
    const uint64_t n = calls_.fetch_add(1, std::memory_order_relaxed) + 1;
    if (!essential && !onlyCalls.empty() && n <= onlyCallsUpTo && !std::binary_search(onlyCalls.begin(), onlyCalls.end(), n)) return false;
    char description[256];
    std::snprintf(description, sizeof(description), "[%s seed %llu call %llu] %s(%d, %lld, %g)", tag_.name.c_str(),
                  static_cast<unsigned long long>(tag_.seed), static_cast<unsigned long long>(n), what, a,
                  static_cast<long long>(b), static_cast<double>(c));
    Findings::setCurrentCall(description);
    return true;
}

void PluginInstance::checkRecord(const char* after) {
    // The fields the plug-in owns and that a host reads raw at any time.
    const AEffect& e = *effect_;
    if (e.magic != snapshot_.magic || e.dispatcher != snapshot_.dispatcher ||
        e.processReplacing != snapshot_.processReplacing || e.setParameter != snapshot_.setParameter ||
        e.getParameter != snapshot_.getParameter || e.numParams != snapshot_.numParams ||
        e.numPrograms != snapshot_.numPrograms || e.object != snapshot_.object) {
        fault(std::string("the AEffect record changed after ") + after);
        snapshot_ = e;
    }
}

intptr_t PluginInstance::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                                  bool essential) {
    const OpcodeInfo& info = opcodeInfo(opcode);
    char what[64];
    std::snprintf(what, sizeof(what), "dispatcher %s [%d] ptr %s", info.name, opcode, ptr ? "set" : "null");
    // Pointers passed as values change from run to run; the trace shows only whether one is given.
    const bool valueIsPointer = info.ptr == PtrKind::PointerPairOut || info.ptr == PtrKind::ArrangementPair;
    if (!begin(what, index, valueIsPointer ? value != 0 : value, opt, essential || opcode == effClose)) return 0;
    if (Findings::trace && opcode == effProcessEvents && ptr != nullptr) traceEvents(static_cast<VstEvents*>(ptr));
    if (opcode == effSetSampleRate) givenSampleRate_.store(opt, std::memory_order_relaxed);
    const intptr_t answer = effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    if (opcode != effClose) checkRecord(info.name);
    return answer;
}

void PluginInstance::setParameter(int32_t index, float value) {
    if (!begin("setParameter", index, 0, value)) return;
    effect_->setParameter(effect_, index, value);
}

float PluginInstance::getParameter(int32_t index) {
    if (!begin("getParameter", index, 0, 0.0f)) return 0.0f;
    return effect_->getParameter(effect_, index);
}

bool PluginInstance::processReplacing(float** inputs, float** outputs, int32_t frames) {
    if (!begin("processReplacing", frames, 0, 0.0f)) return false;
    effect_->processReplacing(effect_, inputs, outputs, frames);
    return true;
}

void PluginInstance::close() {
    if (effect_ == nullptr) return;
    dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
    dispatch(effClose, 0, 0, nullptr, 0.0f);
    effect_ = nullptr;
}

void PluginInstance::fault(const std::string& message) {
    if (tag_.findings != nullptr) tag_.findings->add(tag_.name, tag_.seed, calls(), message);
}
