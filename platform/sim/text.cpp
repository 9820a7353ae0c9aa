#include "platform/text.h"

#include "platform/sim/codepage.h"

namespace platform {

std::string charUpperBuffA(std::string s) {
    for (char& c : s) c = static_cast<char>(sim::cp1252::upper(static_cast<unsigned char>(c)));
    return s;
}

std::string charLowerBuffA(std::string s) {
    for (char& c : s) c = static_cast<char>(sim::cp1252::lower(static_cast<unsigned char>(c)));
    return s;
}

std::u16string ansiToWide(const std::string& ansi) {
    std::u16string out;
    out.reserve(ansi.size());
    for (char c : ansi) out.push_back(sim::cp1252::toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string wideToAnsi(const std::u16string& wide) {
    std::string out;
    out.reserve(wide.size());
    // One byte per UTF-16 code unit: a surrogate pair becomes "??", as the
    // platform converts it for a single-byte code page.
    for (const char16_t c : wide) {
        unsigned char b = '?';
        if (!sim::cp1252::fromUnicode(c, b)) b = '?';
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::string wideToCodePage(const std::u16string& wide, uint32_t codePage) {
    if (codePage == 1252) return wideToAnsi(wide);
    // The other simulated code pages (the consoles' OEM ones) hold ASCII only.
    std::string out;
    for (const char16_t c : wide) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace platform
