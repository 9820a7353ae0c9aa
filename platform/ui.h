// Message boxes (user32).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbIconError = 0x10;
constexpr uint32_t kMbTaskModal = 0x2000;

// MessageBoxA with no owner window. Shown only on a window station the user
// can see; elsewhere (a service session) it returns 0 at once.
int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type);

}  // namespace platform
