// Byte-wise scanning of paths and names that steps over the double-byte
// characters of the system code page (932, 936, 949, 950): there the second
// byte of a character may be 0x5C, the backslash, or 0x7C, "|". In a
// single-byte code page every byte is a character and these are the plain
// byte-wise tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fonction {

// Bytes taken by the character that starts at I: 2 for a lead byte followed
// by a byte other than NUL, else 1.
[[nodiscard]] std::size_t CHARSIZEAT(const std::string& S, std::size_t I);
// The byte at I is a character of its own and one of DELIMITERS.
[[nodiscard]] bool ISDELIMITERAT(const std::string& S, std::size_t I, std::string_view DELIMITERS);
// Position of the last delimiter that is a character of its own, or npos
// (so npos also says that S holds none of them).
[[nodiscard]] std::size_t LASTDELIMITER(const std::string& S, std::string_view DELIMITERS);
[[nodiscard]] bool ENDSWITHBACKSLASH(const std::string& S);
// S cut at each delimiter: n delimiters give n + 1 parts, empty ones kept.
[[nodiscard]] std::vector<std::string> SPLITCOMPONENTS(const std::string& S, std::string_view DELIMITERS);

}  // namespace fonction
