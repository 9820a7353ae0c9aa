// Finds the window of the console the process is attached to.
#pragma once

#include <cstdint>

namespace korvalend {

// Gives the console a unique title ("tick/pid"), waits 40 ms, looks the title
// up among the top-level windows and restores the old title. 0 without a
// console.
[[nodiscard]] uint64_t GETCONSOLEHWND();

}  // namespace korvalend
