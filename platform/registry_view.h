// The registry as a 64-bit process sees the 32-bit programs' keys: below
// HKEY_LOCAL_MACHINE, the 32-bit view (KEY_WOW64_32KEY) reaches SOFTWARE\X at
// SOFTWARE\WOW6432Node\X and SOFTWARE itself at the node; SOFTWARE\Classes is
// shared by both views. Without the flag the node is reached by its path.
#pragma once

#include <string>

namespace platform {

// PATH, below HKEY_LOCAL_MACHINE, as the 32-bit view resolves it.
[[nodiscard]] inline std::u16string wow64Path(const std::u16string& path) {
    const auto sameAscii = [](const std::u16string& a, const char16_t* b) {
        std::size_t i = 0;
        for (; i < a.size() && b[i] != 0; ++i) {
            char16_t x = a[i];
            char16_t y = b[i];
            if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - u'a' + u'A');
            if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - u'a' + u'A');
            if (x != y) return false;
        }
        return i == a.size() && b[i] == 0;
    };
    auto component = [&path](std::size_t& at) {
        while (at < path.size() && path[at] == u'\\') ++at;
        const std::size_t start = at;
        while (at < path.size() && path[at] != u'\\') ++at;
        return path.substr(start, at - start);
    };
    std::size_t at = 0;
    if (!sameAscii(component(at), u"SOFTWARE")) return path;
    const std::size_t afterSoftware = at;
    const std::u16string second = component(at);
    if (sameAscii(second, u"Classes") || sameAscii(second, u"WOW6432Node")) return path;
    return path.substr(0, afterSoftware) + u"\\WOW6432Node" + path.substr(afterSoftware);
}

}  // namespace platform
