// Paths as the removal reads them: split into root and components, a name
// joined to a folder, and what the file system says a path is.
#pragma once

#include <string>
#include <vector>

namespace korvalend {

// A folder path split into its parts: the root ("C:" or "\\server\share")
// and the components below it. Empty root when the path is not an absolute
// drive or UNC path. Double-byte characters of the system code page are
// stepped over: a second byte 0x5C separates nothing.
struct FolderPath {
    std::string root;
    std::vector<std::string> components;
};
[[nodiscard]] FolderPath SPLITFOLDERPATH(const std::string& path);

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
