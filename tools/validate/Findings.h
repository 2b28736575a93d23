#pragma once
// The faults a validation run finds, with what reproduces them, and the
// description of the call in progress (printed when the plug-in crashes the
// process). Any thread: recording takes a lock; this is the host, not the plug-in.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct Finding {
    std::string scenario;  // scenario name
    uint64_t seed;         // the scenario's seed
    uint64_t call;         // number of the call (within the scenario) that showed the fault
    std::string message;   // what went wrong
};

class Findings {
public:
    // Records one fault. Any thread.
    void add(const std::string& scenario, uint64_t seed, uint64_t call, const std::string& message);
    // Everything recorded so far. Call after the threads have stopped.
    const std::vector<Finding>& all() const { return findings_; }
    std::size_t count() const;

    // Describes the call about to be made (kept in a fixed buffer for the crash handler). Any thread.
    static void setCurrentCall(const char* description);
    // Installs handlers that print the current call when the process crashes.
    static void installCrashReport();
    // Whether every call is printed as it is made.
    static inline bool trace = false;

private:
    mutable std::mutex mutex_;
    std::vector<Finding> findings_;
};
