#pragma once
// Runs the quilm-validate program on the test instrument with one fault chosen
// (or "none") and collects what it prints.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ValidatorRun {
    int status;          // exit status, or 128 + signal
    std::string output;  // stdout and stderr
};

inline ValidatorRun runValidator(const std::string& fault, const std::string& arguments) {
    const std::string command = "QUILM_FAULTY_PLUGIN=" + fault + " " + QUILM_VALIDATE_EXE + " " + arguments +
                                " --release-seconds 2 " + QUILM_FAULTY_PLUGIN + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ValidatorRun run{-1, {}};
    if (pipe == nullptr) return run;
    std::array<char, 4096> chunk;
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) run.output += chunk.data();
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return run;
}
