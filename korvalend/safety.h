// What the removal refuses to touch: the refusals, and nothing else. The
// install location and the product key come from the registry and from a file
// on disk: they are not trusted to name something the suite owns. Each check
// says why it refuses, so that the reason the removal acts on is the one it
// reports.
#pragma once

#include <string>
#include <vector>

#include "korvalend/paths.h"

namespace korvalend {

// Why something is kept. Each reason is a short predicate of the path or name
// it concerns ("C:\Program Files is a well-known folder").
enum class TREFUSAL {
    NONE,
    NOTAFULLPATH,
    ROOT,
    ODDNAME,
    SHORTNAME,
    ADMINSHARE,
    WELLKNOWN,
    HOLDSWELLKNOWN,
    INWINDOWS,
    INPROFILE,
    NOTFIXEDDRIVE,
    LINK,
    NOTLAYOUT,
    SHAREDFOLDER,
    FOREIGNENTRIES,
    NOTRECYCLED,
    NOTFAMILY,
    NOTPLAINNAME,
    OTHERSUITE,
    NOFOLDER,
    NOTAFILE,
    READONLY,
    NOTDELETED,
    UNREADABLE,
    // Kept for what else it is; the reason's subject names it.
    HELDBYPACK,   // holds a pack that is still registered
    HELDBYSUITE,  // another suite that stays records it as its install location
    OTHERIMAGE,   // another program's soffice.bin
    // Why the run's record is not written in a folder.
    TEMPFOLDER,    // a temporary folder, or in one
    NOTAFOLDER,    // a file, not a folder
    NOPARENT,      // its parent folder does not exist
    NOTCREATED,    // it could not be created
    NOSECURITY,    // its owner and access list could not be read
    OPENACCESS,    // another account may write in it or change its access list
    FOREIGNOWNER,  // owned by another account, who may rewrite its access list
    NOTOPENED,     // its korvalend.log could not be opened for writing
};
[[nodiscard]] const char* REFUSALREASON(TREFUSAL reason);

// Folders of the machine that no removal may send away or contain.
struct ProtectedFolders {
    std::vector<std::string> folders;         // never taken, nor anything that holds them
    std::vector<std::string> trees;           // the same, and nothing inside them either
    std::vector<std::string> profileFolders;  // folders of profiles: each folder directly below one is a profile
    std::vector<std::string> profiles;        // users' profiles, wherever they lie
};

// Whether a folder may be sent to the Recycle Bin by its path alone. After its
// trailing backslash is removed it must be an absolute drive or UNC path below
// a root, free of NUL bytes, wildcards, short names, "." and ".." components
// and components ending in a dot or blank; no administrative share; it must
// neither equal nor contain a protected folder, lie in no protected tree, and
// inside a profile lie at or below the profile's AppData\Local\Programs, where
// per-user installers put programs. A profile's Programs folder itself is
// taken only when `itself` is false (its contents are asked about, not the
// folder). Whether it is a link or on a fixed drive is a property of the
// disk, asked by the caller.
[[nodiscard]] TREFUSAL FOLDERREFUSAL(const std::string& folder, const ProtectedFolders& protectedFolders,
                                     bool itself = true);
// The refusals of FOLDERREFUSAL that the path's form alone decides: NUL
// bytes, wildcards, not an absolute drive or UNC path, a root, ".", "..",
// components ending in a dot or blank, short names, administrative shares.
[[nodiscard]] TREFUSAL PATHFORMREFUSAL(const std::string& folder);
// PATH is FOLDER or lies inside it, whole components compared, case ignored;
// false when either is no absolute path or FOLDER is a root.
[[nodiscard]] bool SAMEORINSIDE(const std::string& folder, const std::string& path);
// FOLDERREFUSAL as a yes or no; the run asks FOLDERREFUSAL, which says why.
[[nodiscard]] bool ISSAFEINSTALLFOLDER(const std::string& folder, const ProtectedFolders& protectedFolders);

// True when the product key can name a file or folder by itself: not empty,
// "." or "..", without \ / : * ? " < > | or control bytes, not ending in a
// dot or blank, and not a reserved device name (CON, NUL, COM1, LPT1...).
[[nodiscard]] bool ISPLAINFILENAME(const std::string& name);

// The product key may name the desktop shortcut and the Start-menu folder:
// it has a family (FAMILYOF) and is a plain file name.
[[nodiscard]] TREFUSAL PRODUCTKEYREFUSAL(const std::string& productKey);

// The Windows folder and all it holds, the system, Program Files, Common
// Files and ProgramData folders, the user's and the shared folders of the
// shell, every user's profile the machine lists (and the current one) and
// the folders that hold profiles. An entry of the profile list that cannot be
// read is passed over.
[[nodiscard]] ProtectedFolders PROTECTEDFOLDERS();
// PROTECTEDFOLDERS' folders of profiles and profiles alone, without its 28
// other lookups.
[[nodiscard]] ProtectedFolders PROFILEFOLDERS();

}  // namespace korvalend
