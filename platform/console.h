// Console title, clock, process identity and top-level window lookup.
#pragma once

#include <cstdint>

namespace platform {

// GetConsoleTitleA: copies at most `size` bytes (terminating NUL included);
// returns the title length, 0 on failure.
uint32_t getConsoleTitleA(char* buffer, uint32_t size);
// SetConsoleTitleA from a NUL-terminated text; false without a console.
bool setConsoleTitleA(const char* title);
[[nodiscard]] uint64_t getTickCount64();
[[nodiscard]] uint32_t getCurrentProcessId();
void sleepMs(uint32_t milliseconds);
// FindWindowA: the top-level window whose class and title match (a null
// pointer matches any); 0 when none.
[[nodiscard]] uint64_t findWindowA(const char* className, const char* windowName);

}  // namespace platform
