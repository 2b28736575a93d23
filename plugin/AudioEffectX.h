#pragma once
// The extended half of the plug-in interface: dispatcher for opcodes 25..79,
// the operations they reach with their defaults, and the wrappers through which
// a plug-in calls its host.

#include <cstdint>

#include "plugin/AudioEffect.h"
#include "plugin/vst/VstEvents.h"
#include "plugin/vst/VstKeyCode.h"
#include "plugin/vst/VstOpaqueTypes.h"
#include "plugin/vst/VstParameterProperties.h"
#include "plugin/vst/VstPinProperties.h"
#include "plugin/vst/VstSpeakerArrangement.h"
#include "plugin/vst/VstTimeInfo.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);

    // Routes opcodes 25..79, everything else to AudioEffect::dispatcher. UI thread (25: audio thread).
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
    // Asks the host for MIDI (deprecated wantEvents) when the plug-in is a synth or takes MIDI. UI thread.
    void resume() override;

    // Parameters. UI thread.
    virtual bool canParameterBeAutomated(int32_t) { return true; }
    virtual bool string2parameter(int32_t, char*) { return false; }
    virtual bool getParameterProperties(int32_t, VstParameterProperties*) { return false; }
    // audioMasterBeginEdit / audioMasterEndEdit around a control gesture. UI thread.
    virtual bool beginEdit(int32_t index);
    virtual bool endEdit(int32_t index);

    // Programs. UI thread.
    virtual bool getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual int32_t beginLoadBank(VstPatchChunkInfo*) { return 0; }
    virtual int32_t beginLoadProgram(VstPatchChunkInfo*) { return 0; }

    // Host wrappers for I/O and timing. UI thread unless stated.
    virtual bool ioChanged();
    virtual double updateSampleRate();
    virtual int32_t updateBlockSize();
    virtual int32_t getInputLatency();
    virtual int32_t getOutputLatency();

    // Pins and speakers. UI thread.
    virtual bool getInputProperties(int32_t, VstPinProperties*) { return false; }
    virtual bool getOutputProperties(int32_t, VstPinProperties*) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass(bool) { return false; }
    virtual bool setPanLaw(int32_t, float) { return false; }
    virtual bool setProcessPrecision(int32_t) { return false; }
    virtual int32_t getNumMidiInputChannels() { return 0; }
    virtual int32_t getNumMidiOutputChannels() { return 0; }

    // The host's time record (may be null); filter holds the VstTimeInfoFlags wanted. Audio thread.
    virtual VstTimeInfo* getTimeInfo(int32_t filter);
    virtual int32_t getCurrentProcessLevel();
    virtual int32_t getAutomationState();

    // Events from the host before each block; answers 1 when taken. Audio thread.
    virtual int32_t processEvents(VstEvents*) { return 0; }
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual bool processVariableIo(VstVariableIo*) { return false; }
    virtual int32_t setTotalSampleToProcess(int32_t value) { return value; }

    // Host identity wrappers. UI thread.
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual int32_t getHostVendorVersion();
    virtual intptr_t hostVendorSpecific(int32_t lArg1, intptr_t lArg2, void* ptr, float opt);
    virtual int32_t canHostDo(char* text);
    virtual int32_t getHostLanguage();

    // Flag setters. UI thread.
    virtual void isSynth(bool state);
    virtual void noTail(bool state);
    virtual int32_t getGetTailSize() { return 0; }
    virtual void* getDirectory();

    // Plug-in identity. UI thread.
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual intptr_t vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
    virtual int32_t canDo(char*) { return 0; }
    virtual int32_t getVstVersion() { return kVstVersion; }
    virtual int32_t getPlugCategory();

    // MIDI program naming. UI thread.
    virtual int32_t getMidiProgramName(int32_t, VstMidiProgramName*) { return 0; }
    virtual int32_t getCurrentMidiProgram(int32_t, VstMidiProgramName*) { return -1; }
    virtual int32_t getMidiProgramCategory(int32_t, VstMidiProgramCategory*) { return 0; }
    virtual bool hasMidiProgramsChanged(int32_t) { return false; }
    virtual bool getMidiKeyName(int32_t, VstMidiKeyName*) { return false; }

    // Editor-related host wrappers. UI thread.
    virtual bool updateDisplay();
    virtual bool sizeWindow(int32_t width, int32_t height);
    virtual bool openFileSelector(VstFileSelect* select);
    virtual bool closeFileSelector(VstFileSelect* select);
    virtual int32_t getNextShellPlugin(char*) { return 0; }

    // Speaker arrangement helpers (heap records sized for the channel count). UI thread.
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, int32_t channels);
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

    // Offline processing. UI thread.
    virtual bool offlineRead(VstOfflineTask* offline, int32_t option, bool readSource = true);
    virtual bool offlineWrite(VstOfflineTask* offline, int32_t option);
    virtual bool offlineStart(VstAudioFile* ptr, int32_t numAudioFiles, int32_t numNewAudioFiles);
    virtual int32_t offlineGetCurrentPass();
    virtual int32_t offlineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile*, int32_t, bool) { return false; }
    virtual bool offlinePrepare(VstOfflineTask*, int32_t) { return false; }
    virtual bool offlineRun(VstOfflineTask*, int32_t) { return false; }
    virtual int32_t offlineGetNumPasses() { return 0; }
    virtual int32_t offlineGetNumMetaPasses() { return 0; }

    // Deprecated operations kept for the interface's sake.
    virtual void wantEvents(int32_t filter = 1);
    virtual int32_t tempoAt(int32_t pos);
    virtual int32_t getNumAutomatableParameters();
    virtual int32_t getParameterQuantization();
    virtual int32_t getNumCategories() { return 1; }
    virtual bool copyProgram(int32_t) { return false; }
    virtual bool needIdle();
    virtual AEffect* getPreviousPlug(int32_t input);
    virtual AEffect* getNextPlug(int32_t output);
    virtual void inputConnected(int32_t, bool) {}
    virtual void outputConnected(int32_t, bool) {}
    virtual int32_t willProcessReplacing();
    virtual void wantAsyncOperation(bool state);
    virtual void hasExternalBuffer(bool state);
    virtual int32_t reportCurrentPosition() { return 0; }
    virtual float* reportDestinationBuffer() { return nullptr; }
    virtual void setOutputSamplerate(float samplerate);
    virtual VstSpeakerArrangement* getInputSpeakerArrangement();
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
    virtual void* openWindow(VstWindow* window);
    virtual bool closeWindow(VstWindow* window);
    virtual void setBlockSizeAndSampleRate(int32_t frames, float rate);
    virtual bool getErrorText(char*) { return false; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition(int32_t, int32_t) { return false; }
    virtual int32_t fxIdle() { return 0; }
    virtual bool keysRequired() { return false; }
    virtual bool getChunkFile(void* nativePath);

    // Hands events to the host (audioMasterProcessEvents); true when the host answers 1. A plain
    // wrapper outside the virtual operations, so it takes no slot. Audio thread.
    bool sendVstEventsToHost(VstEvents* events);
};
