#include "platform/Shell.h"

#include <fcntl.h>
#include <signal.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ReplaceableHook.h"

extern char** environ;

namespace {

ReplaceableHook<ShellLauncher> gLauncher;  // null: launchDetached

bool isExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The file exec should run: `program` itself when it names a path, else the first
// executable file of that name in $PATH, as execvp looks (an empty entry is the
// current folder). Empty when there is none.
std::string findProgram(const char* program) {
  if (std::strchr(program, '/') != nullptr) return program;
  const char* path = std::getenv("PATH");
  if (path == nullptr) path = "/bin:/usr/bin";  // what execvp takes without PATH
  for (const char* entry = path;; ++entry) {
    const char* end = std::strchr(entry, ':');
    const std::string folder(entry, end != nullptr ? static_cast<size_t>(end - entry) : std::strlen(entry));
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
    if (isExecutableFile(candidate)) return candidate;
    if (end == nullptr) return "";
    entry = end;
  }
}

// Closes descriptors first..last; between fork and exec, so system calls only.
void closeRange(unsigned int first, unsigned int last, unsigned int highest) {
  if (first > last) return;
  if (close_range(first, last, 0) == 0) return;
  for (unsigned int fd = first; fd <= last && fd <= highest; ++fd) close(static_cast<int>(fd));
}

// Writes errno into the report pipe; between fork and exec.
void reportError(int report) {
  const int error = errno;
  const ssize_t written = write(report, &error, sizeof(error));
  (void)written;  // nothing more can be done: the launch then counts as started
}

// The grandchild: keeps 0, 1, 2 and the report pipe (closed by the exec) and runs the
// program; when it cannot, it writes errno into the pipe. Between fork and exec only
// async-signal-safe calls are made. Never returns.
[[noreturn]] void runProgram(const char* path, char* const argv[], int report, unsigned int highest,
                             const sigset_t* mask) {
  const auto keep = static_cast<unsigned int>(report);
  if (keep >= 3) {
    closeRange(3, keep - 1, highest);
    closeRange(keep + 1, UINT_MAX, highest);
  } else {
    closeRange(3, UINT_MAX, highest);
  }
  sigprocmask(SIG_SETMASK, mask, nullptr);
  execve(path, argv, environ);
  reportError(report);
  _exit(127);
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

bool launchDetached(const char* program, const char* argument) {
  if (program == nullptr || program[0] == '\0' || argument == nullptr) return false;
  const std::string path = findProgram(program);
  if (path.empty()) return false;
  std::string programCopy = program;
  std::string argumentCopy = argument;
  char* argv[] = {programCopy.data(), argumentCopy.data(), nullptr};
  const long openMax = sysconf(_SC_OPEN_MAX);  // for kernels without close_range
  const unsigned int highest = openMax > 0 && openMax < INT_MAX ? static_cast<unsigned int>(openMax) : 65536u;

  // The pipe tells whether the exec succeeded: it closes on exec, or carries errno.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  // No signal handler of the host may run in the children before the exec.
  sigset_t all, old;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &old);
  // _Fork runs no fork handlers of the host's libraries; the child in between only
  // forks the grandchild and ends, so it is reaped here at once and the grandchild,
  // orphaned, is never this process's to reap.
  const pid_t child = _Fork();
  if (child == 0) {
    const pid_t grandchild = _Fork();
    if (grandchild == 0) runProgram(path.c_str(), argv, report[1], highest, &old);
    if (grandchild < 0) reportError(report[1]);
    _exit(0);
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  close(report[1]);
  bool started = false;
  if (child > 0) {
    // Ends at once; ECHILD when the host lets the system reap its children.
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    while ((n = read(report[0], &error, sizeof(error))) < 0 && errno == EINTR) {
    }
    started = n == 0;  // the pipe closed without a word: the exec succeeded
  }
  close(report[0]);
  return started;
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
