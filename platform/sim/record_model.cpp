// The simulated file system's part for the run's record: owners and access
// lists, folders made with one, renames, files held by other programs,
// appends and a disk that fills up.
#include <cstdlib>
#include <stdexcept>

#include "platform/sim/filesystem.h"
#include "platform/wintypes.h"

namespace sim {

using namespace platform;

const std::string kDefaultSecurity =
    "O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
    "D:PAI(A;;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)"
    "(A;CIIO;GA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)"
    "(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)"
    "(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)";

namespace {

std::optional<std::string> sidOf(const std::string& s) {
    static const std::pair<const char*, const char*> kAliases[] = {
        {"SY", "S-1-5-18"},     {"BA", "S-1-5-32-544"}, {"BU", "S-1-5-32-545"}, {"AU", "S-1-5-11"},
        {"WD", "S-1-1-0"},      {"CO", "S-1-3-0"},      {"AC", "S-1-15-2-1"},
    };
    for (const auto& [alias, sid] : kAliases)
        if (s == alias) return sid;
    if (s.starts_with("S-1-")) return s;
    return std::nullopt;
}

std::optional<uint32_t> rightsOf(const std::string& s) {
    if (s.starts_with("0x")) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(s.c_str() + 2, &end, 16);
        if (end == s.c_str() + 2 || *end != '\0') return std::nullopt;
        return static_cast<uint32_t>(v);
    }
    static const std::pair<const char*, uint32_t> kRights[] = {
        {"FA", 0x1F01FF},   {"FR", 0x120089},     {"FW", 0x120116},     {"FX", 0x1200A0},
        {"GA", 0x10000000}, {"GR", 0x80000000},   {"GW", 0x40000000},   {"GX", 0x20000000},
        {"WD", 0x40000},    {"WO", 0x80000},      {"SD", 0x10000},      {"RC", 0x20000},
    };
    if (s.empty() || s.size() % 2 != 0) return std::nullopt;
    uint32_t mask = 0;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        bool known = false;
        for (const auto& [code, bits] : kRights)
            if (s.compare(i, 2, code) == 0) mask |= bits, known = true;
        if (!known) return std::nullopt;
    }
    return mask;
}

std::optional<uint8_t> flagsOf(const std::string& s) {
    static const std::pair<const char*, uint8_t> kFlags[] = {
        {"OI", 0x1}, {"CI", 0x2}, {"NP", 0x4}, {"IO", 0x8}, {"ID", 0x10}};
    uint8_t flags = 0;
    if (s.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        bool known = false;
        for (const auto& [code, bit] : kFlags)
            if (s.compare(i, 2, code) == 0) flags |= bit, known = true;
        if (!known) return std::nullopt;
    }
    return flags;
}

std::vector<std::string> fields(const std::string& s) {
    std::vector<std::string> out(1);
    for (char c : s) {
        if (c == ';') out.emplace_back();
        else out.back() += c;
    }
    return out;
}

}  // namespace

std::optional<Security> parseSddl(const std::string& sddl) {
    Security out;
    std::size_t at = 0;
    if (sddl.starts_with("O:")) {
        const std::size_t end = sddl.find("D:");
        const std::optional<std::string> owner = sidOf(sddl.substr(2, end == std::string::npos ? end : end - 2));
        if (!owner) return std::nullopt;
        out.owner = *owner;
        at = end == std::string::npos ? sddl.size() : end;
    }
    if (at == sddl.size()) return out;
    if (sddl.compare(at, 2, "D:") != 0) return std::nullopt;
    at += 2;
    if (sddl.compare(at, std::string::npos, "NO_ACCESS_CONTROL") == 0) {
        out.nullAccessList = true;
        return out;
    }
    while (at < sddl.size() && sddl[at] != '(') ++at;  // P, AI, AR: nothing this model uses
    while (at < sddl.size()) {
        const std::size_t close = sddl.find(')', at);
        if (sddl[at] != '(' || close == std::string::npos) return std::nullopt;
        const std::vector<std::string> f = fields(sddl.substr(at + 1, close - at - 1));
        if (f.size() != 6 || (f[0] != "A" && f[0] != "D")) return std::nullopt;
        const std::optional<uint8_t> flags = flagsOf(f[1]);
        const std::optional<uint32_t> rights = rightsOf(f[2]);
        const std::optional<std::string> sid = sidOf(f[5]);
        if (!flags || !rights || !sid) return std::nullopt;
        out.entries.push_back(AccessEntry{f[0] == "A" ? AccessEntry::Kind::Allow : AccessEntry::Kind::Deny, *flags,
                                          *rights, *sid});
        at = close + 1;
    }
    return out;
}

