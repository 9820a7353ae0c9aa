#include "korvalend/safety.h"

#include <array>

#include "fonction/dbcs.h"
#include "fonction/folders.h"
#include "korvalend/family.h"
#include "platform/environment.h"
#include "platform/folders.h"
#include "platform/machine_keys.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

// A path reduced to what comparisons need: the upper-cased root and
// components, a trailing separator dropped (it names the same folder).
struct Compared {
    std::string root;
    std::vector<std::string> components;
};

Compared compared(const std::string& path) {
    FolderPath parts = SPLITFOLDERPATH(path);
    if (!parts.components.empty() && parts.components.back().empty()) parts.components.pop_back();
    Compared out{platform::charUpperBuffA(parts.root), {}};
    for (const std::string& c : parts.components) out.components.push_back(platform::charUpperBuffA(c));
    return out;
}

bool sameOrAncestor(const Compared& ancestor, const Compared& path) {
    if (ancestor.root.empty() || path.root.empty() || ancestor.root != path.root) return false;
    if (ancestor.components.size() > path.components.size()) return false;
    for (std::size_t i = 0; i < ancestor.components.size(); ++i)
        if (ancestor.components[i] != path.components[i]) return false;
    return true;
}

// WELLKNOWN when the path is the protected folder, HOLDSWELLKNOWN when it
// contains it.
TREFUSAL takesProtected(const Compared& path, const Compared& folder) {
    if (!sameOrAncestor(path, folder)) return TREFUSAL::NONE;
    return path.components.size() == folder.components.size() ? TREFUSAL::WELLKNOWN : TREFUSAL::HOLDSWELLKNOWN;
}

// Inside a profile, only its AppData\Local\Programs and what lies below are
// anyone's to take; the Programs folder itself stays when `itself`.
TREFUSAL profileRefusal(const Compared& path, const Compared& profile, bool itself) {
    if (profile.components.empty()) return TREFUSAL::NONE;  // a drive root is no profile
    if (const TREFUSAL r = takesProtected(path, profile); r != TREFUSAL::NONE) return r;
    if (!sameOrAncestor(profile, path)) return TREFUSAL::NONE;
    Compared programs = profile;
    for (const char* c : {"APPDATA", "LOCAL", "PROGRAMS"}) programs.components.emplace_back(c);
    if (!sameOrAncestor(programs, path)) return TREFUSAL::INPROFILE;
    if (itself && path.components.size() == programs.components.size()) return TREFUSAL::WELLKNOWN;
    return TREFUSAL::NONE;
}

}  // namespace

const char* REFUSALREASON(TREFUSAL reason) {
    switch (reason) {
        case TREFUSAL::NONE: return "";
        case TREFUSAL::NOTAFULLPATH: return "is not the full path of a folder";
        case TREFUSAL::ROOT: return "is the root of a drive or share";
        case TREFUSAL::ODDNAME: return "holds a wildcard, a NUL byte, a . or .. or a name ending in a dot or blank";
        case TREFUSAL::SHORTNAME: return "is written with a short (8.3) name";
        case TREFUSAL::ADMINSHARE: return "is an administrative share";
        case TREFUSAL::WELLKNOWN: return "is a well-known folder";
        case TREFUSAL::HOLDSWELLKNOWN: return "holds a well-known folder";
        case TREFUSAL::INWINDOWS: return "lies inside the Windows folder";
        case TREFUSAL::INPROFILE: return "is inside a user's profile";
        case TREFUSAL::NOTFIXEDDRIVE: return "lies on a network, removable or unknown drive";
        case TREFUSAL::LINK: return "is reached through a link";
        case TREFUSAL::NOTLAYOUT: return "is not part of the suite's layout";
        case TREFUSAL::SHAREDFOLDER: return "is named like the suite's layout in a folder shared with other programs";
        case TREFUSAL::FOREIGNENTRIES: return "still holds entries that are not the suite's";
        case TREFUSAL::NOTRECYCLED: return "could not be sent to the Recycle Bin";
        case TREFUSAL::NOTFAMILY: return "does not begin with the whole name of a family of the suite";
        case TREFUSAL::NOTPLAINNAME: return "is not a plain file name";
        case TREFUSAL::OTHERSUITE: return "does not begin with the removed suite's name";
        case TREFUSAL::NOFOLDER: return "the folder is unknown or its name does not fit the ANSI code page";
        case TREFUSAL::NOTAFILE: return "is a folder, not a shortcut";
        case TREFUSAL::READONLY: return "is read-only";
        case TREFUSAL::NOTDELETED: return "could not be deleted";
        case TREFUSAL::UNREADABLE: return "the folder could not be read";
        case TREFUSAL::HELDBYPACK: return "holds a pack that is still registered";
        case TREFUSAL::HELDBYSUITE: return "is the install location of another suite, which stays";
        case TREFUSAL::OTHERIMAGE: return "is another program's soffice.bin";
        case TREFUSAL::TEMPFOLDER: return "is a temporary folder or lies in one";
        case TREFUSAL::NOTAFOLDER: return "is a file, not a folder";
        case TREFUSAL::NOPARENT: return "lies in a folder that does not exist";
        case TREFUSAL::NOTCREATED: return "could not be created";
        case TREFUSAL::NOSECURITY: return "its owner and access list could not be read";
        case TREFUSAL::OPENACCESS:
            return "lets an account other than SYSTEM, Administrators, TrustedInstaller and the one korvalend.exe runs "
                   "as write in it or change its access list";
        case TREFUSAL::FOREIGNOWNER:
            return "is owned by an account other than SYSTEM, Administrators, TrustedInstaller and the one "
                   "korvalend.exe runs as";
        case TREFUSAL::NOTOPENED: return "its korvalend.log could not be opened for writing (read-only, or held by another program)";
    }
    return "";
}

