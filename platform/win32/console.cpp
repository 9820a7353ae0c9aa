#include "platform/console.h"

#include "platform/win32/windows_support.h"

namespace platform {

uint32_t getConsoleTitleA(char* buffer, uint32_t size) { return GetConsoleTitleA(buffer, size); }
bool setConsoleTitleA(const char* title) { return SetConsoleTitleA(title) != 0; }
uint64_t getTickCount64() { return GetTickCount64(); }
uint32_t getCurrentProcessId() { return GetCurrentProcessId(); }
void sleepMs(uint32_t milliseconds) { Sleep(milliseconds); }
uint64_t findWindowA(const char* className, const char* windowName) {
    return reinterpret_cast<uint64_t>(FindWindowA(className, windowName));
}

}  // namespace platform
