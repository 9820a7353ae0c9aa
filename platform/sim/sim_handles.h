// Kernel handles of the simulated machine: process handles, shared by the
// process wrappers and the shell (which hands out a handle for each program
// it starts), and handles of named mutexes. Each kind begins with its own
// magic number, so a wait can tell what it was given.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace sim {

struct ProcessHandleInfo {
    uint32_t magic;
    uint32_t pid;
    uint32_t access;
};

struct MutexHandleInfo {
    uint32_t magic;
    std::u16string name;
};

// A new handle on process `pid`, counted as open in the process table.
[[nodiscard]] platform::Handle newProcessHandle(uint32_t pid, uint32_t access);
// Releases it; a handle that is no process handle of ours is ignored.
void closeProcessHandle(platform::Handle h) noexcept;
// What the handle refers to, or null when it is no live process handle.
[[nodiscard]] const ProcessHandleInfo* processHandleInfo(platform::Handle h) noexcept;

// The same for a handle of the named mutex `name`.
[[nodiscard]] platform::Handle newMutexHandle(const std::u16string& name);
void closeMutexHandle(platform::Handle h) noexcept;
[[nodiscard]] const MutexHandleInfo* mutexHandleInfo(platform::Handle h) noexcept;

}  // namespace sim
