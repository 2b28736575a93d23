#include "platform/WindowSystem.h"

#include <atomic>

namespace {
std::atomic<WindowSystem*> gSystem{nullptr};
}  // namespace

WindowSystem* setWindowSystem(WindowSystem* system) { return gSystem.exchange(system); }

WindowSystem* windowSystem() { return gSystem.load(); }

BOOL GetWindowRect(HWND window, RECT* rect) {
  if (rect == nullptr) return FALSE;
  WindowSystem* system = gSystem.load();
  if (window != nullptr && system != nullptr && system->getWindowRect(window, rect)) return TRUE;
  *rect = RECT{0, 0, 0, 0};
  return FALSE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  WindowSystem* system = gSystem.load();
  if (window == nullptr || system == nullptr) return FALSE;
  return system->setWindowPos(window, insertAfter, x, y, width, height, flags) ? TRUE : FALSE;
}
