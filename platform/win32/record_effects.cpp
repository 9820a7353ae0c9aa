// The run's record's effects, in a file of their own: the preview never calls
// them, so it neither links nor imports CreateDirectoryW or MoveFileExW.
#include "platform/backend.h"
#include "platform/handle.h"
#include "platform/win32/windows_support.h"
// After <windows.h>, which it needs.
#include <sddl.h>

namespace platform {
namespace {

struct LocalTraits : NullIsEmpty {
    static void close(Handle memory) noexcept { LocalFree(memory); }
};
using UniqueLocal = UniqueHandle<LocalTraits>;

}  // namespace

bool backend::createDirectoryWithSecurityW(const std::u16string& path, const std::u16string& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(win32::wide(sddl), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    const UniqueLocal owned(descriptor);
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = descriptor;
    attributes.bInheritHandle = FALSE;
    const BOOL made = CreateDirectoryW(win32::wide(path), &attributes);
    // LocalFree may reset the last error: keep CreateDirectoryW's.
    const DWORD error = GetLastError();
    if (made) return true;
    SetLastError(error);
    return false;
}

bool backend::moveFileExW(const std::u16string& from, const std::u16string& to, uint32_t flags) {
    return MoveFileExW(win32::wide(from), win32::wide(to), flags) != 0;
}

Handle backend::createFileForAppendW(const std::u16string& path, bool& created) {
    HANDLE h = CreateFileW(win32::wide(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    created = h != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
    return h;
}

bool backend::writeFile(Handle file, const std::string& bytes) {
    if (bytes.size() > 0xFFFFFFFFu) return false;
    DWORD written = 0;
    if (!WriteFile(win32::asHandle(file), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return false;
    return written == bytes.size();
}

void backend::closeAppendFile(Handle file) noexcept { CloseHandle(win32::asHandle(file)); }

}  // namespace platform
