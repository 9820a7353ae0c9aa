#include "platform/folders.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/machine.h"

namespace platform {

namespace {
sim::FileSystem& fs() { return sim::current().files; }
constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);
}  // namespace

void IdListTraits::close(Handle list) noexcept { fs().releaseIdList(list); }

uint32_t getSystemDirectoryA(char* buffer, uint32_t size) {
    if (fs().systemDirectoryFails) return 0;
    const std::string& path = fs().systemDirectory;
    const auto needed = static_cast<uint32_t>(path.size() + 1);
    if (buffer == nullptr || size < needed) return needed;
    std::memcpy(buffer, path.c_str(), needed);
    return needed - 1;
}

int32_t shGetSpecialFolderLocation(Handle, int32_t folder, UniqueIdList& list) {
    bool pathless = false;
    if (!fs().specialFolderPath(folder, pathless)) return kEFail;
    list.reset(fs().handOutIdList(folder));
    return 0;
}

int32_t shGetPathFromIDListA(Handle list, char* buffer) {
    const int32_t* folder = fs().idListFolder(list);
    if (folder == nullptr || buffer == nullptr) return 0;
    bool pathless = false;
    const auto path = fs().specialFolderPath(*folder, pathless);
    if (!path || pathless) {
        buffer[0] = '\0';
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(path->size(), kMaxPath - 1);
    std::memcpy(buffer, path->data(), n);
    buffer[n] = '\0';
    return 1;
}

}  // namespace platform
