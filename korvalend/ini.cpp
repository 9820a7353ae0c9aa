#include "korvalend/ini.h"

#include <string_view>

#include "fonction/strings.h"
#include "platform/files.h"
#include "platform/text.h"

namespace korvalend {
namespace {

std::u16string decodeUtf16(std::string_view body, bool bigEndian) {
    std::u16string out(body.size() / 2, u'\0');  // an odd last byte is no character
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto a = static_cast<unsigned char>(body[2 * i]);
        const auto b = static_cast<unsigned char>(body[2 * i + 1]);
        out[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return out;
}

// Malformed sequences become U+FFFD, which the code page turns into "?".
std::u16string decodeUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
            i = ok ? j : (j > i + 1 ? j : i + 1);
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i = j;
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string_view strip(std::string_view s) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}


}  // namespace

std::string DECODEINITEXT(const std::string& bytes) {
    const std::string_view all(bytes);
    if (startsWith(all, "\xFF\xFE")) return platform::wideToAnsi(decodeUtf16(all.substr(2), false));
    if (startsWith(all, "\xFE\xFF")) return platform::wideToAnsi(decodeUtf16(all.substr(2), true));
    if (startsWith(all, "\xEF\xBB\xBF")) return platform::wideToAnsi(decodeUtf8(all.substr(3)));
    return bytes;
}

std::string INIVALUE(const std::string& text, const std::string& SECTION, const std::string& KEY,
                     const std::string& DEFAULT) {
    const std::string_view all(text);
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < all.size()) {
        // Lines end at CR LF, LF or CR.
        std::size_t end = all.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = strip(all.substr(pos, end - pos));
        pos = end;
        if (pos < all.size() && all[pos] == '\r') ++pos;
        if (pos < all.size() && all[pos] == '\n') ++pos;
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            if (inSection) break;  // only the first section of that name counts
            inSection = fonction::EQUALSASCIICASELESS(line.substr(1, line.size() - 2), SECTION);
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!fonction::EQUALSASCIICASELESS(strip(line.substr(0, eq)), KEY)) continue;
        std::string_view value = strip(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return DEFAULT;
}

std::string INIREADSTRING(const std::string& FILENAME, const std::string& SECTION, const std::string& KEY,
                          const std::string& DEFAULT) {
    const std::optional<std::string> bytes = platform::readWholeFile(FILENAME);
    if (!bytes) return DEFAULT;
    return INIVALUE(DECODEINITEXT(*bytes), SECTION, KEY, DEFAULT);
}

}  // namespace korvalend
