#include "platform/backend.h"
#include "platform/console.h"

#include "platform/win32/windows_support.h"

namespace platform {

uint32_t getConsoleTitleA(char* buffer, uint32_t size) { return GetConsoleTitleA(buffer, size); }
uint64_t getTickCount64() { return GetTickCount64(); }
uint32_t getCurrentProcessId() { return GetCurrentProcessId(); }
void backend::sleepMs(uint32_t milliseconds) { Sleep(milliseconds); }
uint64_t findWindowA(const char* className, const char* windowName) {
    return reinterpret_cast<uint64_t>(FindWindowA(className, windowName));
}

uint32_t getConsoleOutputCP() { return GetConsoleOutputCP(); }

namespace {
HANDLE streamHandle(StdStream stream) {
    return GetStdHandle(stream == StdStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}
}  // namespace

bool isConsoleStream(StdStream stream) {
    DWORD mode = 0;
    return GetConsoleMode(streamHandle(stream), &mode) != 0;
}

bool writeConsoleW(StdStream stream, const std::u16string& text) {
    DWORD written = 0;
    return WriteConsoleW(streamHandle(stream), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
}

bool writeStreamBytes(StdStream stream, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(streamHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
}

}  // namespace platform
