#include "platform/backend.h"
#include "platform/console.h"

#include <cstring>

#include "platform/sim/machine.h"

namespace platform {

uint32_t getConsoleTitleA(char* buffer, uint32_t size) {
    auto& m = sim::current();
    if (!m.console.attached || buffer == nullptr || size == 0) return 0;
    const std::size_t n = m.console.title.size() < size - 1 ? m.console.title.size() : size - 1;
    std::memcpy(buffer, m.console.title.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

bool backend::setConsoleTitleA(const char* title) {
    auto& m = sim::current();
    if (!m.console.attached || title == nullptr) return false;
    m.console.title = title;
    ++m.console.titleChanges;
    return true;
}

uint64_t getTickCount64() { return sim::current().nowMs; }
uint32_t getCurrentProcessId() { return sim::current().currentProcessId; }
void backend::sleepMs(uint32_t milliseconds) { sim::current().advance(milliseconds); }

uint64_t findWindowA(const char* className, const char* windowName) {
    auto& m = sim::current();
    if (m.console.attached && className == nullptr && windowName != nullptr && m.console.title == windowName)
        return m.consoleHwnd;
    for (const auto& w : m.windows) {
        if (className != nullptr && w.className != className) continue;
        if (windowName != nullptr && w.title != windowName) continue;
        return w.hwnd;
    }
    return 0;
}

uint32_t getConsoleOutputCP() {
    const auto& c = sim::current().console;
    return c.attached ? c.outputCodePage : 0;
}

bool isConsoleStream(StdStream stream) {
    (void)stream;
    const auto& c = sim::current().console;
    return c.attached && c.streamsAreConsole;
}

bool writeConsoleW(StdStream stream, const std::u16string& text) {
    if (!isConsoleStream(stream)) return false;
    sim::current().console.written[stream == StdStream::Output ? 0 : 1] += text;
    return true;
}

bool writeStreamBytes(StdStream stream, const std::string& bytes) {
    if (isConsoleStream(stream)) return false;
    sim::current().console.bytes[stream == StdStream::Output ? 0 : 1] += bytes;
    return true;
}

}  // namespace platform
