// The simulated machine's ANSI code pages, as Windows has them: 1252 (the
// default) and 932, byte <-> UTF-16 and the case mapping of CharUpperBuffA /
// CharLowerBuffA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim::cp1252 {

[[nodiscard]] char16_t toUnicode(unsigned char b) noexcept;
// The byte for a UTF-16 code unit; false when the code page lacks it.
[[nodiscard]] bool fromUnicode(char16_t c, unsigned char& b) noexcept;
[[nodiscard]] unsigned char upper(unsigned char b) noexcept;
[[nodiscard]] unsigned char lower(unsigned char b) noexcept;
// Case-insensitive folding of a UTF-16 code unit, as the registry and the file
// system compare names (simple upper-casing of Latin letters).
[[nodiscard]] char16_t foldUnicode(char16_t c) noexcept;

}  // namespace sim::cp1252

// Code page 932 (Japanese): lead bytes 0x81-0x9F and 0xE0-0xFC start a
// two-byte character whose second byte may be any of 0x40-0xFC, "\" and "|"
// included. Only ASCII letters have a case here. The conversions know ASCII,
// the half-width katakana and the few double-byte characters the tests use.
namespace sim::cp932 {

[[nodiscard]] bool isLead(unsigned char b) noexcept;
[[nodiscard]] std::u16string toUnicode(const std::string& ansi);
// "?" for each UTF-16 code unit the table lacks (no best fit).
[[nodiscard]] std::string fromUnicode(const std::u16string& wide);

}  // namespace sim::cp932

namespace sim {

// The ANSI code page of the machine the wrappers work on: 1252 or 932
// (1252 while no machine exists).
[[nodiscard]] uint32_t activeCodePage() noexcept;
// Bytes taken by the character that starts at `i`: 2 for a lead byte of the
// active code page followed by a byte other than NUL, else 1.
[[nodiscard]] std::size_t charSize(const std::string& s, std::size_t i) noexcept;

}  // namespace sim
