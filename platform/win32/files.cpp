#include "platform/backend.h"
#include "platform/files.h"

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asHandle;

void backend::closeFind(Handle find) noexcept { FindClose(asHandle(find)); }

void FileTraits::close(Handle file) noexcept { CloseHandle(asHandle(file)); }

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

UniqueFile createFileForIdentityW(const std::u16string& path) {
    return UniqueFile(CreateFileW(win32::wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool getFileIdentity(Handle file, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(asHandle(file), &info)) return false;
    identity.volumeSerialNumber = info.dwVolumeSerialNumber;
    identity.fileIndex = uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow;
    return true;
}

std::optional<std::u16string> getLongPathNameW(const std::u16string& path) {
    // The size asked for first may have grown by the second call.
    DWORD size = GetLongPathNameW(win32::wide(path), nullptr, 0);
    for (int attempt = 0; size != 0 && attempt < 3; ++attempt) {
        std::u16string buffer(size, u'\0');
        const DWORD got = GetLongPathNameW(win32::wide(path), reinterpret_cast<wchar_t*>(buffer.data()), size);
        if (got < size) {
            if (got == 0) break;
            buffer.resize(got);
            return buffer;
        }
        size = got;
    }
    return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    UniqueFile owner(h);
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
