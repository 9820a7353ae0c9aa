// Code page 1252 as Windows has it: byte <-> UTF-16 and the case mapping of
// CharUpperBuffA / CharLowerBuffA.
#pragma once

#include <cstdint>

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
