#include "platform/sim/filesystem.h"

#include <cstring>
#include <stdexcept>

#include "platform/folders.h"
#include "platform/sim/codepage.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace sim {

using namespace platform;

namespace {

constexpr uint32_t kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
constexpr int kMaxJunctionDepth = 32;

std::string cString(const std::string& s) { return s.substr(0, s.find('\0')); }

bool isSep(char c) { return c == '\\' || c == '/'; }

// The last "\" or "/" that is a character of its own (in code page 932 the
// second byte of a pair may be 0x5C), or npos.
std::size_t lastSep(const std::string& s) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < s.size(); i += charSize(s, i))
        if (isSep(s[i])) last = i;
    return last;
}

bool hasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

// Full backtracking glob over folded names.
bool glob(const std::u16string& p, std::size_t pi, const std::u16string& n, std::size_t ni) {
    while (pi < p.size()) {
        if (p[pi] == u'*') {
            while (pi < p.size() && p[pi] == u'*') ++pi;
            if (pi == p.size()) return true;
            for (std::size_t k = ni; k <= n.size(); ++k)
                if (glob(p, pi, n, k)) return true;
            return false;
        }
        if (ni == n.size()) return false;
        if (p[pi] != u'?' && p[pi] != n[ni]) return false;
        ++pi;
        ++ni;
    }
    return ni == n.size();
}

}  // namespace

std::u16string foldName(const std::string& name) {
    std::u16string out;
    out.reserve(name.size());
    if (activeCodePage() != 932) {
        for (char c : name) out.push_back(cp1252::foldUnicode(cp1252::toUnicode(static_cast<unsigned char>(c))));
        return out;
    }
    // Code page 932: ASCII letters fold; a pair is one unit of its own.
    for (std::size_t i = 0; i < name.size(); i += charSize(name, i)) {
        const auto b = static_cast<unsigned char>(name[i]);
        const auto next = static_cast<unsigned char>(charSize(name, i) == 2 ? name[i + 1] : 0);
        if (next != 0) out.push_back(static_cast<char16_t>(b << 8 | next));
        else out.push_back(b >= 'a' && b <= 'z' ? static_cast<char16_t>(b - 0x20) : b);
    }
    return out;
}

bool findPatternMatches(const std::string& pattern, const std::string& name) {
    if (pattern == "*" || pattern == "*.*") return true;
    const std::u16string p = foldName(pattern), n = foldName(name);
    if (glob(p, 0, n, 0)) return true;
    const bool noExtension = name.find('.') == std::string::npos;
    if (noExtension && pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0)
        return glob(p.substr(0, p.size() - 2), 0, n, 0);
    if (noExtension && !pattern.empty() && pattern.back() == '.') return glob(p.substr(0, p.size() - 1), 0, n, 0);
    return false;
}

uint32_t FsNode::reportedAttributes() const noexcept {
    uint32_t a = attributes & kSettable;
    if (directory) a |= kFileAttributeDirectory;
    if (isJunction()) a |= kFileAttributeReparsePoint;
    return a == 0 ? kFileAttributeNormal : a;
}

std::unique_ptr<FsNode> FsNode::clone() const {
    auto copy = std::make_unique<FsNode>();
    copy->name = name;
    copy->directory = directory;
    copy->attributes = attributes;
    copy->content = content;
    copy->junctionTarget = junctionTarget;
    copy->shortName = shortName;
    copy->volumeSerial = volumeSerial;
    copy->fileIndex = fileIndex;
    copy->refuseDelete = refuseDelete;
    copy->refuseRemove = refuseRemove;
    copy->unreadable = unreadable;
    copy->security = security;
    copy->heldShare = heldShare;
    for (const auto& [key, child] : children) copy->children.emplace(key, child->clone());
    return copy;
}

