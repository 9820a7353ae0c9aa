// String search, case mapping, tokens and the wildcard matcher. Byte strings
// in the ANSI code page; positions are 1-based and 0 means "not found".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "platform/tstrings.h"

namespace fonction {

constexpr int64_t ANSICHARCOUNT = 256;
constexpr int64_t ANSICASEMAPSIZE = 3 * ANSICHARCOUNT;
constexpr int64_t ANSIUPOFFSET = ANSICHARCOUNT;

using TANSICASEMAP = std::array<unsigned char, ANSICASEMAPSIZE>;
// The library's case map. Its upper-case section (entries 256..511) is filled
// from the platform's ANSI upper-casing the first time anything reaches it,
// which is before any operation of the library can read it; the other two
// sections are never read and stay zero.
extern const TANSICASEMAP& ANSICASEMAP;

// The library's error: a blank wildcard pattern or a bad start position.
class EStringError : public platform::Exception {
public:
    using platform::Exception::Exception;
    [[nodiscard]] const char* className() const noexcept override { return "EStringError"; }
};

// Replaceable message texts, looked up by key each time an error is raised.
struct TRESOURCESTRING {
    const char* key;
    const char* defaultText;
};
inline constexpr TRESOURCESTRING RSBLANKSEARCHSTRING{"fonction.rsblanksearchstring",
                                                     "Search string cannot be blank"};
inline constexpr TRESOURCESTRING RSARGUMENTOUTOFRANGE{"fonction.rsargumentoutofrange", "Argument out of range"};

// The current text of a replaceable string (its default until replaced).
[[nodiscard]] std::string LOADRESSTRING(const TRESOURCESTRING& RES);
// The current text under a key, or "" for a key the table does not hold.
[[nodiscard]] std::string GETRESSTRING(const std::string& KEY);
// Replaces the text under a known key; false (and no change) for an unknown key.
bool SETRESSTRING(const std::string& KEY, const std::string& TEXT);
// Puts every text back to its default.
void RESETRESSTRINGS();

// Wildcard match of the text from INDEX on against the whole pattern: "*" any
// run, "?" one byte, everything else exact. A NUL byte ends text or pattern.
// Only the latest "*" is retried, so a "?" that follows a "*" may miss a match
// that a full backtracking matcher would find. Raises EStringError on a blank
// pattern, or on INDEX outside 1..length of a non-empty text.
[[nodiscard]] bool STRMATCHES(const std::string& SUBSTR, const std::string& S, int64_t INDEX = 1);

// Maps every byte through the case map section starting at OFFSET (0..512).
// Any other OFFSET leaves S unchanged rather than reading outside the map.
void STRCASE(std::string& S, int64_t OFFSET);
void STRUPPERINPLACE(std::string& S);
[[nodiscard]] std::string STRUPPER(const std::string& S);

// ASCII a-z to A-Z; every other byte, letters outside ASCII included, kept:
// the folding of names that must not follow the code page (process images,
// INI sections and keys, the AppID's product, the families' names).
[[nodiscard]] std::string ASCIIUPPER(std::string S);
// A's first |B| bytes equal B with only ASCII a-z folded; a shorter A never does.
[[nodiscard]] bool STARTSWITHASCIICASELESS(std::string_view A, std::string_view B);
[[nodiscard]] bool EQUALSASCIICASELESS(std::string_view A, std::string_view B);

// Case-insensitive (ANSI upper case) search over the full length.
[[nodiscard]] int64_t STRIPOS(const std::string& SUBSTR, const std::string& S);
// As STRIPOS, starting at INDEX; the answer is a position in S. An INDEX below 1
// searches the whole of S.
[[nodiscard]] int64_t STRFIND(const std::string& SUBSTR, const std::string& S, int64_t INDEX = 1);
// The bytes of S from position N on.
[[nodiscard]] std::string STRRESTOF(const std::string& S, int64_t N);
// What follows the first case-insensitive occurrence of SUBSTR, or "".
[[nodiscard]] std::string STRAFTER(const std::string& SUBSTR, const std::string& S);
// Cuts S at its first NUL byte (a buffer the platform filled).
void STRRESETLENGTH(std::string& S);
// Removes and returns the next token of S, up to SEPARATOR.
[[nodiscard]] std::string STRTOKEN(std::string& S, char SEPARATOR);
// Replaces LIST's content with the tokens of S; nothing when LIST is null.
void STRTOKENTOSTRINGS(const std::string& S, char SEPARATOR, platform::TStrings* LIST);

}  // namespace fonction
