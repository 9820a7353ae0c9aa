#include "korvalend/leftovers.h"

#include <algorithm>
#include <array>
#include <optional>

#include "fonction/deltree.h"
#include "fonction/folders.h"
#include "korvalend/family.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "korvalend/reasons.h"
#include "korvalend/resolution.h"
#include "korvalend/safety.h"
#include "platform/account.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/tstrings.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

// Desktop shortcuts of the suite's applications, in the order they are
// removed. The Collabora names (Math twice in the suite's own table) are
// taken only for a Collabora product key.
const std::array<std::string, 6> FICHIERS = {
    "LibreOffice Writer.lnk", "LibreOffice Calc.lnk",    "LibreOffice Draw.lnk",
    "LibreOffice Impress.lnk", "LibreOffice Base.lnk",   "LibreOffice Math.lnk",
};
const std::array<std::string, 5> FICHIERS_COLLABORA = {
    "Collabora Office Calc", "Collabora Office Writer", "Collabora Office Math",
    "Collabora Office Draw", "Collabora Office Impress",
};

// What the family's Windows installers put at the top of the install folder
// (URE in older versions). Only these names are ever taken from it: a custom
// install may share the folder with other programs and a user's files.
// The SDK's sdk\ counts too: while the SDK stays registered the folder is
// kept whole, and once it is gone its folder is a leftover like the others.
const std::array<std::string, 11> SLAYOUT = {
    "program", "share", "help", "presets", "readmes", "URE",   "CREDITS.fodt",
    "LICENSE.html", "license.txt", "NOTICE", "sdk",
};

constexpr uint32_t kAllAttributes = 0x1FF;

void keep(const std::string& path, const TReason& reason) { REMOVALOBSERVER().kept(path, reason); }
void skip(const std::string& step, const TReason& reason) { REMOVALOBSERVER().skipped(step, reason); }
void skipForKey(const std::string& step, TREFUSAL reason) { skip(step, TReason(TSKIP::KEYREFUSED, reason)); }

// Sends PATH to the Recycle Bin, a folder with its contents, and tells how it went.
bool recycle(const std::string& path) {
    const bool done = fonction::RECYCLEITEM(path);
    REMOVALOBSERVER().removed(path, TRemoval::Recycled, done);
    return done;
}
bool recycleTree(const std::string& folder) {
    const bool done = fonction::DELETEDIRECTORY(folder, true);
    REMOVALOBSERVER().removed(folder, TRemoval::Recycled, done);
    return done;
}

// True when the folder or any folder on the way to it is a link or junction:
// "C:\Documents and Settings\bob" reaches a profile through one.
bool reachedThroughLink(const std::string& folder) {
    const FolderPath parts = SPLITFOLDERPATH(folder);
    std::string path = parts.root;
    for (const std::string& component : parts.components) {
        path += "\\" + component;
        if (isLink(path)) return true;
    }
    return false;
}

// Why a folder may not be handed to the shell: its path, then what the disk
// says of it. The Recycle Bin holds nothing of a network drive (the shell
// would delete for good), and the contents pass would empty a link's target.
TREFUSAL recycleRefusal(const std::string& folder, const ProtectedFolders& protectedFolders, bool itself) {
    TREFUSAL reason = FOLDERREFUSAL(folder, protectedFolders, itself);
    if (reason == TREFUSAL::NONE && !onFixedDrive(folder)) reason = TREFUSAL::NOTFIXEDDRIVE;
    if (reason == TREFUSAL::NONE && reachedThroughLink(folder)) reason = TREFUSAL::LINK;
    return reason;
}

// The names of a folder's entries; false when it cannot be read.
bool listEntries(const std::string& folder, platform::TStrings& names) {
    return fonction::BUILDFILELIST(inFolder(folder, "*"), kAllAttributes, names, false);
}

