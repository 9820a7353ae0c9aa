// The one header that includes <windows.h>; every file of the Windows backend
// includes it. It also absorbs MinGW-w64 quirks.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// clang-format off
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <objbase.h>
// clang-format on

#include <string>

namespace platform::win32 {

inline HKEY asKey(void* h) noexcept { return static_cast<HKEY>(h); }
inline HANDLE asHandle(void* h) noexcept { return static_cast<HANDLE>(h); }

inline const wchar_t* wide(const std::u16string& s) noexcept {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");
    return reinterpret_cast<const wchar_t*>(s.c_str());
}

}  // namespace platform::win32
