// A small VST 2.4 instrument with one fault chosen at load time through the
// environment variable QUILM_FAULTY_PLUGIN, so that the validator's tests can
// show that each kind of fault is found. Without the variable (or "none") it is
// a correct plug-in: a sine per held note, four parameters, two programs.

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/vst/AEffect.h"
#include "plugin/vst/ERect.h"
#include "plugin/vst/VstEvents.h"
#include "plugin/vst/VstOpcodes.h"

namespace {

constexpr int32_t kParams = 4;
constexpr int32_t kPrograms = 2;
constexpr float kLevel = 0.1f;  // sine amplitude per note

struct Faulty {
    AEffect effect{};
    std::string fault;
    float sampleRate = 44100.0f;
    std::atomic<float> params[kParams] = {};  // the host may automate from any thread
    int32_t program = 0;
    char programNames[kPrograms][24] = {"First", "Second"};
    bool held[128] = {};
    double phase = 0.0;
    int32_t clickAt = -1;  // frame of the pending note-on click ("offset-past-block")
    float tail = 0.0f;     // level of the slowly dying sound after the last note ("slow-tail")
    ERect editorRect{0, 0, 300, 400};
    bool editorOpen = false;

    bool is(const char* name) const { return fault == name; }
    int heldCount() const {
        int n = 0;
        for (bool h : held) n += h;
        return n;
    }
};

Faulty* self(AEffect* e) { return static_cast<Faulty*>(e->object); }

void copyText(void* ptr, const char* text, std::size_t max) {
    std::strncpy(static_cast<char*>(ptr), text, max - 1);
    static_cast<char*>(ptr)[max - 1] = '\0';
}

intptr_t dispatch(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    Faulty* f = self(e);
    switch (opcode) {
        case effClose: delete f; return 1;
        case effSetSampleRate:
            if (std::isfinite(opt) && opt > 0.0f) f->sampleRate = opt;
            return 0;
        case effSetProgram:
            if (value >= 0 && value < kPrograms) f->program = static_cast<int32_t>(value);
            return 0;
        case effGetProgram: return f->program;
        case effSetProgramName:
            if (f->is("crash-long-text") && std::strlen(static_cast<char*>(ptr)) > 24) std::raise(SIGSEGV);
            copyText(f->programNames[f->program], static_cast<char*>(ptr), 24);
            return 0;
        case effGetProgramName: copyText(ptr, f->programNames[f->program], 24); return 0;
        case effGetProgramNameIndexed:
            if (index < 0 || index >= kPrograms) return 0;
            copyText(ptr, f->programNames[index], 24);
            return 1;
        case effGetParamName:
            if (f->is("name-overflow")) {
                std::memset(ptr, 'N', 99);
                static_cast<char*>(ptr)[99] = '\0';
                return 0;
            }
            copyText(ptr, index >= 0 && index < kParams ? "Param" : "", 9);
            return 0;
        case effGetParamLabel:
            if (f->is("label-unterminated")) {
                std::memset(ptr, 'L', 9);
                return 0;
            }
            copyText(ptr, "", 9);
            return 0;
        case effGetParamDisplay: copyText(ptr, "0.5", 9); return 0;
        case effGetEffectName: copyText(ptr, "Faulty", 32); return 1;
        case effGetVendorString:
            if (f->is("record-change")) e->numParams = kParams + 1;
            copyText(ptr, "Quilm tests", 64);
            return 1;
        case effGetProductString: copyText(ptr, "Faulty", 64); return 1;
        case effGetPlugCategory: return 2;
        // "has-editor": an editor that only remembers whether it is open.
        case effEditGetRect:
            if (!f->is("has-editor")) return 0;
            *static_cast<ERect**>(ptr) = &f->editorRect;
            return 1;
        case effEditOpen:
            f->editorOpen = f->is("has-editor");
            return f->editorOpen ? 1 : 0;
        case effEditClose: f->editorOpen = false; return 0;
        case effGetVstVersion: return 2400;
        case effCanDo:
            return std::strcmp(static_cast<char*>(ptr), "receiveVstMidiEvent") == 0 ? 1 : -1;
        case effProcessEvents: {
            const auto* list = static_cast<VstEvents*>(ptr);
            VstEvent* const* slots = list->events;  // numEvents of them, beyond the two declared
            for (int32_t i = 0; i < list->numEvents; ++i) {
                const auto* m = reinterpret_cast<const VstMidiEvent*>(slots[i]);
                if (m->type != kVstMidiType) continue;
                const int status = m->midiData[0] & 0xF0;
                const int note = m->midiData[1] & 0x7F;
                const int velocity = m->midiData[2] & 0x7F;
                if (status == 0x90 && velocity > 0) {
                    f->held[note] = true;
                    if (f->is("offset-past-block")) f->clickAt = m->deltaFrames;
                } else if ((status == 0x80 || status == 0x90) && !f->is("hanging-note")) {
                    f->held[note] = false;
                }
            }
            return 1;
        }
        default: return 0;
    }
}

void setParameter(AEffect* e, int32_t index, float value) {
    if (index >= 0 && index < kParams && std::isfinite(value)) self(e)->params[index] = value;
}

float getParameter(AEffect* e, int32_t index) {
    Faulty* f = self(e);
    if (f->is("getparameter-nan")) return NAN;
    return index >= 0 && index < kParams ? f->params[index].load() : 0.0f;
}

// Writes the block, or adds it to what the outputs hold (the accumulating process).
void render(AEffect* e, float** outputs, int32_t frames, bool add) {
    Faulty* f = self(e);
    const double step = 2.0 * M_PI * 440.0 / f->sampleRate;
    float gain = f->heldCount() > 0 ? kLevel : 0.0f;
    if (f->is("slow-tail")) {
        // After the last note the sound dies away over seconds (an echo at high feedback).
        f->tail = gain > 0.0f ? kLevel : f->tail * std::exp(-static_cast<float>(frames) / (5.0f * f->sampleRate));
        gain = f->tail;
    }
    const bool poisoned = f->is("nan-out-of-range") && f->params[0] > 1.0f;
    for (int32_t i = 0; i < frames; ++i) {
        const float x = poisoned ? NAN : gain * static_cast<float>(std::sin(f->phase));
        f->phase += step;
        outputs[0][i] = add ? outputs[0][i] + x : x;
        if (!(f->is("unwritten") && i == frames - 1)) outputs[1][i] = add ? outputs[1][i] + x : x;
    }
    if (f->is("block-overrun")) outputs[0][frames] = 0.0f;
    // The fault: a note's frame offset used as an index without bringing it into the block.
    if (f->clickAt >= 0 && f->clickAt < frames + 512) outputs[1][f->clickAt] = 0.5f;
    f->clickAt = -1;
    f->phase = std::fmod(f->phase, 2.0 * M_PI);
}

void processReplacing(AEffect* e, float**, float** outputs, int32_t frames) { render(e, outputs, frames, false); }

// "accumulating-only": a VST 2.3 plug-in that offers only this (no processReplacing).
void process(AEffect* e, float**, float** outputs, int32_t frames) {
    if (self(e)->is("accumulating-only")) render(e, outputs, frames, true);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    if (host == nullptr || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    auto* f = new Faulty;
    const char* fault = std::getenv("QUILM_FAULTY_PLUGIN");
    f->fault = fault != nullptr ? fault : "none";
    AEffect& e = f->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatch;
    e.process = process;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.numPrograms = kPrograms;
    e.numParams = kParams;
    e.numInputs = 0;
    e.numOutputs = 2;
    const bool replacing = !f->is("accumulating-only");
    e.flags = (replacing ? effFlagsCanReplacing : 0) | effFlagsIsSynth | (f->is("has-editor") ? effFlagsHasEditor : 0);
    e.object = f;
    e.uniqueID = vstFourChar('Q', 'f', 'l', 't');
    e.version = 1;
    e.processReplacing = replacing ? processReplacing : nullptr;
    e.ioRatio = 1.0f;
    return &e;
}
