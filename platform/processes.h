// Process snapshot (Tool Help), opening and termination (kernel32).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace platform {

constexpr uint32_t kTh32csSnapProcess = 2;
constexpr uint32_t kProcessTerminate = 1;
constexpr uint32_t kProcessQueryLimitedInformation = 0x1000;
// Size of PROCESSENTRY32 (ANSI) on 64-bit Windows.
constexpr uint32_t kProcessEntry32Size = 304;

// The two fields the program reads of PROCESSENTRY32, and the size it sets.
struct ProcessEntry32 {
    uint32_t dwSize = 0;
    uint32_t th32ProcessID = 0;
    std::array<char, 260> szExeFile{};  // NUL-terminated unless all 260 bytes are used
};

struct SnapshotTraits : InvalidIsEmpty {
    static void close(Handle h) noexcept;  // CloseHandle
};
using UniqueSnapshot = UniqueHandle<SnapshotTraits>;

struct ProcessTraits : NullIsEmpty {
    static void close(Handle h) noexcept;  // CloseHandle
};
using UniqueProcess = UniqueHandle<ProcessTraits>;

[[nodiscard]] UniqueSnapshot createToolhelp32Snapshot(uint32_t flags, uint32_t processId);
// Process32First / Process32Next. `entry.dwSize` must be set by the caller;
// false when there is no such entry (or the size is wrong).
[[nodiscard]] bool process32First(Handle snapshot, ProcessEntry32& entry);
[[nodiscard]] bool process32Next(Handle snapshot, ProcessEntry32& entry);

// OpenProcess; an empty owner on failure.
[[nodiscard]] UniqueProcess openProcess(uint32_t access, bool inheritHandle, uint32_t processId);
// TerminateProcess; nonzero on success.
[[nodiscard]] int32_t terminateProcess(Handle process, uint32_t exitCode);
// QueryFullProcessImageNameW, Win32 form: the full path of the process's
// executable, through a handle with PROCESS_QUERY_LIMITED_INFORMATION. False,
// and `path` untouched, when it cannot be read.
[[nodiscard]] bool queryFullProcessImageNameW(Handle process, std::u16string& path);
// GetExitCodeProcess: the process's exit code, STILL_ACTIVE while it runs.
// False (and `code` untouched) when the handle cannot be queried.
[[nodiscard]] bool getExitCodeProcess(Handle process, uint32_t& code);

}  // namespace platform