bool isLayoutName(const std::string& name) {
    const std::string upper = platform::charUpperBuffA(name);
    return std::any_of(SLAYOUT.begin(), SLAYOUT.end(),
                       [&upper](const std::string& n) { return platform::charUpperBuffA(n) == upper; });
}

// Deletes FOLDER\NAME permanently when it is a file. A folder of that name
// stays, and so does a file DeleteFile refuses (a read-only one).
void deleteShortcut(const std::string& folder, const std::string& name) {
    const std::string path = inFolder(folder, name);
    const uint32_t attributes = platform::getFileAttributesA(path);
    if (attributes == platform::kInvalidFileAttributes) return;
    if ((attributes & platform::kFileAttributeDirectory) != 0) return keep(path, TREFUSAL::NOTAFILE);
    const bool done = platform::deleteFileA(path);
    REMOVALOBSERVER().removed(path, TRemoval::Deleted, done);
    if (done) return;
    keep(path, (attributes & platform::kFileAttributeReadonly) != 0 ? TREFUSAL::READONLY : TREFUSAL::NOTDELETED);
}

// What the removed suite shares by name with the suites that stay.
struct TShared {
    bool productKey = false;   // another installed suite has the same product key
    bool libreOffice = false;  // a LibreOffice stays: the six shortcuts are its too
    bool family = false;       // a suite of the removed suite's family stays

    TShared(const TSuiteFacts& suite, const std::vector<TRegisteredEntry>& staying) {
        const std::string own = FAMILYOF(suite.SVERSOOO);
        for (const TRegisteredEntry& r : staying) {
            if (r.what.kind != TFamilyKind::Suite) continue;
            productKey = productKey || ISSUITEOF(r, suite.SVERSOOO);
            libreOffice = libreOffice || r.what.family == SFAMILY_LIBREOFFICE;
            family = family || (!own.empty() && r.what.family == own);
        }
    }
};

void deleteDesktopShortcuts(const std::string& SVERSOOO, TREFUSAL keyRefusal, const TShared& shared) {
    const std::string desktop = fonction::GETCOMMONDESKTOPDIRECTORYFOLDER();
    // An empty folder would name the root of the current drive.
    if (desktop.empty()) return skip("desktop shortcuts", TREFUSAL::NOFOLDER);
    if (shared.libreOffice) skip("desktop shortcuts of the LibreOffice applications", TSKIP::LIBREOFFICESTAYS);
    else
        for (const std::string& name : FICHIERS) deleteShortcut(desktop, name);
    if (keyRefusal != TREFUSAL::NONE) skipForKey("desktop shortcut named after the product key", keyRefusal);
    else if (shared.productKey) skip("desktop shortcut named after the product key", TSKIP::SAMEPRODUCTKEY);
    else deleteShortcut(desktop, SVERSOOO + ".lnk");
    if (FAMILYOF(SVERSOOO) != SFAMILY_COLLABORA) return;
    if (shared.family) return skip("desktop shortcuts of the Collabora Office applications", TSKIP::COLLABORASTAYS);
    for (const std::string& name : FICHIERS_COLLABORA) deleteShortcut(desktop, name + ".lnk");
}

// A user's own installation of FAMILY whose account's Startup folder is
// STARTUP: its quickstart shortcut lies there. The shared desktop and Start
// menu hold nothing of it (it cannot write there).
bool ownInstallationThere(const std::string& family, const std::string& startup,
                          const std::vector<TPerUserInstall>& perUser) {
    return std::any_of(perUser.begin(), perUser.end(), [&](const TPerUserInstall& install) {
        if (FAMILYNAME(install.displayName).family != family) return false;
        return install.profile.empty() ? install.sid == platform::currentAccount().sid
                                       : SAMEORINSIDE(install.profile, startup);
    });
}

