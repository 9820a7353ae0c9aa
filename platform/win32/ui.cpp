#include "platform/ui.h"

#include "platform/win32/windows_support.h"

namespace platform {

int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type) {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type);
}

bool processIdToSessionId(uint32_t processId, uint32_t& session) {
    DWORD id = 0;
    if (!ProcessIdToSessionId(processId, &id)) return false;
    session = id;
    return true;
}

bool processWindowStationVisible() {
    HWINSTA station = GetProcessWindowStation();
    if (station == nullptr) return false;
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    if (!GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return false;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace platform
