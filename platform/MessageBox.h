// MessageBoxA for the error messages of the graphics side and the controls.
//
// On Linux it never opens a window and never waits: it writes "caption: text"
// as one line to standard error (line breaks in the text become spaces) and
// answers IDOK. Tests replace the output with a sink (see MessageBoxCapture).
#pragma once

#include "platform/WinTypes.h"

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONHAND = 0x0010;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Shows a message: one line on standard error, or the installed sink. A null
// caption reads "Error", a null text "". Answers IDOK. Any thread.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);

// Receives every message instead of standard error. `text` and `caption` are
// never null and live only for the call.
using MessageBoxSink = void (*)(void* context, HWND owner, const char* text, const char* caption,
                                UINT style);

// Installs a sink (null: back to standard error) and answers the one it replaced,
// with its context in *previousContext when that is not null. Any thread.
MessageBoxSink setMessageBoxSink(MessageBoxSink sink, void* context, void** previousContext = nullptr);
