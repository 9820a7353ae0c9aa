#include "korvalend/removal.h"

#include <array>

#include "fonction/deltree.h"
#include "fonction/folders.h"
#include "fonction/launch.h"
#include "fonction/processes.h"
#include "fonction/strings.h"
#include "korvalend/detection.h"
#include "korvalend/globals.h"
#include "korvalend/process_lookup.h"
#include "korvalend/safety.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/files.h"
#include "platform/shell.h"
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
// Startup entries the suite's installers create ("LibreOffice 7.6.lnk"...).
const std::array<std::string, 3> SSTARTUP_FAMILIES = {"LibreOffice", "Collabora", "ZetaOffice"};

// The folder, with a backslash appended unless it already ends with one
// (either kind), followed by NAME.
std::string inFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
    return folder + "\\" + name;
}

bool isFile(const std::string& path) {
    const uint32_t attrs = platform::getFileAttributesA(path);
    return attrs != platform::kInvalidFileAttributes && (attrs & platform::kFileAttributeDirectory) == 0;
}

bool isDirectory(const std::string& path) {
    const uint32_t attrs = platform::getFileAttributesA(path);
    return attrs != platform::kInvalidFileAttributes && (attrs & platform::kFileAttributeDirectory) != 0;
}

bool isLink(const std::string& path) {
    const uint32_t attrs = platform::getFileAttributesA(path);
    return attrs != platform::kInvalidFileAttributes && (attrs & platform::kFileAttributeReparsePoint) != 0;
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

bool runInstaller(const std::string& parameters) {
    const std::string system = fonction::GETWINDOWSSYSTEMFOLDER();
    // "\Msiexec.exe" would be whatever lies at the root of the current drive.
    if (system.empty()) return false;
    const std::string installer = inFolder(system, SINSTALLER);
    return fonction::SHELLEXECANDWAIT(installer, parameters, "", platform::kSwShowNormal, "");
}

}  // namespace

std::string STRREPLACEALLCASELESS(const std::string& S, const std::string& FROM, const std::string& TO) {
    if (FROM.empty()) return S;
    const std::string upperS = fonction::STRUPPER(S);
    const std::string upperFrom = fonction::STRUPPER(FROM);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = upperS.find(upperFrom, pos)) != std::string::npos; pos = hit + FROM.size())
        out.append(S, pos, hit - pos).append(TO);
    return out.append(S, pos, std::string::npos);
}

std::string HELPPACKPARAMETERS(const std::string& SUNINST_HELP, const std::string& SKEYNAME) {
    if (SUNINST_HELP.empty()) return SPARAM + " /x" + SKEYNAME;
    const std::string arguments = fonction::STRAFTER(" ", SUNINST_HELP);
    // A package that cannot be modified records "MsiExec.exe /X{code}": left
    // as it is, the installer would ask for a confirmation nobody can give.
    if (fonction::STRIPOS("/i", arguments) == 0) return STRREPLACEALLCASELESS(arguments, "/x", SPARAM + " /x");
    return STRREPLACEALLCASELESS(arguments, "/i", SPARAM + " /x");
}

void SUPP_LIBREOFFICE(const std::string& SCHEMOPEN, const std::string& SVERSOOO, const std::string& SPRODUCTCODE) {
    const std::string SPATH_CLE = SUNINSTALL_KEY + SPRODUCTCODE;
    if (!CHERCHE_CLE_EXIST(SPATH_CLE)) return;

    if (PROCESSEXISTS("soffice.bin")) (void)fonction::CLOSEPROCCESSUS("soffice.bin");

    if (RECH_APPLICATION("LibreOffice Extension")) (void)SUPP_APPLICATION("LibreOffice Extension", " /verysilent");
    if (RECH_APPLICATION("Collabora Extension")) (void)SUPP_APPLICATION("Collabora Extension", " /verysilent");

    const std::string H = SVERSOOO + SHELP_PACK_SUFFIX;
    if (RECH_APPLICATION(H)) {
        const std::string SUNINST_HELP = RECH_PROG(H, "DisplayName", "UninstallString");
        const std::string key = SUNINST_HELP.empty() ? RECUP_CLE(H, "DisplayName", "DisplayName") : std::string();
        (void)runInstaller(HELPPACKPARAMETERS(SUNINST_HELP, key));
    }

    if (!runInstaller(SPARAM + " /x" + SPRODUCTCODE)) return;
    if (CHERCHE_CLE_EXIST(SPATH_CLE)) return;  // still registered: the uninstallation did not complete

    deleteDesktopShortcuts(SVERSOOO);
    deleteStartupShortcuts();
    recycleInstallFolder(SCHEMOPEN);
    recycleStartMenuFolder(SVERSOOO);
}

}  // namespace korvalend
