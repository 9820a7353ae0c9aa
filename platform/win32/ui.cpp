#include "platform/ui.h"

#include "platform/win32/windows_support.h"

namespace platform {
namespace {

// A process of the local system account started by a deployment tool runs on
// a window station nobody sees: a message box there would wait for a click
// that never comes, so the unattended run would never end.
bool interactiveWindowStation() {
    HWINSTA station = GetProcessWindowStation();
    if (station == nullptr) return false;
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type) {
    if (!interactiveWindowStation()) return 0;
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type);
}

}  // namespace platform
