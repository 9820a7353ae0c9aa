// What the Windows timing harnesses share: the clock, the median, writing a
// text value, and the bare walk of the Uninstall key a search is held to.
#pragma once

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/windows_support.h"

namespace winbench {

inline const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

template <typename F>
double seconds(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

inline bool setText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The least a search must do: list the entries, open each, read its
// DisplayName. Answers how many had one, -1 when the key cannot be opened.
// VIEW is 0 for the native view, KEY_WOW64_32KEY for the 32-bit one.
inline int bareUninstallWalk(REGSAM view = 0) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall.c_str(), 0, KEY_READ | view, &parent) != ERROR_SUCCESS) return -1;
    DWORD subKeys = 0;
    RegQueryInfoKeyA(parent, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    std::vector<std::wstring> names;
    for (DWORD i = 0; i < subKeys; ++i) {
        wchar_t name[256];
        DWORD len = 256;
        if (RegEnumKeyExW(parent, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, len);
    }
    int found = 0;
    for (const auto& name : names) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) continue;
        wchar_t text[512];
        DWORD size = sizeof text;
        DWORD type = 0;
        if (RegQueryValueExW(key, L"DisplayName", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS)
            ++found;
        RegCloseKey(key);
    }
    RegCloseKey(parent);
    return found;
}

}  // namespace winbench
