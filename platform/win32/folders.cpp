#include "platform/backend.h"
#include "platform/folders.h"

#include "platform/win32/windows_support.h"

namespace platform {

void backend::freeIdList(Handle list) noexcept { CoTaskMemFree(list); }

uint32_t getSystemDirectoryA(char* buffer, uint32_t size) { return GetSystemDirectoryA(buffer, size); }

int32_t backend::shGetSpecialFolderLocation(Handle owner, int32_t folder, Handle& list) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    const HRESULT hr = SHGetSpecialFolderLocation(static_cast<HWND>(owner), folder, &pidl);
    if (SUCCEEDED(hr)) list = pidl;
    return hr;
}

int32_t backend::shGetPathFromIDListW(Handle list, std::u16string& path) {
    wchar_t buffer[MAX_PATH] = {};
    const BOOL ok = SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(list), buffer);
    if (ok) path.assign(reinterpret_cast<const char16_t*>(buffer));
    return ok;
}

}  // namespace platform
