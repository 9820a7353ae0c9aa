// The whole run of the program.
#pragma once

#include <string>
#include <vector>

#include "korvalend/outcome.h"

namespace korvalend {

// Chooses SPARAM from the first argument: "/quiet" exactly, or the default.
void SETPARAM(const std::vector<std::string>& args);

// The run from top to bottom: probe, options, its record when asked for,
// detection, then every suite of the family in turn (resolution, removal),
// the packs left without a suite, and the exit code of what stays. An error
// is told to the observer (failed) and passes through to the caller.
[[nodiscard]] int RUN(const std::vector<std::string>& args);

// The report of the error being handled: its class name and message. Called
// only inside a catch handler.
[[nodiscard]] std::string CURRENTERRORREPORT();

// The process's behaviour at its end: RUN's exit code, or 217 after an error
// that nothing caught, reported in a message box titled "Error".
[[nodiscard]] int RUNPROCESS(const std::vector<std::string>& args);

}  // namespace korvalend
