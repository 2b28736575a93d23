// The few Windows types and constants that the program's own code uses, declared
// for Linux. Only what the stand-ins in this folder need; nothing else of the
// Windows API exists here.
#pragma once

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;  // 32 bits as on Windows, unlike Linux's long
using BOOL = int;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using HANDLE = void*;
using HWND = void*;  // on Linux: the X11 window id the host passes to the editor
using HINSTANCE = void*;  // on Linux: the load address of the module (dladdr)
using HMODULE = HINSTANCE;

// Macros as elsewhere, so a library header that defines them too agrees.
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Error codes reported by the registry and shell stand-ins (Windows' numbers).
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_PATH_NOT_FOUND = 3;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr LONG ERROR_WRITE_FAULT = 29;
constexpr LONG ERROR_DISK_FULL = 112;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct LARGE_INTEGER {
  int64_t QuadPart;
};

constexpr DWORD MAX_PATH = 260;
