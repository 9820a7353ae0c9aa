// Reading one value of an INI file, as the suite's bootstrap.ini is read.
#pragma once

#include <string>

namespace korvalend {

// Decodes a file's bytes to ANSI text: a UTF-16 LE, UTF-16 BE or UTF-8
// byte-order mark (tested in that order) selects that encoding and is
// dropped; otherwise the bytes are already ANSI.
[[nodiscard]] std::string DECODEINITEXT(const std::string& bytes);

// The value of KEY in the first section named SECTION (ASCII case ignored),
// from the first line of that section whose key is KEY; DEFAULT when there
// is none. One pair of matching quotes around the value is removed.
[[nodiscard]] std::string INIVALUE(const std::string& text, const std::string& SECTION, const std::string& KEY,
                                   const std::string& DEFAULT);

// The same over a file; DEFAULT when the file cannot be read.
[[nodiscard]] std::string INIREADSTRING(const std::string& FILENAME, const std::string& SECTION,
                                        const std::string& KEY, const std::string& DEFAULT);

}  // namespace korvalend
