// The ANSI code page: case mapping (user32 CharUpperBuffA / CharLowerBuffA),
// conversions to and from UTF-16 and its lead bytes.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Every byte is mapped, NUL bytes included; the length never changes.
[[nodiscard]] std::string charUpperBuffA(std::string s);
[[nodiscard]] std::string charLowerBuffA(std::string s);

// MultiByteToWideChar(CP_ACP). Embedded NULs are kept.
[[nodiscard]] std::u16string ansiToWide(const std::string& ansi);
// WideCharToMultiByte(CP_ACP) without best-fit mapping: each UTF-16 code
// unit the code page lacks becomes "?" (a surrogate pair gives "??").
// Embedded NULs are kept.
[[nodiscard]] std::string wideToAnsi(const std::u16string& wide);

// CompareStringOrdinal with letter case ignored, as the file system compares
// names: true when the two texts are equal.
[[nodiscard]] bool equalOrdinalIgnoreCase(const std::u16string& a, const std::u16string& b);

// WideCharToMultiByte into another code page (the console's): characters it
// lacks become its default character.
[[nodiscard]] std::string wideToCodePage(const std::u16string& wide, uint32_t codePage);

// IsDBCSLeadByteEx(CP_ACP): the byte starts a two-byte character of the
// system code page (never in a single-byte code page such as 1252).
[[nodiscard]] bool isDBCSLeadByte(unsigned char b);

}  // namespace platform