TREFUSAL PATHFORMREFUSAL(const std::string& folder) {
    // A NUL would end the shell's double-NUL list early and name a second path.
    if (folder.find('\0') != std::string::npos || folder.find_first_of("*?") != std::string::npos)
        return TREFUSAL::ODDNAME;
    FolderPath parts = SPLITFOLDERPATH(folder);
    if (parts.root.empty()) return TREFUSAL::NOTAFULLPATH;
    if (!parts.components.empty() && parts.components.back().empty()) parts.components.pop_back();
    if (parts.components.empty()) return TREFUSAL::ROOT;
    for (const std::string& c : parts.components) {
        if (c.empty() || c == "." || c == ".." || c.back() == '.' || c.back() == ' ') return TREFUSAL::ODDNAME;
        // "PROGRA~1" is another spelling of a folder that the comparisons
        // below would not recognise.
        if (fonction::LASTDELIMITER(c, "~") != std::string::npos) return TREFUSAL::SHORTNAME;
    }
    // An administrative share (\\host\c$) is another spelling of a local drive.
    if (parts.root.size() > 2 && parts.root.back() == '$') return TREFUSAL::ADMINSHARE;
    return TREFUSAL::NONE;
}

bool SAMEORINSIDE(const std::string& folder, const std::string& path) {
    const Compared f = compared(folder);
    return !f.components.empty() && sameOrAncestor(f, compared(path));
}

TREFUSAL FOLDERREFUSAL(const std::string& folder, const ProtectedFolders& protectedFolders, bool itself) {
    if (const TREFUSAL r = PATHFORMREFUSAL(folder); r != TREFUSAL::NONE) return r;
    const Compared path = compared(folder);
    for (const std::string& p : protectedFolders.folders)
        if (const TREFUSAL r = takesProtected(path, compared(p)); r != TREFUSAL::NONE) return r;
    for (const std::string& t : protectedFolders.trees) {
        const Compared tree = compared(t);
        if (const TREFUSAL r = takesProtected(path, tree); r != TREFUSAL::NONE) return r;
        if (sameOrAncestor(tree, path)) return TREFUSAL::INWINDOWS;
    }
    for (const std::string& p : protectedFolders.profiles)
        if (const TREFUSAL r = profileRefusal(path, compared(p), itself); r != TREFUSAL::NONE) return r;
    for (const std::string& f : protectedFolders.profileFolders) {
        const Compared profiles = compared(f);
        if (profiles.components.empty()) continue;  // at a drive root it would forbid the whole drive
        if (const TREFUSAL r = takesProtected(path, profiles); r != TREFUSAL::NONE) return r;
        if (!sameOrAncestor(profiles, path)) continue;
        // Every folder directly below a folder of profiles is someone's profile.
        Compared profile = profiles;
        profile.components.push_back(path.components[profiles.components.size()]);
        if (const TREFUSAL r = profileRefusal(path, profile, itself); r != TREFUSAL::NONE) return r;
    }
    return TREFUSAL::NONE;
}

bool ISSAFEINSTALLFOLDER(const std::string& folder, const ProtectedFolders& protectedFolders) {
    return FOLDERREFUSAL(folder, protectedFolders) == TREFUSAL::NONE;
}

