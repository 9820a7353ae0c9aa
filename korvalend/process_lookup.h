// Whether a process with a given image name runs.
#pragma once

#include <string>

namespace korvalend {

// True when a running process's image name, or its file-name part, equals
// EXEFILENAME with ASCII case ignored. Walks the whole snapshot.
[[nodiscard]] bool PROCESSEXISTS(const std::string& EXEFILENAME);

}  // namespace korvalend
