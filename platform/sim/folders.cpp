#include "platform/backend.h"
#include "platform/folders.h"

#include <cstring>

#include "platform/sim/machine.h"

namespace platform {

namespace {
sim::FileSystem& fs() { return sim::current().files; }
constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);
}  // namespace

void backend::freeIdList(Handle list) noexcept { fs().releaseIdList(list); }

uint32_t getSystemDirectoryA(char* buffer, uint32_t size) {
    if (fs().systemDirectoryFails) return 0;
    const std::string& path = fs().systemDirectory;
    const auto needed = static_cast<uint32_t>(path.size() + 1);
    if (buffer == nullptr || size < needed) return needed;
    std::memcpy(buffer, path.c_str(), needed);
    return needed - 1;
}

int32_t backend::shGetSpecialFolderLocation(Handle, int32_t folder, Handle& list) {
    bool pathless = false;
    if (!fs().specialFolderPath(folder, pathless)) return kEFail;
    list = fs().handOutIdList(folder);
    return 0;
}

int32_t backend::shGetPathFromIDListW(Handle list, std::u16string& path) {
    const int32_t* folder = fs().idListFolder(list);
    if (folder == nullptr) return 0;
    bool pathless = false;
    const auto found = fs().specialFolderPath(*folder, pathless);
    if (!found || pathless) return 0;
    path = found->substr(0, kMaxPath - 1);
    return 1;
}

}  // namespace platform