FileSystem::FileSystem() {
    const std::string user = "C:\\Users\\User";
    setSpecialFolder(kCsidlStartup, user + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup");
    setSpecialFolder(kCsidlCommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
    setSpecialFolder(kCsidlCommonStartup, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
    setSpecialFolder(kCsidlCommonDesktopDirectory, "C:\\Users\\Public\\Desktop");
    addDirectory(systemDirectory);
}

FileSystem::~FileSystem() = default;

bool FileSystem::shareOf(const std::string& path, std::size_t& rest, char& drive, bool add) {
    // \\server\share: both names needed; "\\?\" and "\\.\" are device paths.
    const std::size_t server = 2;
    std::size_t share = server;
    while (share < path.size() && !isSep(path[share])) share += charSize(path, share);
    rest = share + 1;
    while (rest < path.size() && !isSep(path[rest])) rest += charSize(path, rest);
    const std::string serverName = path.substr(server, share - server);
    if (serverName.empty() || serverName == "?" || serverName == "." || share + 1 >= rest) return false;
    const std::u16string key = foldName(path.substr(server, rest - server));
    if (const auto it = shares_.find(key); it != shares_.end()) {
        drive = it->second;
        return true;
    }
    if (!add || shares_.size() >= 31) return false;
    // A share is held like a drive, under a key no drive letter uses.
    drive = static_cast<char>(1 + shares_.size());
    shares_[key] = drive;
    shareNames_[drive] = path.substr(0, rest);
    return true;
}

bool FileSystem::split(const std::string& rawPath, char& drive, std::vector<std::string>& parts, bool addShare) {
    std::string path = cString(rawPath);
    if (path.size() >= 2 && isSep(path[0]) && isSep(path[1])) {
        std::size_t rest = 0;
        if (!shareOf(path, rest, drive, addShare)) return false;
        path = rest < path.size() ? path.substr(rest) : std::string();
    } else if (path.size() >= 2 && path[1] == ':') {
        const char d = path[0];
        if (!((d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z'))) return false;
        drive = static_cast<char>(d & ~0x20);
        path = path.substr(2);
        if (path.empty() || !isSep(path[0])) path = cString(currentDirectory).substr(2) + "\\" + path;
    } else {
        drive = static_cast<char>(currentDirectory.empty() ? 'C' : (currentDirectory[0] & ~0x20));
        if (path.empty() || !isSep(path[0])) path = cString(currentDirectory).substr(2) + "\\" + path;
    }
    parts.clear();
    std::size_t i = 0;
    while (i <= path.size()) {
        std::size_t j = i;
        while (j < path.size() && !isSep(path[j])) j += charSize(path, j);
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    return true;
}

bool FileSystem::isDriveRoot(const FsNode* node) const {
    for (const auto& [letter, root] : drives_)
        if (root.get() == node) return true;
    return false;
}

FileSystem::Location FileSystem::locate(const std::string& path, bool followLast, int depth) {
    Location loc;
    char drive = 0;
    std::vector<std::string> parts;
    if (depth > kMaxJunctionDepth || !split(path, drive, parts)) {
        loc.parentMissing = true;
        return loc;
    }
    const auto d = drives_.find(drive);
    if (d == drives_.end()) {
        loc.parentMissing = true;
        return loc;
    }
    FsNode* folder = d->second.get();
    if (parts.empty()) {
        loc.node = folder;  // the drive root has no parent
        return loc;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::u16string key = foldName(parts[i]);
        FsNode* node = entry(*folder, key);
        const bool last = i + 1 == parts.size();
        if (last) {
            loc.parent = folder;
            loc.key = key;
            loc.node = node;
            if (node != nullptr && followLast && node->isJunction()) {
                FsNode* target = resolveFolder(node->junctionTarget, depth + 1);
                if (target == nullptr) {
                    loc.node = nullptr;
                    loc.parentMissing = true;
                    return loc;
                }
                loc.node = target;
            }
            return loc;
        }
        if (node == nullptr || !node->directory) {
            loc.parentMissing = true;
            return loc;
        }
        if (node->isJunction()) {
            node = resolveFolder(node->junctionTarget, depth + 1);
            if (node == nullptr) {
                loc.parentMissing = true;
                return loc;
            }
        }
        // Walked on, so that the machine's own inspection still sees it.
        if (node->unreadable) loc.denied = true;
        folder = node;
    }
    return loc;
}

FsNode* FileSystem::entry(FsNode& folder, std::u16string& key) {
    if (const auto it = folder.children.find(key); it != folder.children.end()) return it->second.get();
    for (auto& [own, child] : folder.children)
        if (!child->shortName.empty() && foldName(child->shortName) == key) {
            key = own;
            return child.get();
        }
    return nullptr;
}

int32_t FileSystem::Location::missing() const {
    return denied ? kErrorAccessDenied : parentMissing ? kErrorPathNotFound : kErrorFileNotFound;
}

FsNode* FileSystem::resolveFolder(const std::string& path, int depth) {
    const Location loc = locate(path, true, depth);
    return loc.node != nullptr && loc.node->directory ? loc.node : nullptr;
}

FsNode& FileSystem::create(const std::string& path, bool directory) {
    char drive = 0;
    std::vector<std::string> parts;
    if (!split(path, drive, parts, true)) throw std::invalid_argument("sim: not a drive or share path: " + path);
    auto& root = drives_[drive];
    if (!root) {
        root = std::make_unique<FsNode>();
        root->name = shareNames_.count(drive) != 0 ? shareNames_[drive] : std::string(1, drive) + ":";
        root->directory = true;
        root->volumeSerial = 0x5EED0000u | static_cast<unsigned char>(drive);
        root->fileIndex = ++nextFileIndex_;
    }
    // A new entry lies on its folder's volume, and is a file of its own there.
    const auto fresh = [this](std::unique_ptr<FsNode>& slot, const FsNode& folder, const std::string& name) {
        slot = std::make_unique<FsNode>();
        slot->name = name;
        slot->volumeSerial = folder.volumeSerial;
        slot->fileIndex = ++nextFileIndex_;
    };
    if (parts.empty()) {
        if (!directory) throw std::invalid_argument("sim: a drive root is no file");
        return *root;
    }
    FsNode* folder = root.get();
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto& slot = folder->children[foldName(parts[i])];
        if (!slot || !slot->directory) {
            fresh(slot, *folder, parts[i]);
            slot->directory = true;
        }
        folder = slot.get();
        if (folder->isJunction()) {
            FsNode* target = resolveFolder(folder->junctionTarget);
            if (target == nullptr) throw std::invalid_argument("sim: dangling junction on the way to " + path);
            folder = target;
        }
    }
    auto& slot = folder->children[foldName(parts.back())];
    if (directory && slot && slot->directory && !slot->isJunction()) return *slot;
    fresh(slot, *folder, parts.back());
    slot->directory = directory;
    return *slot;
}

FsNode& FileSystem::addDirectory(const std::string& path, uint32_t attributes) {
    FsNode& n = create(path, true);
    n.attributes = attributes & kSettable;
    return n;
}

FsNode& FileSystem::addFile(const std::string& path, const std::string& content, uint32_t attributes) {
    FsNode& n = create(path, false);
    n.content = content;
    n.attributes = attributes & kSettable;
    return n;
}

FsNode& FileSystem::addJunction(const std::string& path, const std::string& target) {
    FsNode& n = create(path, true);
    n.children.clear();
    n.junctionTarget = target.empty() ? std::string("?") : target;
    return n;
}

void FileSystem::setShortName(const std::string& path, const std::string& shortName) {
    FsNode* node = find(path);
    if (node == nullptr) throw std::invalid_argument("sim: no entry to name: " + path);
    node->shortName = shortName;
}

FsNode* FileSystem::find(const std::string& path) { return locate(path, false).node; }

bool FileSystem::isDirectory(const std::string& path) {
    const FsNode* n = find(path);
    return n != nullptr && n->directory;
}

std::optional<std::string> FileSystem::read(const std::string& path) {
    const FsNode* n = find(path);
    if (n == nullptr || n->directory) return std::nullopt;
    return n->content;
}

std::vector<std::string> FileSystem::list(const std::string& folder) {
    std::vector<std::string> names;
    if (const FsNode* dir = resolveFolder(folder))
        for (const auto& [key, child] : dir->children) names.push_back(child->name);
    return names;
}

const RecycledItem* FileSystem::recycled(const std::string& originalPath) const {
    const std::u16string want = foldName(originalPath);
    for (const auto& item : recycleBin)
        if (foldName(item.originalPath) == want) return &item;
    return nullptr;
}

uint32_t FileSystem::getAttributes(const std::string& path) {
    const Location loc = locate(path, false);
    if (loc.node == nullptr || loc.denied) {
        lastError = loc.missing();
        return kInvalidFileAttributes;
    }
    return loc.node->reportedAttributes();
}

bool FileSystem::setAttributes(const std::string& path, uint32_t attributes) {
    const Location loc = locate(path, false);
    if (loc.node == nullptr || loc.denied) {
        lastError = loc.missing();
        return false;
    }
    // FILE_ATTRIBUTE_NORMAL clears the settable bits; directory and reparse
    // point are not settable and stay.
    loc.node->attributes = attributes & kSettable;
    return true;
}

bool FileSystem::deleteFile(const std::string& path) {
    const Location loc = locate(path, false);
    if (loc.node == nullptr || loc.denied) {
        lastError = loc.missing();
        return false;
    }
    if (loc.node->directory || (loc.node->attributes & kFileAttributeReadonly) != 0 || loc.parent == nullptr) {
        lastError = kErrorAccessDenied;
        return false;
    }
    if (loc.node->refuseDelete) {
        lastError = kErrorSharingViolation;
        return false;
    }
    loc.parent->children.erase(loc.key);
    return true;
}

bool FileSystem::removeDirectory(const std::string& path) {
    const Location loc = locate(path, false);
    if (loc.node == nullptr || loc.denied) {
        lastError = loc.missing();
        return false;
    }
    if (!loc.node->directory) {
        lastError = 267;  // ERROR_DIRECTORY
        return false;
    }
    if (loc.parent == nullptr || (loc.node->attributes & kFileAttributeReadonly) != 0) {
        lastError = kErrorAccessDenied;
        return false;
    }
    if (loc.node->refuseRemove) {
        lastError = kErrorSharingViolation;
        return false;
    }
    // A junction goes as a link, whatever its target holds.
    if (!loc.node->isJunction() && !loc.node->children.empty()) {
        lastError = kErrorDirNotEmpty;
        return false;
    }
    loc.parent->children.erase(loc.key);
    return true;
}

bool FileSystem::enumerate(const std::string& rawPattern, std::vector<FindEntry>& out) {
    out.clear();
    const std::string pattern = cString(rawPattern);
    const std::size_t cut = lastSep(pattern);
    std::string folderPath, mask;
    if (cut == std::string::npos) {
        if (pattern.size() >= 2 && pattern[1] == ':') {
            folderPath = pattern.substr(0, 2);
            mask = pattern.substr(2);
        } else {
            folderPath = currentDirectory;
            mask = pattern;
        }
    } else {
        folderPath = pattern.substr(0, cut + 1);
        mask = pattern.substr(cut + 1);
    }
    const Location at = locate(folderPath, true);
    FsNode* folder = at.node != nullptr && at.node->directory ? at.node : nullptr;
    if (at.denied || (folder != nullptr && folder->unreadable)) {
        lastError = kErrorAccessDenied;
        return false;
    }
    if (folder == nullptr) {
        lastError = kErrorPathNotFound;
        return false;
    }
    if (mask.empty()) {
        lastError = kErrorFileNotFound;
        return false;
    }
    if (!hasWildcard(mask)) {
        const auto it = folder->children.find(foldName(mask));
        if (it == folder->children.end()) {
            lastError = kErrorFileNotFound;
            return false;
        }
        out.push_back({it->second->reportedAttributes(), it->second->name});
        return true;
    }
    if (!isDriveRoot(folder)) {
        for (const char* dots : {".", ".."})
            if (findPatternMatches(mask, dots)) out.push_back({kFileAttributeDirectory, dots});
    }
    for (const auto& [key, child] : folder->children)
        if (findPatternMatches(mask, child->name)) out.push_back({child->reportedAttributes(), child->name});
    if (out.empty()) {
        lastError = kErrorFileNotFound;
        return false;
    }
    return true;
}

void* FileSystem::openIdentity(const std::string& path) {
    const Location loc = locate(path, true);
    if (loc.node == nullptr || loc.denied) {
        lastError = loc.missing();
        return nullptr;
    }
    void* h = reinterpret_cast<void*>(nextFind_);
    nextFind_ += 0x10;
    identities_[h] = {loc.node->volumeSerial, loc.node->fileIndex};
    return h;
}

bool FileSystem::identity(void* handle, uint32_t& volumeSerialNumber, uint64_t& fileIndex) const {
    const auto it = identities_.find(handle);
    if (it == identities_.end() || noFileIndex_.count(it->second.first) != 0) return false;
    volumeSerialNumber = it->second.first;
    fileIndex = it->second.second;
    return true;
}

void FileSystem::closeIdentity(void* handle) { identities_.erase(handle); }

std::optional<std::string> FileSystem::longPath(const std::string& rawPath) {
    const std::string path = cString(rawPath);
    char drive = 0;
    std::vector<std::string> parts;
    if (!split(path, drive, parts) || drives_.count(drive) == 0) return std::nullopt;
    FsNode* folder = drives_.at(drive).get();
    std::string out = folder->name;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::u16string key = foldName(parts[i]);
        FsNode* node = folder == nullptr ? nullptr : entry(*folder, key);
        if (node == nullptr) return std::nullopt;
        out += "\\" + node->name;
        folder = !node->directory ? nullptr : node->isJunction() ? resolveFolder(node->junctionTarget) : node;
    }
    return parts.empty() ? out + "\\" : out;
}

bool FileSystem::deleteTree(FsNode& parent, const std::u16string& key, int32_t& error) {
    FsNode& node = *parent.children.at(key);
    if (!node.directory) {
        if (node.refuseDelete) {
            if (error == 0) error = kErrorSharingViolation;
            return false;
        }
        parent.children.erase(key);
        return true;
    }
    bool all = true;
    if (!node.isJunction()) {
        std::vector<std::u16string> keys;
        for (const auto& [k, child] : node.children) keys.push_back(k);
        for (const auto& k : keys) all = deleteTree(node, k, error) && all;
    }
    if (!all) return false;
    if (node.refuseRemove) {
        if (error == 0) error = kErrorSharingViolation;
        return false;
    }
    parent.children.erase(key);
    return true;
}

namespace {
bool blocked(const FsNode& node) {
    if (!node.directory) return node.refuseDelete;
    if (node.refuseRemove) return true;
    if (node.isJunction()) return false;
    for (const auto& [k, child] : node.children)
        if (blocked(*child)) return true;
    return false;
}
}  // namespace

int32_t FileSystem::shellDelete(const std::vector<std::string>& sources, uint16_t flags) {
    const bool toRecycleBin = (flags & 0x40) != 0;
    const bool filesOnly = (flags & 0x80) != 0;
    int32_t error = 0;
    if (sources.empty()) return kErrorFileNotFound;
    for (const std::string& source : sources) {
        const std::size_t cut = lastSep(source);
        const std::string last = cut == std::string::npos ? source : source.substr(cut + 1);
        std::vector<std::pair<FsNode*, std::u16string>> items;
        std::vector<std::string> itemPaths;
        if (hasWildcard(last)) {
            const std::string folderPath = cut == std::string::npos ? currentDirectory : source.substr(0, cut + 1);
            FsNode* folder = resolveFolder(folderPath);
            if (folder == nullptr) {
                if (error == 0) error = kErrorPathNotFound;
                continue;
            }
            // A wildcard that matches nothing in an existing folder is no
            // failure: there was simply nothing to delete.
            {
                for (const auto& [key, child] : folder->children) {
                    if (filesOnly && child->directory) continue;
                    if (!findPatternMatches(last, child->name)) continue;
                    items.emplace_back(folder, key);
                    itemPaths.push_back(source.substr(0, cut + 1) + child->name);
                }
            }
        } else {
            const Location loc = locate(source, false);
            if (loc.node != nullptr && loc.parent == nullptr) {
                if (error == 0) error = kErrorAccessDenied;  // a drive root
                continue;
            }
            if (loc.node != nullptr) {
                items.emplace_back(loc.parent, loc.key);
                itemPaths.push_back(source);
            }
        }
        if (items.empty()) {
            if (error == 0 && !hasWildcard(last)) error = kErrorFileNotFound;
            continue;
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            auto& [folder, key] = items[i];
            if (toRecycleBin) {
                // A move either takes the whole item or leaves it in place.
                if (blocked(*folder->children.at(key))) {
                    if (error == 0) error = kErrorSharingViolation;
                    continue;
                }
                auto node = std::move(folder->children.at(key));
                folder->children.erase(key);
                recycleBin.push_back({itemPaths[i], std::move(node)});
            } else {
                deleteTree(*folder, key, error);
            }
        }
    }
    return error;
}

void* FileSystem::openFind(std::vector<FindEntry> entries) {
    void* h = reinterpret_cast<void*>(nextFind_);
    nextFind_ += 0x10;
    finds_[h] = {std::move(entries), 1};
    return h;
}

bool FileSystem::nextFind(void* handle, FindEntry& entry) {
    const auto it = finds_.find(handle);
    if (it == finds_.end()) {
        lastError = kErrorInvalidHandle;
        return false;
    }
    auto& [entries, next] = it->second;
    if (next >= entries.size()) {
        lastError = kErrorNoMoreFiles;
        return false;
    }
    entry = entries[next++];
    return true;
}

void FileSystem::closeFind(void* handle) { finds_.erase(handle); }

void FileSystem::setSpecialFolder(int32_t csidl, const std::string& path) {
    special_[csidl] = SpecialFolder{platform::ansiToWide(path)};
    addDirectory(path);
}

void FileSystem::setSpecialFolder(int32_t csidl, const std::u16string& path) { special_[csidl] = SpecialFolder{path}; }

void FileSystem::setDriveType(char drive, uint32_t type) { driveTypes_[static_cast<char>(drive & ~0x20)] = type; }

uint32_t FileSystem::driveType(const std::string& rootPath) {
    char key = 0;
    std::size_t rest = 0;
    const bool unc = rootPath.size() >= 2 && isSep(rootPath[0]) && isSep(rootPath[1]);
    if (unc) return shareOf(rootPath, rest, key, false) ? kDriveRemote : kDriveNoRootDir;
    // Only "X:\" names a drive's root; the platform answers "no root" otherwise.
    if (rootPath.size() != 3 || rootPath[1] != ':' || rootPath[2] != '\\') return kDriveNoRootDir;
    const char drive = static_cast<char>(rootPath[0] & ~0x20);
    if (const auto it = driveTypes_.find(drive); it != driveTypes_.end()) return it->second;
    return drives_.count(drive) != 0 ? kDriveFixed : kDriveNoRootDir;
}

void FileSystem::makeUnresolvable(int32_t csidl) { special_[csidl].unresolvable = true; }

void FileSystem::makePathless(int32_t csidl) { special_[csidl].pathless = true; }

std::optional<std::u16string> FileSystem::specialFolderPath(int32_t csidl, bool& pathless) const {
    const auto it = special_.find(csidl);
    if (it == special_.end() || it->second.unresolvable) return std::nullopt;
    pathless = it->second.pathless;
    return it->second.path;
}

void* FileSystem::handOutIdList(int32_t csidl) {
    auto list = std::make_unique<int32_t>(csidl);
    void* h = list.get();
    idLists_[h] = std::move(list);
    ++idListsHandedOut;
    return h;
}

const int32_t* FileSystem::idListFolder(void* list) const {
    const auto it = idLists_.find(list);
    return it == idLists_.end() ? nullptr : it->second.get();
}

void FileSystem::releaseIdList(void* list) {
    if (idLists_.erase(list) == 0) {
        ++badIdListReleases;
        return;
    }
    ++idListsReleased;
}

}  // namespace sim
