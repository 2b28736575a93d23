#pragma once
// Runs the quilm-validate program on the test instrument with one fault chosen
// (or "none") and collects what it prints.

#include <string>

#include "tests/common/CommandRun.h"

using ValidatorRun = CommandRun;

inline ValidatorRun runValidator(const std::string& fault, const std::string& arguments) {
    return runCommand("QUILM_FAULTY_PLUGIN=" + fault + " " + QUILM_VALIDATE_EXE + " " + arguments +
                      " --release-seconds 2 " + QUILM_FAULTY_PLUGIN);
}
