#include "platform/sim/codepage.h"

#include <array>

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
