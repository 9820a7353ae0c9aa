#include "platform/text.h"

#include "platform/sim/codepage.h"

namespace platform {
namespace {

// Maps each character's bytes; in code page 932 only ASCII letters have a
// case, and the second byte of a pair is never touched.
template <typename Map1252>
std::string mapCase(std::string s, Map1252 map1252, char from, char to) {
    const bool dbcs = sim::activeCodePage() == 932;
    for (std::size_t i = 0; i < s.size(); i += sim::charSize(s, i)) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (!dbcs) s[i] = static_cast<char>(map1252(b));
        else if (s[i] >= from && s[i] <= to) s[i] = static_cast<char>(s[i] ^ 0x20);
    }
    return s;
}

}  // namespace

std::string charUpperBuffA(std::string s) { return mapCase(std::move(s), sim::cp1252::upper, 'a', 'z'); }

std::string charLowerBuffA(std::string s) { return mapCase(std::move(s), sim::cp1252::lower, 'A', 'Z'); }

std::u16string ansiToWide(const std::string& ansi) {
    if (sim::activeCodePage() == 932) return sim::cp932::toUnicode(ansi);
    std::u16string out;
    out.reserve(ansi.size());
    for (char c : ansi) out.push_back(sim::cp1252::toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string wideToAnsi(const std::u16string& wide) {
    if (sim::activeCodePage() == 932) return sim::cp932::fromUnicode(wide);
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

bool equalOrdinalIgnoreCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (sim::cp1252::foldUnicode(a[i]) != sim::cp1252::foldUnicode(b[i])) return false;
    return true;
}

bool isDBCSLeadByte(unsigned char b) { return sim::activeCodePage() == 932 && sim::cp932::isLead(b); }

}  // namespace platform
