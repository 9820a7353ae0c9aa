#include "korvalend/paths.h"

#include "fonction/dbcs.h"
#include "korvalend/safety.h"
#include "platform/files.h"
#include "platform/wintypes.h"

namespace korvalend {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && fonction::LASTDELIMITER(folder, "\\/") == folder.size() - 1) return folder + name;
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

bool isAbsent(const std::string& path) {
    if (platform::getFileAttributesA(path) != platform::kInvalidFileAttributes) return false;
    const int32_t error = platform::getLastError();
    return error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound;
}

bool onFixedDrive(const std::string& folder) {
    const std::string root = SPLITFOLDERPATH(folder).root;
    // "C:" is a drive; "\\server\share" is not, whatever the share holds.
    if (root.size() != 2) return false;
    return platform::getDriveTypeA(root + "\\") == platform::kDriveFixed;
}

}  // namespace korvalend
