#include "platform/backend.h"
#include "platform/files.h"

#include "platform/sim/machine.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {

namespace {
sim::FileSystem& fs() { return sim::current().files; }
}  // namespace

void backend::closeFind(Handle find) noexcept { fs().closeFind(find); }

uint32_t backend::getFileAttributesA(const std::string& path) { return fs().getAttributes(path); }
bool backend::setFileAttributesA(const std::string& path, uint32_t attributes) {
    return fs().setAttributes(path, attributes);
}
bool backend::deleteFileA(const std::string& path) { return fs().deleteFile(path); }
bool backend::removeDirectoryA(const std::string& path) { return fs().removeDirectory(path); }
int32_t backend::getLastError() { return fs().lastError; }
uint32_t getDriveTypeA(const std::string& rootPath) { return fs().driveType(rootPath); }

Handle backend::findFirstFileA(const std::string& pattern, FindData& data) {
    std::vector<sim::FindEntry> entries;
    if (!fs().enumerate(pattern, entries)) return invalidHandleValue();
    data.attributes = entries.front().attributes;
    data.name = entries.front().name;
    return fs().openFind(std::move(entries));
}

bool backend::findNextFileA(Handle find, FindData& data) {
    sim::FindEntry entry;
    if (!fs().nextFind(find, entry)) return false;
    data.attributes = entry.attributes;
    data.name = entry.name;
    return true;
}

void FileTraits::close(Handle file) noexcept { fs().closeIdentity(file); }

namespace {
// The ANSI form of a path, when the code page holds every character of it.
std::optional<std::string> ansiPath(const std::u16string& path) {
    std::string ansi = wideToAnsi(path);
    if (ansiToWide(ansi) != path) {
        fs().lastError = kErrorFileNotFound;
        return std::nullopt;
    }
    return ansi;
}
}  // namespace

UniqueFile createFileForIdentityW(const std::u16string& path) {
    const std::optional<std::string> ansi = ansiPath(path);
    void* h = ansi ? fs().openIdentity(*ansi) : nullptr;
    return h == nullptr ? UniqueFile() : UniqueFile(h);
}

bool getFileIdentity(Handle file, FileIdentity& identity) {
    uint32_t volume = 0;
    uint64_t index = 0;
    if (!fs().identity(file, volume, index)) {
        fs().lastError = kErrorInvalidHandle;
        return false;
    }
    identity = FileIdentity{volume, index};
    return true;
}

std::optional<std::u16string> getLongPathNameW(const std::u16string& path) {
    const std::optional<std::string> ansi = ansiPath(path);
    const std::optional<std::string> longer = ansi ? fs().longPath(*ansi) : std::nullopt;
    if (!longer) return std::nullopt;
    return ansiToWide(*longer);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    const sim::FsNode* node = fs().find(path);
    if (node == nullptr) {
        fs().lastError = kErrorFileNotFound;
        return std::nullopt;
    }
    if (node->directory) {
        fs().lastError = kErrorAccessDenied;
        return std::nullopt;
    }
    return node->content;
}

}  // namespace platform
