#pragma once
// Interface records that this plug-in only passes through by pointer (offline
// processing, variable I/O, MIDI program naming, file selection, bank loading,
// deprecated windows); their contents are never read here.

struct VstVariableIo;
struct VstAudioFile;
struct VstOfflineTask;
struct VstMidiProgramName;
struct VstMidiProgramCategory;
struct VstMidiKeyName;
struct VstPatchChunkInfo;
struct VstFileSelect;
struct VstWindow;
