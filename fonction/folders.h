// The system folder, the shell's special folders and trailing separators.
// Every lookup answers "" when the platform cannot tell.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace fonction {

constexpr char DIRDELIMITER = '\\';

[[nodiscard]] std::string GETWINDOWSSYSTEMFOLDER();
// The file system path of a shell item list, or "" when it has none.
[[nodiscard]] std::string PIDLTOPATH(platform::Handle IDLIST);
// The path of a special folder (a CSIDL number), or "".
[[nodiscard]] std::string GETSPECIALFOLDERLOCATION(int32_t FOLDER);
[[nodiscard]] std::string GETCOMMONDESKTOPDIRECTORYFOLDER();
// The Startup folder of the user running the program (not the all-users one).
[[nodiscard]] std::string GETSTARTUPFOLDER();
[[nodiscard]] std::string GETCOMMONPROGRAMSFOLDER();

// PATH ending in exactly one more backslash unless it already ends in one.
[[nodiscard]] std::string PATHADDSEPARATOR(const std::string& PATH);
// PATH without its last byte when that is a backslash; a drive root "C:\"
// becomes "C:" like any other path.
[[nodiscard]] std::string PATHREMOVESEPARATOR(const std::string& PATH);
// A path read from the machine, written as the rest of the program compares,
// splits and joins paths: every "/" becomes "\", and every run of separators
// one backslash, except a leading pair (a share or device path), which stays
// two. A second byte 0x5C or 0x2F of a double-byte character is no separator.
[[nodiscard]] std::string NORMALIZEPATHSEPARATORS(const std::string& PATH);

}  // namespace fonction
