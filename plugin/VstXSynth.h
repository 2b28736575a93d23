#pragma once
// The instrument as the host sees it: builds the engine, answers the host for
// programs and parameters, queues MIDI notes and renders each block
// sample-accurately, keeps the host-vendor switches, the parameter changes for
// the editor and the on-screen keyboard's notes.
//
// Threads: while the host processes (from resume, or the first block, until
// suspend) only the thread that renders writes the engine. A parameter or
// program change made on any other thread stores the live value at once
// (the value array is read and written atomically everywhere) and queues the
// change; the renderer applies the queue, in order, at the start of
// processEvents and processReplacing. Changes made on the rendering thread
// itself (MIDI) and every change while the host does not process are applied
// at once on the calling thread.

#include <atomic>
#include <cstdint>
#include <thread>

#include "engine/Dravenor.h"
#include "engine/EngineOwner.h"
#include "plugin/AudioEffectX.h"
#include "plugin/EngineChangeQueue.h"
#include "plugin/GuiNoteQueue.h"
#include "plugin/ParamChangeList.h"

class AEffEditor;
class SynthEditor;
class VstXSynth;

// Makes the editor for a plug-in object under construction (null: no editor); the
// plug-in owns it. An editor that also implements SynthEditor gets key lights,
// program refreshes and mouse-wheel messages. UI thread.
using EditorFactory = AEffEditor* (*)(VstXSynth& synth);

// One note event of the current block.
struct QueuedMidiNote {
    int32_t frameOffset;  // frame of the block at which the note acts
    uint8_t status;       // 0x80 note off or 0x90 note on, channel bits cleared
    uint8_t note;         // 0..127
    uint8_t velocity;     // 0..127
};
static_assert(sizeof(QueuedMidiNote) == 8);

class VstXSynth : public AudioEffectX, public EngineOwner {
public:
    // Note events queued per block. A host may send any number; past this many, starts are
    // dropped and releases still queue, one per key, in the kLateReleases slots after them.
    static constexpr int32_t kMaxHostNotes = 4096;
    static constexpr int32_t kLateReleases = 128;     // one per MIDI key
    static constexpr int32_t kUniqueId = vstFourChar('Q', 'U', 'L', 'M');
    static constexpr uint8_t kNoParameter = 0xFF;     // ccToParamMap entry of an unmapped controller
    static constexpr int32_t kWheelVendorCode = vstFourChar('W', 'h', 'e', 'e');
    static constexpr double kMaxHostTempo = 999.0;    // BPM; faster "tempos" are host garbage

    // Builds the whole instrument; makeEditor (may be null) makes the editor last. UI thread.
    explicit VstXSynth(audioMasterCallback audioMaster, EditorFactory makeEditor = nullptr);
    // Closes and deletes the editor, drops pending changes, destroys the engine. UI thread.
    ~VstXSynth() override;

    // --- host lifecycle (UI thread) ---
    // Reads the host's vendor string and sets the host switches.
    void open() override;
    void close() override {}
    // Processing stops: applies what is still queued on this thread; later changes apply at once.
    void suspend() override;
    // Processing starts: from now on changes from threads that do not render are queued.
    void resume() override;
    // Rebuilds the rate tables, silences every voice and applies the live values again.
    void setSampleRate(float rate) override;
    void setBlockSize(int32_t frames) override { blockSize = frames; }

    // --- events and rendering (audio thread) ---
    // Queues note events for the coming block, acts on every other MIDI event at once; answers 1.
    int32_t processEvents(VstEvents* events) override;
    // Renders the block into outputs[0] and outputs[1], starting each queued note at its frame.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    // The same, adding into the outputs, without tempo query and on-screen notes. Unused by hosts.
    virtual void processAccumulating(float** inputs, float** outputs, int32_t sampleFrames);
    // Queues a note of the on-screen keyboard for the next block; false when a note-on was dropped. UI thread.
    bool queueGuiMidiEvent(uint8_t status, uint8_t note, uint8_t velocity, uint8_t layer);

    // --- parameters (any thread) ---
    // Stores, applies and tells an open editor; non-finite values and indexes outside 0..91 change nothing.
    void setParameter(int32_t index, float value) override;
    // The live value of the parameter (0 outside 0..91), also while its change is still queued.
    float getParameter(int32_t index) override;
    // The editor's control change: setParameter, and a pitch bend for the wheel (86). UI thread.
    void setParameterAutomated(int32_t index, float value) override;
    void getParameterName(int32_t index, char* text) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;

    // --- programs (UI thread; setProgram also audio thread for MIDI) ---
    // Makes a program current and loads it (queued for the renderer while processing).
    void setProgram(int32_t program) override;
    // The current program. Any thread.
    int32_t getProgram() override { return std::atomic_ref<int32_t>(curProgram).load(std::memory_order_relaxed); }
    // The editor's program menu: the same as setProgram.
    void selectProgram(int32_t program);
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;
    // Copies the current program (name and values) over another; false outside 0..127.
    virtual bool copyCurrentProgramTo(int32_t destination);
    // Writes one value into the current program's stored values (0..81 only).
    void storeProgramParameter(int32_t index, float value);
    // Tells the host of a value (audioMasterAutomate). Unused.
    virtual void sendAutomationToHost(int32_t index, float value);

