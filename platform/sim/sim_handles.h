// Process handles of the simulated machine, shared by the process wrappers
// and the shell (which hands out a handle for each program it starts).
#pragma once

#include <cstdint>

#include "platform/handle.h"

namespace sim {

struct ProcessHandleInfo {
    uint32_t magic;
    uint32_t pid;
    uint32_t access;
};

// A new handle on process `pid`, counted as open in the process table.
[[nodiscard]] platform::Handle newProcessHandle(uint32_t pid, uint32_t access);
// Releases it; a handle that is no process handle of ours is ignored.
void closeProcessHandle(platform::Handle h) noexcept;
// What the handle refers to, or null when it is no live process handle.
[[nodiscard]] const ProcessHandleInfo* processHandleInfo(platform::Handle h) noexcept;

}  // namespace sim
