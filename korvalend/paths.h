// Small path tests the removal shares: joining a name to a folder and asking
// the file system what a path is.
#pragma once

#include <string>

namespace korvalend {

// The folder, with a backslash appended unless it already ends with one
// (either kind), followed by NAME.
[[nodiscard]] std::string inFolder(const std::string& folder, const std::string& name);

// What the path names now; false when it does not exist or cannot be read.
[[nodiscard]] bool isFile(const std::string& path);
[[nodiscard]] bool isDirectory(const std::string& path);
[[nodiscard]] bool isLink(const std::string& path);

}  // namespace korvalend
