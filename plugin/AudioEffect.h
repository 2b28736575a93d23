#pragma once
// Base of every plug-in object: holds the host callback and the AEffect record
// that the host sees, routes the host's calls on that record to virtual
// operations, and gives a default for each of them.

#include <cstdint>

#include "plugin/vst/AEffect.h"
#include "plugin/vst/VstOpcodes.h"

class AEffEditor;

class AudioEffect {
public:
    // Fills the AEffect record with this object's trampolines and counts. UI thread.
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;
    // Releases nothing; the dispatch trampoline deletes the object after effClose. UI thread.
    virtual ~AudioEffect();

    // Routes opcodes 0..24 to the operations below; answers 0 for everything else. UI thread.
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    // effOpen, effClose, effMainsChanged: nothing by default. UI thread.
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    // Stores the rate in Hz. UI thread.
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    // Stores the largest block in frames. UI thread.
    virtual void setBlockSize(int32_t frames) { blockSize = frames; }

    // Renders frames into the outputs. Audio thread.
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    // Double-precision rendering: nothing by default. Audio thread.
    virtual void processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames);

    // Parameter access; any thread the host chooses.
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    // setParameter, then tells the host (audioMasterAutomate). UI thread.
    virtual void setParameterAutomated(int32_t index, float value);

    // Programs. UI thread.
    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgram(int32_t program) { curProgram = program; }
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);

    // Texts for the host's parameter views. UI thread.
    virtual void getParameterLabel(int32_t index, char* label) = 0;
    virtual void getParameterDisplay(int32_t index, char* text) = 0;
    virtual void getParameterName(int32_t index, char* text);

    // State as one block of bytes: nothing by default. UI thread.
    virtual int32_t getChunk(void** data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);

    // Setup of the AEffect record. UI thread.
    virtual void setUniqueID(int32_t id) { cEffect.uniqueID = id; }
    virtual void setNumInputs(int32_t inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(int32_t outputs) { cEffect.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state);
    virtual void canDoubleReplacing(bool state);
    virtual void programsAreChunks(bool state);
    virtual void setInitialDelay(int32_t delayFrames) { cEffect.initialDelay = delayFrames; }

    // Accessors. Any thread.
    virtual AEffEditor* getEditor() { return editor; }
    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate; }
    virtual int32_t getBlockSize() { return blockSize; }

    // Host queries. UI thread.
    virtual int32_t getMasterVersion();
    virtual int32_t getCurrentUniqueId();
    virtual void masterIdle();

    // Text conversions into text (room for maxLen characters and a NUL). Any thread.
    virtual void dB2string(float value, char* text, int32_t maxLen);
    virtual void Hz2string(float samples, char* text, int32_t maxLen);
    virtual void ms2string(float samples, char* text, int32_t maxLen);
    virtual void float2string(float value, char* text, int32_t maxLen);
    virtual void int2string(int32_t value, char* text, int32_t maxLen);

    // Deprecated operations kept for the interface's sake.
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames);
    virtual float getVu() { return 0.0f; }
    virtual void hasVu(bool state);
    virtual void hasClip(bool state);
    virtual void canMono(bool state);
    virtual void setRealtimeQualities(int32_t qualities) { cEffect.realQualities = qualities; }
    virtual void setOfflineQualities(int32_t qualities) { cEffect.offQualities = qualities; }
    virtual bool isInputConnected(int32_t input);
    virtual bool isOutputConnected(int32_t output);

    // Stores the editor and sets or clears the has-editor flag. UI thread.
    void setEditor(AEffEditor* newEditor);

protected:
    // Sets or clears one AEffect flag bit.
    void setFlag(int32_t flag, bool state);
    // Calls the host; 0 without a host callback.
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    int32_t numPrograms;
    int32_t numParams;
    int32_t curProgram = 0;
    AEffect cEffect;
};