// The current user's Startup shortcuts of the removed suite ("*Office*.lnk"
// whose name before ".lnk" is of its family): another suite of the family, or
// "LibreOfficeDev", stays installed and keeps its entry; so does the user's
// own installation of the family.
void deleteStartupShortcuts(const std::string& family, const TShared& shared,
                            const std::vector<TPerUserInstall>& perUser) {
    if (family.empty()) return skipForKey("Startup shortcuts", TREFUSAL::NOTFAMILY);
    if (shared.family) return skip("Startup shortcuts", TSKIP::FAMILYSTAYS);
    const std::string startup = fonction::GETSTARTUPFOLDER();
    if (startup.empty()) return skip("Startup shortcuts", TREFUSAL::NOFOLDER);
    if (ownInstallationThere(family, startup, perUser)) return skip("Startup shortcuts", TSKIP::FAMILYSTAYS);
    platform::TStringList names;
    // Another account's profile may be closed to this one: that is no empty
    // folder, and a listing that cannot say what it holds takes nothing.
    if (!fonction::BUILDFILELIST(inFolder(startup, "*Office*.lnk"), kAllAttributes, names, false))
        return isAbsent(startup) ? void() : skip("Startup shortcuts", TREFUSAL::UNREADABLE);
    for (const std::string& name : names) {
        // The mask leaves ".lnk", in some letter case, at the end of every name.
        if (FAMILYOF(name.substr(0, name.size() - 4)) == family) deleteShortcut(startup, name);
        else keep(inFolder(startup, name), TREFUSAL::OTHERSUITE);
    }
}

// Once the layout is gone, the folder goes only when nothing is left in it.
void recycleWhenEmpty(const std::string& folder, const ProtectedFolders& protectedFolders) {
    platform::TStringList left;
    if (!listEntries(folder, left)) return keep(folder, TREFUSAL::NOTRECYCLED);
    if (left.count() > 0) {
        for (const std::string& name : left)
            if (!isLayoutName(name)) keep(inFolder(folder, name), TREFUSAL::NOTLAYOUT);
        return keep(folder, TREFUSAL::FOREIGNENTRIES);
    }
    if (const TREFUSAL reason = FOLDERREFUSAL(folder, protectedFolders, true); reason != TREFUSAL::NONE)
        return keep(folder, reason);
    // One call on the folder's own path: a wildcard pass over an empty folder
    // fails.
    if (!recycle(folder)) keep(folder, TREFUSAL::NOTRECYCLED);
}

// Why the folder stays with another suite: a pack installed in it is still
// registered, or another vendor key or view records it as the location of a
// suite that stays. None when neither.
std::optional<TReason> heldByOthers(const TSuiteFacts& suite, const std::vector<TRegisteredEntry>& staying) {
    for (const TRegisteredEntry& r : staying)
        if (LIESINSUITEFOLDER(r, suite, staying)) return TReason(TREFUSAL::HELDBYPACK, r.displayName);
    // Whatever its product key: a 32-bit LibreOffice 7.5 that stays keeps
    // the folder a 64-bit LibreOffice 7.6 also recorded.
    for (const std::string& vendor : SVENDOR_KEYS) {
        for (const TRegistryView view : kRegistryViews) {
            if (vendor == suite.vendorKey && view == suite.view) continue;
            const std::vector<std::string> at = INSTALLLOCATIONS(vendor, view);
            if (std::find(at.begin(), at.end(), suite.SCHEMOPEN) == at.end()) continue;
            const auto stays = [&](const TRegisteredEntry& r) {
                return r.view == view && r.what.kind == TFamilyKind::Suite && r.what.family == VENDORFAMILY(vendor);
            };
            if (std::any_of(staying.begin(), staying.end(), stays))
                return TReason(TREFUSAL::HELDBYSUITE, VIEWNAME(view));
        }
    }
    return std::nullopt;
}

