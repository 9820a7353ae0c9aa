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
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char16_t c = wide[i];
        unsigned char b = '?';
        // A surrogate pair is one character the code page lacks: one "?".
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) ++i;
        else if (!sim::cp1252::fromUnicode(c, b)) b = '?';
        out.push_back(static_cast<char>(b));
    }
    return out;
}

}  // namespace platform
