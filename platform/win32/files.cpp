#include "platform/backend.h"
#include "platform/files.h"

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asHandle;

void backend::closeFind(Handle find) noexcept { FindClose(asHandle(find)); }

namespace {
struct FileTraits : InvalidIsEmpty {
    static void close(Handle h) noexcept { CloseHandle(asHandle(h)); }
};
}  // namespace

uint32_t backend::getFileAttributesA(const std::string& path) { return GetFileAttributesA(path.c_str()); }
int32_t backend::getLastError() { return static_cast<int32_t>(GetLastError()); }
uint32_t getDriveTypeA(const std::string& rootPath) { return GetDriveTypeA(rootPath.c_str()); }

namespace {
void copyFindData(const WIN32_FIND_DATAA& native, FindData& data) {
    data.attributes = native.dwFileAttributes;
    data.name = native.cFileName;
}
}  // namespace

Handle backend::findFirstFileA(const std::string& pattern, FindData& data) {
    WIN32_FIND_DATAA native{};
    HANDLE h = FindFirstFileA(pattern.c_str(), &native);
    if (h != INVALID_HANDLE_VALUE) copyFindData(native, data);
    return h;
}

bool backend::findNextFileA(Handle find, FindData& data) {
    WIN32_FIND_DATAA native{};
    if (!FindNextFileA(asHandle(find), &native)) return false;
    copyFindData(native, data);
    return true;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    UniqueHandle<FileTraits> owner(h);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        content.append(buffer, got);
    }
    return content;
}

}  // namespace platform
