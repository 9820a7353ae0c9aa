#include "korvalend/leftovers.h"

#include <array>

#include "fonction/deltree.h"
#include "fonction/folders.h"
#include "korvalend/detection.h"
#include "korvalend/paths.h"
#include "korvalend/safety.h"
#include "platform/files.h"
#include "platform/tstrings.h"

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
// Startup entries the suite's installers create ("LibreOffice 7.6.lnk"...).
const std::array<std::string, 3> SSTARTUP_FAMILIES = {"LibreOffice", "Collabora", "ZetaOffice"};

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

// The folder may go to the Recycle Bin: it is the suite's own by its path,
// and no link on the way leads it elsewhere.
bool mayRecycle(const std::string& folder) {
    return ISSAFEINSTALLFOLDER(folder, PROTECTEDFOLDERS()) && !reachedThroughLink(folder);
}

// Deletes FOLDER\NAME permanently when it is a file.
void deleteShortcut(const std::string& folder, const std::string& name) {
    const std::string path = inFolder(folder, name);
    if (isFile(path)) (void)platform::deleteFileA(path);
}

void deleteDesktopShortcuts(const std::string& SVERSOOO) {
    const std::string desktop = fonction::GETCOMMONDESKTOPDIRECTORYFOLDER();
    if (desktop.empty()) return;  // would name the root of the current drive
    for (const std::string& name : FICHIERS) deleteShortcut(desktop, name);
    if (ISPLAINFILENAME(SVERSOOO)) deleteShortcut(desktop, SVERSOOO + ".lnk");
    if (startsWithAsciiCaseless(SVERSOOO, "Collabora"))
        for (const std::string& name : FICHIERS_COLLABORA) deleteShortcut(desktop, name + ".lnk");
}

// The current user's Startup shortcuts of the family ("*Office*.lnk" that
// begin with a family name); nothing else there is touched.
void deleteStartupShortcuts() {
    const std::string startup = fonction::GETSTARTUPFOLDER();
    if (startup.empty()) return;
    platform::TStringList names;
    (void)fonction::BUILDFILELIST(inFolder(startup, "*Office*.lnk"), 0x1FF, names, false);
    for (const std::string& name : names) {
        bool family = false;
        for (const std::string& f : SSTARTUP_FAMILIES) family = family || startsWithAsciiCaseless(name, f);
        if (family && fonction::ISFILENAMEMATCH(name, "*Office*.lnk", false)) deleteShortcut(startup, name);
    }
}

void recycleInstallFolder(const std::string& SCHEMOPEN) {
    if (SCHEMOPEN.empty() || !isDirectory(SCHEMOPEN)) return;
    const std::string folder = fonction::PATHREMOVESEPARATOR(SCHEMOPEN);
    // The contents pass would empty a link's target, wherever that is.
    if (mayRecycle(folder)) (void)fonction::DELETEDIRECTORY(folder, true);
}

void recycleStartMenuFolder(const std::string& SVERSOOO) {
    const std::string programs = fonction::GETCOMMONPROGRAMSFOLDER();
    if (programs.empty() || !ISPLAINFILENAME(SVERSOOO)) return;
    const std::string folder = inFolder(programs, SVERSOOO);
    // A product key such as "Startup" names a folder that is not the suite's.
    if (isDirectory(folder) && mayRecycle(folder)) (void)fonction::DELETEDIRECTORY(folder, true);
}

}  // namespace

void DELETELEFTOVERS(const std::string& SCHEMOPEN, const std::string& SVERSOOO) {
    deleteDesktopShortcuts(SVERSOOO);
    deleteStartupShortcuts();
    recycleInstallFolder(SCHEMOPEN);
    recycleStartMenuFolder(SVERSOOO);
}

}  // namespace korvalend
