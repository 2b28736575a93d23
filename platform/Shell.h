// ShellExecuteExA: opens a web address in the browser or a folder in the file
// manager, through xdg-open.
#pragma once

#include <sys/types.h>

#include "platform/WinTypes.h"

// The fields of the Windows record that the program's code fills; the rest of
// the record does not exist here, and cbSize is not checked.
struct SHELLEXECUTEINFOA {
  DWORD cbSize;
  DWORD fMask;
  HWND hwnd;
  LPCSTR lpVerb;        // null or "" (default verb) or "open"
  LPCSTR lpFile;        // the address or file to open, or the explorer program
  LPCSTR lpParameters;  // the folder, when lpFile is the explorer program
  int nShow;
  HINSTANCE hInstApp;   // out: above 32 on success, else an SE_ERR_ code
};

constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;

// Opens info->lpFile (default verb or "open"), or the folder in lpParameters when
// lpFile names explorer.exe: one argument to xdg-open, started without a shell;
// does not wait. Backslashes of a path (not of a web address) become '/'.
// TRUE when the program could be started. UI thread.
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);

// Starts `program` (searched in PATH) with `argument` as its only argument;
// true when it started. The context is the one given to setShellLauncher.
using ShellLauncher = bool (*)(void* context, const char* program, const char* argument);

// Replaces the launcher that ShellExecuteExA uses (tests); null restores
// launchDetached. Answers the previous one and its context. Any thread.
ShellLauncher setShellLauncher(ShellLauncher launcher, void* context, void** previousContext = nullptr);

// The real launcher: starts `program` (searched in PATH unless it holds a '/') with
// `argument` as its only argument, without a shell and without waiting for it to end.
// It runs as a grandchild, so no child of the process is left to reap; it gets
// standard input, output and error and no other descriptor of the process. True when
// the program started (its exec succeeded). Any thread.
bool launchDetached(const char* program, const char* argument);