void recycleInstallFolder(const TSuiteFacts& suite, const std::vector<TRegisteredEntry>& staying,
                          const ProtectedFolders& protectedFolders) {
    const std::string& SCHEMOPEN = suite.SCHEMOPEN;
    if (SCHEMOPEN.empty() || !isDirectory(SCHEMOPEN)) return;
    const std::string folder = fonction::PATHREMOVESEPARATOR(SCHEMOPEN);
    if (const TREFUSAL reason = recycleRefusal(folder, protectedFolders, false); reason != TREFUSAL::NONE)
        return keep(folder, reason);
    if (const std::optional<TReason> held = heldByOthers(suite, staying)) return keep(folder, *held);
    // In a folder shared with other programs, their share\ or a LICENSE.html
    // bears a name of the layout too: only program\, where the suite's
    // bootstrap.ini was read, is surely the suite's. Leftovers that stay cost
    // less than another program's folder. A folder that cannot be listed
    // counts as shared.
    platform::TStringList entries;
    const bool shared = !listEntries(folder, entries) || !std::all_of(entries.begin(), entries.end(), isLayoutName);
    for (const std::string& name : SLAYOUT) {
        // The path is built from the table, never from a name read back.
        const std::string path = inFolder(folder, name);
        const uint32_t attributes = platform::getFileAttributesA(path);
        if (attributes == platform::kInvalidFileAttributes) continue;
        // A link named like the layout leads elsewhere: it stays, and so does the folder.
        if ((attributes & platform::kFileAttributeReparsePoint) != 0) keep(path, TREFUSAL::LINK);
        else if (shared && name != "program") keep(path, TREFUSAL::SHAREDFOLDER);
        else if (!recycle(path)) keep(path, TREFUSAL::NOTRECYCLED);
    }
    recycleWhenEmpty(folder, protectedFolders);
}

void recycleStartMenuFolder(const std::string& SVERSOOO, TREFUSAL keyRefusal, const TShared& shared,
                            const ProtectedFolders& protectedFolders) {
    // A product key such as "Startup" names a folder that is not the suite's.
    if (keyRefusal != TREFUSAL::NONE) return skipForKey("Start-menu folder", keyRefusal);
    if (shared.productKey) return skip("Start-menu folder", TSKIP::SAMEPRODUCTKEY);
    const std::string programs = fonction::GETCOMMONPROGRAMSFOLDER();
    if (programs.empty()) return skip("Start-menu folder", TREFUSAL::NOFOLDER);
    const std::string folder = inFolder(programs, SVERSOOO);
    if (!isDirectory(folder)) return;
    if (const TREFUSAL reason = recycleRefusal(folder, protectedFolders, true); reason != TREFUSAL::NONE)
        return keep(folder, reason);
    platform::TStringList entries;
    const bool empty = listEntries(folder, entries) && entries.count() == 0;
    const bool recycled = empty ? recycle(folder) : recycleTree(folder);
    if (!recycled) keep(folder, TREFUSAL::NOTRECYCLED);
}

}  // namespace

void DELETELEFTOVERS(const TSuiteFacts& SUITE, const std::vector<TRegisteredEntry>& STAYING) {
    const std::string& SVERSOOO = SUITE.SVERSOOO;
    const TREFUSAL keyRefusal = PRODUCTKEYREFUSAL(SVERSOOO);
    const TShared shared(SUITE, STAYING);
    deleteDesktopShortcuts(SVERSOOO, keyRefusal, shared);
    const std::vector<TPerUserInstall> perUser = PERUSERINSTALLS();
    deleteStartupShortcuts(FAMILYOF(SVERSOOO), shared, perUser);
    ProtectedFolders protectedFolders = PROTECTEDFOLDERS();
    // Another account's own installation is never ours to touch.
    for (const TPerUserInstall& install : perUser)
        if (!SPLITFOLDERPATH(install.location).components.empty()) protectedFolders.trees.push_back(install.location);
    recycleInstallFolder(SUITE, STAYING, protectedFolders);
    recycleStartMenuFolder(SVERSOOO, keyRefusal, shared, protectedFolders);
}

}  // namespace korvalend
