#include "korvalend/paths.h"

#include "platform/files.h"
#include "platform/wintypes.h"

namespace korvalend {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
    return folder + "\\" + name;
}

namespace {
bool hasAttributes(const std::string& path, uint32_t bits, uint32_t want) {
    const uint32_t attrs = platform::getFileAttributesA(path);
    return attrs != platform::kInvalidFileAttributes && (attrs & bits) == want;
}
}  // namespace

bool isFile(const std::string& path) { return hasAttributes(path, platform::kFileAttributeDirectory, 0); }

bool isDirectory(const std::string& path) {
    return hasAttributes(path, platform::kFileAttributeDirectory, platform::kFileAttributeDirectory);
}

bool isLink(const std::string& path) {
    return hasAttributes(path, platform::kFileAttributeReparsePoint, platform::kFileAttributeReparsePoint);
}

}  // namespace korvalend
