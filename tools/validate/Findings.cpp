#include "tools/validate/Findings.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILM_VALIDATE_SANITIZED 1
#include <sanitizer/common_interface_defs.h>
#endif

namespace {
// Fixed storage per thread: the crash handler runs on the crashing thread and
// may only read it and call write().
thread_local char currentCall[512] = "(none)";

void printCurrentCall() {
    const char* head = "\nquilm-validate: the plug-in failed during: ";
    ssize_t ignored = write(STDERR_FILENO, head, std::strlen(head));
    ignored = write(STDERR_FILENO, currentCall, strnlen(currentCall, sizeof(currentCall)));
    ignored = write(STDERR_FILENO, "\n", 1);
    (void)ignored;
}

[[maybe_unused]] void onCrash(int signal) {
    printCurrentCall();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
}  // namespace

void Findings::add(const std::string& scenario, uint64_t seed, uint64_t call, const std::string& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::fprintf(stderr, "FAULT [%s seed %llu call %llu] %s\n", scenario.c_str(),
                 static_cast<unsigned long long>(seed), static_cast<unsigned long long>(call), message.c_str());
    findings_.push_back({scenario, seed, call, message});
}

std::size_t Findings::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return findings_.size();
}

void Findings::setCurrentCall(const char* description) {
    // Torn text from two threads only garbles a crash message, never the run.
    std::strncpy(currentCall, description, sizeof(currentCall) - 1);
    if (trace) std::fprintf(stderr, "call %s\n", description);
}

void Findings::installCrashReport() {
#ifdef QUILM_VALIDATE_SANITIZED
    // The sanitizer keeps its own signal handlers and reports; it calls this before it ends the process.
    __sanitizer_set_death_callback(printCurrentCall);
#else
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(s, onCrash);
#endif
}
