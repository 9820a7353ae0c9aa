#include "platform/ui.h"

#include "platform/win32/windows_support.h"

namespace platform {

int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type) {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type);
}

}  // namespace platform
