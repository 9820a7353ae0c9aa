// Console title, clock, process identity and top-level window lookup.
#pragma once

#include <cstdint>
#include <string>

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

// Standard output and standard error.
enum class StdStream { Output, Error };
// GetConsoleOutputCP; 0 when the process has no console.
[[nodiscard]] uint32_t getConsoleOutputCP();
// Whether the stream is a console (GetConsoleMode succeeds on its handle).
[[nodiscard]] bool isConsoleStream(StdStream stream);
// WriteConsoleW of UTF-16 text to a console stream.
bool writeConsoleW(StdStream stream, const std::u16string& text);
// WriteFile of bytes to the stream, when it is a file or a pipe.
bool writeStreamBytes(StdStream stream, const std::string& bytes);

}  // namespace platform
