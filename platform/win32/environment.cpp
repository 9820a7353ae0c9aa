#include "platform/environment.h"

#include "platform/win32/windows_support.h"

namespace platform {

std::string expandEnvironmentStringsA(const std::string& text) {
    // The size asked for counts the terminating NUL (the ANSI form may want
    // one byte more); a variable may change between the calls, so a text that
    // grew is asked for again.
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 4 && size != 0; ++attempt) {
        std::string buffer(size + 1, '\0');
        const DWORD got = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size + 1);
        if (got == 0) return {};
        if (got <= size + 1) return buffer.substr(0, buffer.find('\0'));
        size = got;
    }
    return {};
}

}  // namespace platform
