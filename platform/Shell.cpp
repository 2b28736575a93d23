#include "platform/Shell.h"

#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/ReplaceableHook.h"

extern char** environ;

namespace {

ReplaceableHook<ShellLauncher> gLauncher;  // null: launchDetached

// Children started by launchDetached that have not been reaped yet.
constexpr int kMaxPending = 16;
std::mutex gPendingMutex;
pid_t gPending[kMaxPending] = {};  // guarded by gPendingMutex

// Reaps every pending child that has ended (or that someone else reaped).
void reapEndedLocked() {
  for (pid_t& pid : gPending) {
    if (pid > 0 && waitpid(pid, nullptr, WNOHANG) != 0) pid = 0;
  }
}

bool sameIgnoringCase(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

bool isExplorer(const char* file) {
  const char* name = file;
  for (const char* p = file; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  return sameIgnoringCase(name, "explorer.exe");
}

// A path as xdg-open should see it: '/' separators, never mistaken for an option.
std::string pathArgument(const char* path) {
  std::string result = path;
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  if (!result.empty() && result[0] == '-') result = "./" + result;
  return result;
}

HINSTANCE codeAsInstance(int code) { return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(code)); }

}  // namespace

pid_t spawnProgram(const char* program, const char* argument) {
  if (program == nullptr || program[0] == '\0' || argument == nullptr) return -1;
  std::string programCopy = program;
  std::string argumentCopy = argument;
  char* argv[] = {programCopy.data(), argumentCopy.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

bool launchDetached(const char* program, const char* argument) {
  pid_t pid = spawnProgram(program, argument);
  std::lock_guard<std::mutex> lock(gPendingMutex);
  reapEndedLocked();
  if (pid < 0) return false;
  for (pid_t& slot : gPending) {
    if (slot == 0) {
      slot = pid;
      return true;
    }
  }
  return true;  // table full: this child is left to the process's end
}

ShellLauncher setShellLauncher(ShellLauncher launcher, void* context, void** previousContext) {
  return gLauncher.replace(launcher, context, previousContext);
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
  if (info == nullptr) return FALSE;
  info->hInstApp = codeAsInstance(SE_ERR_NOASSOC);
  if (info->lpVerb != nullptr && info->lpVerb[0] != '\0' && !sameIgnoringCase(info->lpVerb, "open")) return FALSE;
  if (info->lpFile == nullptr || info->lpFile[0] == '\0') return FALSE;

  std::string target;
  if (std::strstr(info->lpFile, "://") != nullptr) {
    target = info->lpFile;  // a web address goes as it is
  } else if (isExplorer(info->lpFile)) {
    if (info->lpParameters == nullptr || info->lpParameters[0] == '\0') return FALSE;
    target = pathArgument(info->lpParameters);
  } else {
    target = pathArgument(info->lpFile);
  }

  const auto launcher = gLauncher.current();
  const bool started = launcher.function != nullptr ? launcher.function(launcher.context, "xdg-open", target.c_str())
                                                    : launchDetached("xdg-open", target.c_str());
  if (!started) {
    info->hInstApp = codeAsInstance(SE_ERR_FNF);
    return FALSE;
  }
  info->hInstApp = codeAsInstance(42);  // any value above 32 means success
  return TRUE;
}
