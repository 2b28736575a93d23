// GetWindowRect and SetWindowPos on the host's parent window. The GUI library's
// X11 back end implements them (WindowSystem) and installs itself; tests
// install a fake. Without one, both calls fail.
#pragma once

#include "platform/WinTypes.h"

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The window's rectangle in screen pixels; FALSE when it cannot be read. UI thread.
  virtual BOOL getWindowRect(HWND window, RECT* rect) = 0;
  // Moves and/or sizes the window as SetWindowPos does (SWP_ flags); UI thread.
  virtual BOOL setWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) = 0;
};

// Installs the implementation (not owned; null: none) and answers the previous
// one. The caller keeps it alive until it installs another. Any thread.
WindowSystem* setWindowSystem(WindowSystem* system);

// The installed implementation, or null. Any thread.
WindowSystem* windowSystem();

// The window's rectangle in screen coordinates. On failure (no window, no
// implementation) FALSE and an all-zero rectangle. UI thread.
BOOL GetWindowRect(HWND window, RECT* rect);

// Positions and sizes the window; FALSE without a window or an implementation.
// UI thread.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