bool ISPLAINFILENAME(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32) return false;  // no second byte is that low
    // A second byte may be "\" or "|": only characters of their own count.
    if (fonction::LASTDELIMITER(name, "\\/:*?\"<>|") != std::string::npos) return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    // Device names are reserved whatever the extension and the letter case;
    // read as UTF-16 so that the superscript digits of COM and LPT are found
    // in any code page.
    std::u16string base = platform::ansiToWide(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == u' ') base.pop_back();
    for (char16_t& c : base)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    for (const char16_t* d : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
        if (base == d) return false;
    if (base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0)) {
        const char16_t digit = base[3];
        // COM0-9 and LPT0-9, and the superscript digits Windows also reserves.
        if ((digit >= u'0' && digit <= u'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3) return false;
    }
    return true;
}

TREFUSAL PRODUCTKEYREFUSAL(const std::string& productKey) {
    // "Administrative Tools" or "Startup" would name a folder of Windows,
    // "LibreOfficeDev 24.8" another product's.
    if (FAMILYOF(productKey).empty()) return TREFUSAL::NOTFAMILY;
    if (!ISPLAINFILENAME(productKey)) return TREFUSAL::NOTPLAINNAME;
    return TREFUSAL::NONE;
}

namespace {

// The parent folder of an absolute path, or "" when it has none.
std::string parentOf(const std::string& path) {
    FolderPath parts = SPLITFOLDERPATH(path);
    if (!parts.components.empty() && parts.components.back().empty()) parts.components.pop_back();
    if (parts.root.empty() || parts.components.empty()) return {};
    std::string parent = parts.root;
    for (std::size_t i = 0; i + 1 < parts.components.size(); ++i) parent += "\\" + parts.components[i];
    return parts.components.size() == 1 ? parent + "\\" : parent;
}

// The machine's own list of profiles: the folder that holds new ones and each
// account's profile (service accounts and ".bak" copies included), variables
// expanded. What cannot be read is passed over: the list only adds refusals.
void readProfileList(std::vector<std::string>& profileFolders, std::vector<std::string>& profiles) {
    const std::string list = "\\" + platform::keys::kProfileList;
    platform::TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    if (!reg.OPENKEYREADONLY(list)) return;
    auto read = [&reg](const std::string& value) -> std::string {
        try {
            return fonction::NORMALIZEPATHSEPARATORS(platform::expandEnvironmentStringsA(reg.READSTRING(value)));
        } catch (const platform::ERegistryException&) {
            return {};
        }
    };
    profileFolders.push_back(read("ProfilesDirectory"));
    platform::TStrings accounts;
    try {
        reg.GETKEYNAMES(accounts);
    } catch (const platform::ERegistryException&) {
        // the names listed before the failure are still worth reading
    }
    for (const std::string& account : accounts)
        if (reg.OPENKEYREADONLY(list + "\\" + account)) profiles.push_back(read("ProfileImagePath"));
}

}  // namespace

ProtectedFolders PROFILEFOLDERS() {
    ProtectedFolders out;
    const FolderPath systemParts = SPLITFOLDERPATH(fonction::GETWINDOWSSYSTEMFOLDER());
    if (!systemParts.root.empty()) out.profileFolders.push_back(systemParts.root + "\\Users");
    // Profiles lie in the folder that holds the shared desktop's profile
    // (C:\Users\Public\Desktop) and, for an ordinary account, the current
    // profile; the list of the machine says where the others are.
    out.profileFolders.push_back(parentOf(parentOf(fonction::GETCOMMONDESKTOPDIRECTORYFOLDER())));
    const std::string profile = fonction::GETSPECIALFOLDERLOCATION(0x28);
    out.profileFolders.push_back(parentOf(profile));
    out.profiles.push_back(profile);
    readProfileList(out.profileFolders, out.profiles);
    return out;
}

ProtectedFolders PROTECTEDFOLDERS() {
    // CSIDL numbers of the folders no removal may take away or contain.
    static constexpr std::array<int32_t, 28> kFolders = {
        0x25,  // system
        0x26,  // Program Files
        0x2A,  // Program Files (x86)
        0x2B,  // Program Files\Common Files
        0x2C,  // Program Files (x86)\Common Files
        0x23,  // ProgramData
        0x28,  // the user's profile
        0x1A,  // the user's AppData\Roaming
        0x1C,  // the user's AppData\Local
        0x05,  // the user's Documents
        0x10,  // the user's Desktop
        0x27,  // the user's Pictures
        0x0D,  // the user's Music
        0x0E,  // the user's Videos
        0x0B,  // the user's Start menu
        0x02,  // the user's Programs
        0x15,  // the user's Templates
        0x2E,  // shared Documents
        0x35,  // shared Music
        0x36,  // shared Pictures
        0x37,  // shared Videos
        0x2D,  // shared Templates
        0x16,  // shared Start menu
        0x18,  // shared Startup
        0x14,  // Fonts
        platform::kCsidlCommonDesktopDirectory,
        platform::kCsidlCommonPrograms,
        platform::kCsidlStartup,
    };
    ProtectedFolders out = PROFILEFOLDERS();
    for (int32_t csidl : kFolders) out.folders.push_back(fonction::GETSPECIALFOLDERLOCATION(csidl));
    const std::string system = fonction::GETWINDOWSSYSTEMFOLDER();
    out.folders.push_back(system);
    out.trees.push_back(fonction::GETSPECIALFOLDERLOCATION(0x24));  // Windows
    // The usual folders of the system drive, in case a lookup above failed.
    const FolderPath systemParts = SPLITFOLDERPATH(system);
    if (!systemParts.root.empty()) {
        out.trees.push_back(parentOf(system));
        out.trees.push_back(systemParts.root + "\\Windows");
        for (const char* name : {"Program Files", "Program Files (x86)", "ProgramData"})
            out.folders.push_back(systemParts.root + "\\" + name);
    }
    // A tree at a drive root would forbid the whole drive: such a folder comes
    // only from a failed or odd lookup, and is left out.
    std::erase_if(out.trees, [](const std::string& t) { return compared(t).components.empty(); });
    return out;
}

}  // namespace korvalend
