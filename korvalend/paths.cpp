#include "korvalend/paths.h"

#include <string_view>

#include "fonction/dbcs.h"
#include "platform/files.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

constexpr std::string_view kSeparators = "\\/";

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

FolderPath SPLITFOLDERPATH(const std::string& path) {
    FolderPath out;
    auto sepAt = [&path](std::size_t i) { return fonction::ISDELIMITERAT(path, i, kSeparators); };
    if (path.size() >= 3 && isLetter(path[0]) && path[1] == ':' && sepAt(2)) {
        out.root = path.substr(0, 2);
        if (path.size() > 3) out.components = fonction::SPLITCOMPONENTS(path.substr(3), kSeparators);
        return out;
    }
    if (path.size() >= 2 && sepAt(0) && sepAt(1)) {
        // \\server\share\...; the \\?\ and \\.\ device forms are not folders we accept.
        const std::vector<std::string> parts = fonction::SPLITCOMPONENTS(path.substr(2), kSeparators);
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty() || parts[0] == "?" || parts[0] == ".")
            return out;
        out.root = "\\\\" + parts[0] + "\\" + parts[1];
        out.components.assign(parts.begin() + 2, parts.end());
        return out;
    }
    return out;  // relative, drive-relative ("C:x") or rooted without a drive ("\x")
}

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