    // --- host queries (UI thread) ---
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    bool getVendorString(char* text) override;
    int32_t getVendorVersion() override { return 1; }
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    int32_t canDo(char* text) override;
    intptr_t vendorSpecific(int32_t lArg1, intptr_t lArg2, void* ptr, float opt) override;

    // --- editor size (UI thread) ---
    // Saves uiSize as the registry setting.
    void saveUISize();

    // --- EngineOwner ---
    void applyParameter(int32_t index, float value) override;
    bool isImageLineHost() const override { return hostIsImageLine.load(std::memory_order_relaxed); }
    bool isSteinbergHost() const override { return hostIsSteinberg.load(std::memory_order_relaxed); }

    // --- for the editor ---
    Dravenor& getEngine() { return engine; }
    ParamChangeList& getParamChanges() { return paramChanges; }
    ProgramBank* getProgramBank() { return programBank; }
    // The editor's instrument-specific part (null without an editor or when it has none).
    SynthEditor* getSynthEditor() { return synthEditor; }
    // Whether the host is the maker's own (its mouse-wheel messages reach the editor). Any thread.
    bool isOwnHost() const { return ownHost.load(std::memory_order_relaxed); }
    // Parameter for a MIDI controller number, kNoParameter when none. Any thread.
    uint8_t controllerParameter(uint8_t controller) const { return ccToParamMap[controller & 0x7F]; }

    // Editor size index 0..3; written by the editor.
    uint8_t uiSize = 0;

private:
    // One MIDI event; bendEcho lets a pitch bend also move the editor's wheel (86). Audio thread.
    void handleMidi(const VstMidiEvent& event, bool bendEcho);
    // Queues a note event of the coming block; a full queue drops a start, never a release. Audio thread.
    void queueHostNote(const QueuedMidiNote& queued);
    // Applies a 14-bit pitch bend (data bytes lsb, msb) scaled by the bend range.
    void applyPitchBend(uint8_t lsb, uint8_t msb, bool bendEcho);
    // Starts the voices of one note by Voice-Mode and lights its key.
    void startNote(uint8_t note, uint8_t velocity, bool editorOpen);
    // Plays the queued host notes into outputs with clear (1) or adding (0) slices.
    void renderBlock(float** outputs, int32_t frames, int32_t clear, bool editorOpen);
    // Sends every live value 0..81 through the engine's own conversion (no change nodes).
    void applyLiveValues();
    // True when the editor exists and is open. Any thread.
    bool editorIsOpen() const;
    // True when this thread may write the engine now: the host does not process, or this
    // is the thread that renders. Any thread.
    bool onRenderingSide() const;
    // Marks the calling thread as the one that renders and applies the queued changes.
    // Start of processEvents and processReplacing. Audio thread.
    void beginRenderCall();
    // Applies every queued change in order, then anything that found the queue full. Render side.
    void applyQueuedChanges();
    // The full program load on the render side, with the live values (queued program change).
    void loadProgramFromLiveValues(int32_t program);
    // The editor wheel's pitch bend for a wheel position 0..1. Render side.
    void applyWheelBend(float position);
    // Checks a parameter change and limits its value to the parameter's range; false: ignore it.
    bool acceptValue(int32_t index, float& value) const;
    // The store and editor notice of setParameter without touching the engine. Any thread.
    void storeAndNotify(int32_t index, float value);
    // Appends a change node while the editor is open. Any thread.
    void notifyEditor(int32_t index, float value);
    // Stores the live value of a parameter (any thread) and reads it (any thread).
    void storeLiveValue(int32_t index, float value);
    float liveValue(int32_t index) const;
    // Makes program the current one (the base's curProgram). Any thread.
    void storeCurrentProgram(int32_t program);

    std::atomic<bool> ownHost{false};
    std::atomic<bool> processing{false};             // from resume or the first block to suspend
    std::atomic<std::thread::id> renderThread{};     // the thread of the last processEvents/processReplacing
    bool loadingQueuedProgram = false;               // render side: a queued program load runs
    EngineChangeQueue engineChanges;                 // changes waiting for the renderer
    Dravenor engine;
    ProgramBank* programBank = nullptr;
    std::atomic<bool> hostIsImageLine{false};
    std::atomic<bool> hostIsSteinberg{false};
    uint8_t ccToParamMap[128];
    int32_t bankSelectLsb = 0;
    uint32_t hostNoteCount = 0;
    QueuedMidiNote hostNotes[kMaxHostNotes + kLateReleases];
    ParamChangeList paramChanges;
    GuiNoteQueue guiNoteQueue;
    SynthEditor* synthEditor = nullptr;  // the same object as the base's editor, or null
};
