#include "platform/ModuleInstance.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

std::once_flag gOnce;
std::atomic<HINSTANCE> gInstance{nullptr};

// An address inside this module, for dladdr.
void anchor() {}

}  // namespace

HINSTANCE initModuleInstance() {
  std::call_once(gOnce, [] {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&anchor), &info) != 0) gInstance.store(info.dli_fbase);
  });
  return gInstance.load();
}

HINSTANCE moduleInstance() { return gInstance.load(); }

bool getModulePath(char* path, size_t capacity) {
  if (path == nullptr || capacity == 0) return false;
  char resolved[PATH_MAX];
  Dl_info info;
  const bool known = dladdr(reinterpret_cast<void*>(&anchor), &info) != 0 && info.dli_fname != nullptr &&
                     info.dli_fname[0] != '\0';
  // The name is the one the module was loaded by, relative to the folder of that
  // moment; realpath turns it into an absolute path while the folder is unchanged.
  if (!known || realpath(info.dli_fname, resolved) == nullptr) {
    ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    if (length <= 0) return false;
    resolved[length] = '\0';
  }
  if (strlen(resolved) >= capacity) return false;
  strcpy(path, resolved);
  return true;
}