void FileSystem::setSecurity(const std::string& path, const std::string& sddl) {
    FsNode* node = find(path);
    if (node == nullptr) throw std::invalid_argument("sim: no entry to secure: " + path);
    if (!parseSddl(sddl)) throw std::invalid_argument("sim: not an SDDL text of this model: " + sddl);
    node->security = sddl;
}

std::optional<Security> FileSystem::security(const std::string& path) {
    const Location loc = locate(path, true);
    if (loc.node == nullptr || loc.denied) {
        lastError = loc.missing();
        return std::nullopt;
    }
    return parseSddl(loc.node->security.empty() ? kDefaultSecurity : loc.node->security);
}

bool FileSystem::createDirectory(const std::string& path, const std::string& sddl) {
    const Location loc = locate(path, false);
    if (loc.denied) {
        lastError = kErrorAccessDenied;
        return false;
    }
    if (loc.node != nullptr) {
        lastError = kErrorAlreadyExists;
        return false;
    }
    if (loc.parent == nullptr || loc.parentMissing) {
        lastError = kErrorPathNotFound;
        return false;
    }
    if (!parseSddl(sddl)) {
        lastError = kErrorInvalidParameter;
        return false;
    }
    create(path, true).security = sddl;
    return true;
}

bool FileSystem::move(const std::string& from, const std::string& to, bool replace) {
    const Location source = locate(from, false);
    if (source.node == nullptr || source.denied || source.parent == nullptr) {
        lastError = source.missing();
        return false;
    }
    if (source.node->heldShare && (*source.node->heldShare & 4) == 0) {
        lastError = kErrorSharingViolation;
        return false;
    }
    const Location target = locate(to, false);
    if (target.denied || target.parent == nullptr || target.parentMissing) {
        lastError = target.denied ? kErrorAccessDenied : kErrorPathNotFound;
        return false;
    }
    if (target.node == source.node) return true;
    if (target.node != nullptr) {
        if (!replace) {
            lastError = kErrorAlreadyExists;
            return false;
        }
        if (target.node->directory || (target.node->attributes & kFileAttributeReadonly) != 0) {
            lastError = kErrorAccessDenied;
            return false;
        }
        if (target.node->heldShare && (*target.node->heldShare & 4) == 0) {
            lastError = kErrorSharingViolation;
            return false;
        }
    }
    std::unique_ptr<FsNode> node = std::move(source.parent->children.at(source.key));
    source.parent->children.erase(source.key);
    const std::string name = to.substr(to.find_last_of("\\/") + 1);
    node->name = name;
    target.parent->children[foldName(name)] = std::move(node);
    return true;
}

void* FileSystem::openAppend(const std::string& path, bool& created) {
    const Location loc = locate(path, false);
    if (loc.denied) {
        lastError = kErrorAccessDenied;
        return nullptr;
    }
    if (loc.parent == nullptr || loc.parentMissing) {
        lastError = kErrorPathNotFound;
        return nullptr;
    }
    FsNode* node = loc.node;
    created = node == nullptr;
    if (node != nullptr && (node->directory || (node->attributes & kFileAttributeReadonly) != 0)) {
        lastError = kErrorAccessDenied;
        return nullptr;
    }
    if (node != nullptr && node->heldShare && (*node->heldShare & 2) == 0) {
        lastError = kErrorSharingViolation;
        return nullptr;
    }
    if (node == nullptr) node = &create(path, false);
    // CreateFile with OPEN_ALWAYS tells an existing file by its last error.
    lastError = created ? kErrorSuccess : kErrorAlreadyExists;
    void* h = reinterpret_cast<void*>(nextFind_);
    nextFind_ += 0x10;
    appends_[h] = Append{path, node->fileIndex};
    return h;
}

bool FileSystem::append(void* handle, const std::string& bytes) {
    const auto it = appends_.find(handle);
    if (it == appends_.end()) {
        lastError = kErrorInvalidHandle;
        return false;
    }
    FsNode* node = find(it->second.path);
    if (node == nullptr || node->fileIndex != it->second.fileIndex) {
        lastError = kErrorAccessDenied;  // this model writes by path: the file it opened is gone
        return false;
    }
    const std::string& path = it->second.path;
    if (path.size() >= 2 && path[1] == ':' && fullDrives_.count(static_cast<char>(path[0] & ~0x20)) != 0) {
        lastError = kErrorDiskFull;
        return false;
    }
    node->content += bytes;
    return true;
}

void FileSystem::hold(const std::string& path, uint32_t share) {
    FsNode* node = find(path);
    if (node == nullptr) throw std::invalid_argument("sim: no file to hold: " + path);
    node->heldShare = share;
}

}  // namespace sim
