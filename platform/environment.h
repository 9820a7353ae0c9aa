// Environment variables of the process (kernel32).
#pragma once

#include <string>

namespace platform {

// ExpandEnvironmentStringsA: each %NAME% of a defined variable replaced, an
// unknown one left as written; "" when the call fails.
[[nodiscard]] std::string expandEnvironmentStringsA(const std::string& text);

}  // namespace platform
