#include "korvalend/safety.h"

#include <array>

#include "fonction/folders.h"
#include "korvalend/detection.h"
#include "platform/folders.h"
#include "platform/text.h"

namespace korvalend {
namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::vector<std::string> splitComponents(const std::string& rest) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    parts.push_back(part);
    return parts;
}

std::string upper(const std::string& s) { return platform::charUpperBuffA(s); }

}  // namespace

FolderPath SPLITFOLDERPATH(const std::string& path) {
    FolderPath out;
    auto sep = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && isLetter(path[0]) && path[1] == ':' && sep(path[2])) {
        out.root = path.substr(0, 2);
        if (path.size() > 3) out.components = splitComponents(path.substr(3));
        return out;
    }
    if (path.size() >= 2 && sep(path[0]) && sep(path[1])) {
        // \\server\share\...; the \\?\ and \\.\ device forms are not folders we accept.
        const std::vector<std::string> parts = splitComponents(path.substr(2));
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty() || parts[0] == "?" || parts[0] == ".")
            return out;
        out.root = "\\\\" + parts[0] + "\\" + parts[1];
        out.components.assign(parts.begin() + 2, parts.end());
        return out;
    }
    return out;  // relative, drive-relative ("C:x") or rooted without a drive ("\x")
}

bool ISSAMEORANCESTOR(const std::string& ancestor, const std::string& path) {
    FolderPath a = SPLITFOLDERPATH(ancestor);
    FolderPath p = SPLITFOLDERPATH(path);
    if (a.root.empty() || p.root.empty()) return false;
    // A trailing separator leaves an empty last component: it names the same folder.
    if (!a.components.empty() && a.components.back().empty()) a.components.pop_back();
    if (!p.components.empty() && p.components.back().empty()) p.components.pop_back();
    if (upper(a.root) != upper(p.root) || a.components.size() > p.components.size()) return false;
    for (std::size_t i = 0; i < a.components.size(); ++i)
        if (upper(a.components[i]) != upper(p.components[i])) return false;
    return true;
}

bool ISSAFEINSTALLFOLDER(const std::string& folder, const ProtectedFolders& protectedFolders) {
    std::string path = folder;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    // A NUL would end the shell's double-NUL list early and name a second path.
    if (path.find('\0') != std::string::npos) return false;
    if (path.find_first_of("*?") != std::string::npos) return false;
    const FolderPath parts = SPLITFOLDERPATH(path);
    if (parts.root.empty() || parts.components.empty()) return false;  // not absolute, or a root
    for (const std::string& c : parts.components) {
        if (c.empty() || c == "." || c == "..") return false;
        if (c.back() == '.' || c.back() == ' ') return false;
        // "PROGRA~1" is another spelling of a folder that the comparisons
        // below would not recognise.
        if (c.find('~') != std::string::npos) return false;
    }
    // An administrative share (\\host\c$) is another spelling of a local drive.
    if (parts.root.size() > 2 && parts.root.back() == '$') return false;
    for (const std::string& p : protectedFolders.folders)
        if (!p.empty() && ISSAMEORANCESTOR(path, p)) return false;
    for (const ProtectedTree& tree : protectedFolders.trees) {
        if (tree.folder.empty()) continue;
        if (ISSAMEORANCESTOR(path, tree.folder)) return false;
        if (!ISSAMEORANCESTOR(tree.folder, path)) continue;
        const FolderPath below = SPLITFOLDERPATH(tree.folder);
        std::size_t treeDepth = below.components.size();
        if (treeDepth > 0 && below.components.back().empty()) --treeDepth;
        const std::size_t levels = parts.components.size() - treeDepth;
        if (tree.depth == 0 || levels <= static_cast<std::size_t>(tree.depth)) return false;
    }
    return true;
}

bool ISPLAINFILENAME(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return false;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    if (name.back() == '.' || name.back() == ' ') return false;
    // Device names are reserved whatever the extension and the letter case.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const std::array<std::string, 6> kPlain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const std::string& d : kPlain)
        if (base.size() == d.size() && startsWithAsciiCaseless(base, d)) return false;
    if (base.size() == 4 && (startsWithAsciiCaseless(base, "COM") || startsWithAsciiCaseless(base, "LPT"))) {
        const auto digit = static_cast<unsigned char>(base[3]);
        // COM1-9 and LPT1-9, and the superscript digits Windows also reserves.
        if ((digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3) return false;
    }
    return true;
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
}  // namespace

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
    // Levels below the folder of profiles that belong to users: the profiles,
    // their top folders (Documents, AppData) and the ones inside (AppData\Local).
    constexpr int kProfileLevels = 3;
    ProtectedFolders out;
    // A tree at a drive root would forbid the whole drive: such a folder
    // comes only from a failed or odd lookup, and is left out.
    auto addTree = [&out](const std::string& folder, int depth) {
        const FolderPath parts = SPLITFOLDERPATH(folder);
        if (!parts.components.empty() && !parts.components.front().empty()) out.trees.push_back({folder, depth});
    };
    for (int32_t csidl : kFolders) out.folders.push_back(fonction::GETSPECIALFOLDERLOCATION(csidl));
    const std::string system = fonction::GETWINDOWSSYSTEMFOLDER();
    out.folders.push_back(system);
    addTree(fonction::GETSPECIALFOLDERLOCATION(0x24), 0);  // Windows
    // The usual folders of the system drive, in case a lookup above failed.
    const FolderPath systemParts = SPLITFOLDERPATH(system);
    if (!systemParts.root.empty()) {
        addTree(parentOf(system), 0);
        addTree(systemParts.root + "\\Windows", 0);
        for (const char* name : {"Program Files", "Program Files (x86)", "ProgramData"})
            out.folders.push_back(systemParts.root + "\\" + name);
        addTree(systemParts.root + "\\Users", kProfileLevels);
    }
    // Every user's profile lies in the folder that holds the shared desktop's
    // profile (C:\Users\Public\Desktop) and, for an ordinary account, the
    // current profile. The local system account's profile lies elsewhere.
    addTree(parentOf(parentOf(fonction::GETCOMMONDESKTOPDIRECTORYFOLDER())), kProfileLevels);
    addTree(parentOf(fonction::GETSPECIALFOLDERLOCATION(0x28)), kProfileLevels);
    return out;
}

}  // namespace korvalend
