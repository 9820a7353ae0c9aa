// The system folder and the shell's special folders (kernel32, shell32, ole32).
#pragma once

#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace platform {

constexpr int32_t kCsidlStartup = 7;
constexpr int32_t kCsidlCommonPrograms = 23;
constexpr int32_t kCsidlCommonStartup = 24;
constexpr int32_t kCsidlCommonDesktopDirectory = 25;
constexpr uint32_t kMaxPath = 260;

// GetSystemDirectoryA. With no buffer and size 0: the size needed, terminating
// NUL included; 0 on failure. With a large enough buffer: the length copied.
uint32_t getSystemDirectoryA(char* buffer, uint32_t size);

// A shell item identifier list, released with CoTaskMemFree.
struct IdListTraits : NullIsEmpty {
    static void close(Handle list) noexcept;  // CoTaskMemFree
};
using UniqueIdList = UniqueHandle<IdListTraits>;

// SHGetSpecialFolderLocation; an HRESULT, negative on failure. On success
// `list` owns the new item list; on failure it is left untouched.
[[nodiscard]] int32_t shGetSpecialFolderLocation(Handle owner, int32_t folder, UniqueIdList& list);
// SHGetPathFromIDListW into a buffer of MAX_PATH characters; nonzero on
// success, with the path (up to its NUL) in `path`, untouched on failure.
[[nodiscard]] int32_t shGetPathFromIDListW(Handle list, std::u16string& path);

}  // namespace platform
