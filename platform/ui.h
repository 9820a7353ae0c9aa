// Message boxes (user32), and what tells whether anyone could see one: the
// process's session and window station (kernel32, user32).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbTaskModal = 0x2000;

// MessageBoxA with no owner window. It waits for a click: the caller decides
// whether anyone can give one.
int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type);

// ProcessIdToSessionId; false (and `session` untouched) when it fails.
[[nodiscard]] bool processIdToSessionId(uint32_t processId, uint32_t& session);
// The process's window station carries WSF_VISIBLE; false when it has none or
// its flags cannot be read.
[[nodiscard]] bool processWindowStationVisible();

}  // namespace platform
