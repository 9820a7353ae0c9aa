// What the removal refuses to touch. The install location and the product key
// come from the registry and from a file on disk: they are not trusted to
// name something the suite owns.
#pragma once

#include <string>
#include <vector>

namespace korvalend {

// A folder path split into its parts: the root ("C:" or "\\server\share")
// and the components below it. Empty root when the path is not an absolute
// drive or UNC path.
struct FolderPath {
    std::string root;
    std::vector<std::string> components;
};
[[nodiscard]] FolderPath SPLITFOLDERPATH(const std::string& path);

// True when `ancestor` equals `path` or contains it, comparing whole
// components with the ANSI upper-casing.
[[nodiscard]] bool ISSAMEORANCESTOR(const std::string& ancestor, const std::string& path);

// A folder whose subfolders, down to `depth` levels below it (0: all of
// them), belong to the system or to users, never to the suite.
struct ProtectedTree {
    std::string folder;
    int depth = 0;
};

// Folders of the machine that no removal may send away or contain.
struct ProtectedFolders {
    std::vector<std::string> folders;  // never taken, nor anything that holds them
    std::vector<ProtectedTree> trees;  // never taken, nor what lies within them
};

// The install folder may be sent to the Recycle Bin only when, after its
// trailing backslash is removed, it is an absolute drive or UNC path below a
// root, free of NUL bytes, wildcards, "." and ".." components and components
// ending in a dot or blank, and neither equals nor contains a protected
// folder. (Whether it is a link is a property of the disk, tested by the
// caller.)
[[nodiscard]] bool ISSAFEINSTALLFOLDER(const std::string& folder, const ProtectedFolders& protectedFolders);

// True when the product key can name a file or folder by itself: not empty,
// "." or "..", without \ / : * ? " < > | or control bytes, not ending in a
// dot or blank, and not a reserved device name (CON, NUL, COM1, LPT1...).
[[nodiscard]] bool ISPLAINFILENAME(const std::string& name);

// The Windows folder and all it holds, the system, Program Files, Common
// Files and ProgramData folders, the user's and the shared folders of the
// shell, and the folder of every user's profile with the first levels below
// it (profiles, their Documents, Desktop, AppData and the like).
[[nodiscard]] ProtectedFolders PROTECTEDFOLDERS();

}  // namespace korvalend
