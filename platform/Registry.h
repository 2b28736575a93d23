// The registry calls of the editor-size setting, kept as a file store.
//
// HKEY_CURRENT_USER is a folder (by default $XDG_CONFIG_HOME, else ~/.config);
// a key path is a chain of sub-folders below it, backslash-separated, with a
// leading "Software" left out: "Software\Corvane Audio\Quilm\" is the folder
// "Corvane Audio/Quilm". Each value is one file in its key's folder holding the
// value's bytes; the type is not kept (a query reports REG_BINARY).
// Reading creates nothing; a write replaces the value atomically (a temporary
// file renamed over the old one), so a failed write leaves the old value.
// Nothing is ever shown or logged. All calls may run on any thread.
#pragma once

#include <string>

#include "platform/WinTypes.h"

struct RegistryKey;  // an open key; only the stand-ins look inside
using HKEY = RegistryKey*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

// The one root key that exists (Windows' handle value).
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u));

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Opens an existing key below `key`; ERROR_FILE_NOT_FOUND when it does not exist.
// *result is null on failure. Any thread.
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);

// Opens a key, creating it and the keys above it when missing. `reserved` must be 0;
// `keyClass` and `security` are ignored; `disposition` (may be null) tells whether
// the key was created. Any thread.
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                     REGSAM access, const void* security, PHKEY result, LPDWORD disposition);

// Reads a value: with data null only its size; ERROR_MORE_DATA (and the size
// needed) when *dataSize is too small; ERROR_FILE_NOT_FOUND when it is missing.
// Needs KEY_QUERY_VALUE. Any thread.
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize);

// Writes a value of `dataSize` bytes atomically; the type is accepted and not kept.
// Needs KEY_SET_VALUE. Any thread.
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize);

// Closes a key opened by the calls above; closing HKEY_CURRENT_USER does nothing.
// Any thread.
LONG RegCloseKey(HKEY key);

// Points HKEY_CURRENT_USER at another folder (tests); null or "" returns to the
// default ($XDG_CONFIG_HOME, else $HOME/.config). Keys already open keep their
// folder. Any thread.
void setRegistryBaseFolder(const char* folder);

// The folder HKEY_CURRENT_USER stands for at this moment ("" when none is known).
// Any thread.
std::string registryBaseFolder();
