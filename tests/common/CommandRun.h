#pragma once
// Runs a shell command and collects its exit status and what it prints (standard
// output and error together). Test support; any thread.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct CommandRun {
    int status;          // exit status, or 128 + signal
    std::string output;  // stdout and stderr
};

inline CommandRun runCommand(const std::string& command) {
    CommandRun run{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> chunk;
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) run.output += chunk.data();
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return run;
}
