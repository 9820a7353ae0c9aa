#include "korvalend/console_probe.h"

#include <array>
#include <string>

#include "platform/console.h"

namespace korvalend {

uint64_t GETCONSOLEHWND() {
    // Cleared first, so that a failed read restores an empty title.
    std::array<char, 1024> OLDWINDOWTITLE{};
    (void)platform::getConsoleTitleA(OLDWINDOWTITLE.data(), static_cast<uint32_t>(OLDWINDOWTITLE.size()));
    OLDWINDOWTITLE.back() = '\0';

    const uint64_t ticks = platform::getTickCount64();
    const uint32_t pid = platform::getCurrentProcessId();
    const std::string NEWWINDOWTITLE = std::to_string(ticks) + "/" + std::to_string(pid);

    (void)platform::setConsoleTitleA(NEWWINDOWTITLE.c_str());
    platform::sleepMs(40);
    const uint64_t found = platform::findWindowA(nullptr, NEWWINDOWTITLE.c_str());
    (void)platform::setConsoleTitleA(OLDWINDOWTITLE.data());
    return found;
}

}  // namespace korvalend
