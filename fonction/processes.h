// Termination of running processes by image name, and the name rules that
// the process lookups share. The run ends only the suite's own processes
// (korvalend's CLOSESUITEPROCESSES, over WALKPROCESSES); it no longer calls
// CLOSEPROCCESSUS, which ends every process of a name, kept for its interface.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/processes.h"

namespace fonction {

// The image name of a snapshot entry: szExeFile up to its first NUL byte, or
// all 260 bytes when it holds none.
[[nodiscard]] std::string processImageName(const platform::ProcessEntry32& entry);
// The text after the last "\", "/" or ":" (the whole text when none).
[[nodiscard]] std::string imageFileNamePart(const std::string& name);
// ASCII a-z to A-Z; every other byte, letters outside ASCII included, kept.
[[nodiscard]] std::string imageNameUpper(std::string name);

// Takes a snapshot of all processes and hands each entry to VISIT, in the
// snapshot's order; nothing when the snapshot cannot be taken. The snapshot
// is closed on every way out.
void WALKPROCESSES(const std::function<void(const platform::ProcessEntry32&)>& VISIT);

// Terminates, with exit code 0, every running process whose image file name
// equals PNAME (ASCII case ignored). PNAME is used whole. Returns the outcome
// of the last termination attempt (nonzero: it succeeded), 0 when nothing
// matched. Does not wait for the processes to end.
[[nodiscard]] int32_t CLOSEPROCCESSUS(const std::string& PNAME);

}  // namespace fonction
