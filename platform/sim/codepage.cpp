#include "platform/sim/codepage.h"

#include <array>
#include <utility>

#include "platform/sim/machine.h"

namespace sim::cp1252 {
namespace {

// 0x80..0x9F of code page 1252. The five unassigned bytes map to the C1
// control of the same value, as MultiByteToWideChar does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t unicodeUpper(char16_t c) noexcept {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    switch (c) {
        case 0xFF: return 0x178;
        case 0x161: return 0x160;
        case 0x153: return 0x152;
        case 0x17E: return 0x17D;
        case 0x192: return 0x191;
        case 0xB5: return 0x39C;
        default: break;
    }
    if (c >= 0x100 && c <= 0x17F && (c & 1) == 1 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F)
        return static_cast<char16_t>(c - 1);
    return c;
}

char16_t unicodeLower(char16_t c) noexcept {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    switch (c) {
        case 0x178: return 0xFF;
        case 0x160: return 0x161;
        case 0x152: return 0x153;
        case 0x17D: return 0x17E;
        case 0x191: return 0x192;
        default: break;
    }
    return c;
}

}  // namespace

char16_t toUnicode(unsigned char b) noexcept {
    if (b >= 0x80 && b <= 0x9F) return kHigh[b - 0x80];
    return b;
}

bool fromUnicode(char16_t c, unsigned char& b) noexcept {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        b = static_cast<unsigned char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c) {
            b = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

unsigned char upper(unsigned char b) noexcept {
    unsigned char out = b;
    return fromUnicode(unicodeUpper(toUnicode(b)), out) ? out : b;
}

unsigned char lower(unsigned char b) noexcept {
    unsigned char out = b;
    return fromUnicode(unicodeLower(toUnicode(b)), out) ? out : b;
}

char16_t foldUnicode(char16_t c) noexcept { return unicodeUpper(c); }

}  // namespace sim::cp1252

namespace sim::cp932 {
namespace {

// The double-byte characters the tests spell paths with; several end in 0x5C
// ("\") or 0x7C ("|").
constexpr std::array<std::pair<uint16_t, char16_t>, 7> kDouble = {{
    {0x817E, 0x00D7},  // multiplication sign
    {0x82A0, 0x3042},  // hiragana a
    {0x835C, 0x30BD},  // katakana so
    {0x837C, 0x30DD},  // katakana po
    {0x8EA6, 0x793A},  // "show"
    {0x945C, 0x80FD},  // "ability"
    {0x955C, 0x8868},  // "table"
}};
constexpr char16_t kUnknown = 0x30FB;  // what the platform gives for a pair it does not know

}  // namespace

bool isLead(unsigned char b) noexcept { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::u16string toUnicode(const std::string& ansi) {
    std::u16string out;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        if (isLead(b) && i + 1 < ansi.size() && ansi[i + 1] != '\0') {
            const auto code = static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(ansi[++i]));
            char16_t c = kUnknown;
            for (const auto& [bytes, unicode] : kDouble)
                if (bytes == code) c = unicode;
            out.push_back(c);
        } else if (b >= 0xA1 && b <= 0xDF) {
            out.push_back(static_cast<char16_t>(0xFF61 + (b - 0xA1)));
        } else {
            out.push_back(b < 0x80 ? b : kUnknown);
        }
    }
    return out;
}

std::string fromUnicode(const std::u16string& wide) {
    std::string out;
    for (const char16_t c : wide) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            out.push_back(static_cast<char>(0xA1 + (c - 0xFF61)));
        } else {
            std::string bytes = "?";
            for (const auto& [code, unicode] : kDouble)
                if (unicode == c) bytes = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            out += bytes;
        }
    }
    return out;
}

}  // namespace sim::cp932

namespace sim {

uint32_t activeCodePage() noexcept {
    const Machine* m = currentOrNull();
    return m == nullptr ? 1252 : m->codePage;
}

std::size_t charSize(const std::string& s, std::size_t i) noexcept {
    const bool pair = activeCodePage() == 932 && i + 1 < s.size() && s[i + 1] != '\0' &&
                      cp932::isLead(static_cast<unsigned char>(s[i]));
    return pair ? 2 : 1;
}

}  // namespace sim
