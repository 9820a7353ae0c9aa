// The INI reader on any bytes: no crash, no out-of-bounds read, and a known
// section and key placed after the fuzzed bytes in any of the four encodings
// are always found.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "korvalend/ini.h"
#include "platform/text.h"

namespace {

std::string utf16(const std::string& ansi, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : platform::ansiToWide(ansi)) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    (void)korvalend::INIVALUE(korvalend::DECODEINITEXT(bytes), "Bootstrap", "ProductKey", "");

    // Fuzzed text in front of a known section: keep only bytes that cannot
    // open a section or hide the key, so the expected answer stays known.
    std::string prefix;
    for (char c : bytes)
        if (c != '[' && c != ']' && c != '\0') prefix += c;
    const std::string ansi = "[Other]\r\n" + prefix + "\r\n[Bootstrap]\r\nProductKey=Known Value\r\n";
    bool ascii = true;
    for (char c : prefix) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    const std::string encodings[] = {ansi, utf16(ansi, false), utf16(ansi, true), "\xEF\xBB\xBF" + ansi};
    for (std::size_t i = 0; i < 4; ++i) {
        // Bytes above 0x7F are not valid UTF-8 on their own; that variant only
        // needs ASCII text.
        if (i == 3 && !ascii) continue;
        const std::string got =
            korvalend::INIVALUE(korvalend::DECODEINITEXT(encodings[i]), "Bootstrap", "ProductKey", "");
        if (got != "Known Value") std::abort();
    }
    return 0;
}
