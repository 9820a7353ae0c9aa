// Small path tests the removal shares: joining a name to a folder and asking
// the file system what a path is.
#pragma once

#include <string>

namespace korvalend {

// The folder, with a backslash appended unless it already ends with one
// (either kind, as a character of its own), followed by NAME.
[[nodiscard]] std::string inFolder(const std::string& folder, const std::string& name);

// What the path names now; false when it does not exist or cannot be read.
[[nodiscard]] bool isFile(const std::string& path);
[[nodiscard]] bool isDirectory(const std::string& path);
[[nodiscard]] bool isLink(const std::string& path);
// The path names nothing: the file system says so (a path it cannot read is
// not absent).
[[nodiscard]] bool isAbsent(const std::string& path);
// The folder lies on a fixed local drive: the Recycle Bin holds nothing of a
// network share, and the shell deletes such items for good. A UNC path is
// not asked about.
[[nodiscard]] bool onFixedDrive(const std::string& folder);

}  // namespace korvalend
