#include "platform/files.h"

#include "platform/sim/machine.h"
#include "platform/wintypes.h"

namespace platform {

namespace {
sim::FileSystem& fs() { return sim::current().files; }
}  // namespace

void FindTraits::close(Handle find) noexcept { fs().closeFind(find); }

uint32_t getFileAttributesA(const std::string& path) { return fs().getAttributes(path); }
bool setFileAttributesA(const std::string& path, uint32_t attributes) { return fs().setAttributes(path, attributes); }
bool deleteFileA(const std::string& path) { return fs().deleteFile(path); }
bool removeDirectoryA(const std::string& path) { return fs().removeDirectory(path); }
int32_t getLastError() { return fs().lastError; }
uint32_t getDriveTypeA(const std::string& rootPath) { return fs().driveType(rootPath); }

UniqueFind findFirstFileA(const std::string& pattern, FindData& data) {
    std::vector<sim::FindEntry> entries;
    if (!fs().enumerate(pattern, entries)) return UniqueFind();
    data.attributes = entries.front().attributes;
    data.name = entries.front().name;
    return UniqueFind(fs().openFind(std::move(entries)));
}

bool findNextFileA(Handle find, FindData& data) {
    sim::FindEntry entry;
    if (!fs().nextFind(find, entry)) return false;
    data.attributes = entry.attributes;
    data.name = entry.name;
    return true;
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
