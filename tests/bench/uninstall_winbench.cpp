// The Uninstall search over 100, 1,000 and 10,000 entries, against a minimal
// loop that lists the entries, opens each, reads its DisplayName and closes
// it. The entries are created under the real Uninstall key of this prefix
// and removed afterwards.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "korvalend/uninstall_search.h"

namespace {

const wchar_t* const kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring entryName(int i) {
    wchar_t buf[64];
    swprintf(buf, 64, L"{KORVALBENCH-%05d}", i);
    return buf;
}

bool setText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool createEntries(int count) {
    for (int i = 0; i < count; ++i) {
        HKEY key = nullptr;
        const std::wstring path = std::wstring(kUninstall) + L"\\" + entryName(i);
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return false;
        // A typical entry: several values, DisplayName among them.
        const std::wstring n = std::to_wstring(i);
        bool ok = setText(key, L"DisplayIcon", L"C:\\Program Files\\Bench " + n + L"\\app.exe") &&
                  setText(key, L"DisplayName", L"Korvalbench Product " + n) &&
                  setText(key, L"DisplayVersion", L"1.0." + n) && setText(key, L"Publisher", L"Korvalbench") &&
                  setText(key, L"UninstallString", L"\"%ProgramFiles%\\Bench " + n + L"\\unins000.exe\"",
                          REG_EXPAND_SZ);
        RegCloseKey(key);
        if (!ok) return false;
    }
    return true;
}

void removeEntries(int count) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_ALL_ACCESS, &parent) != ERROR_SUCCESS) return;
    for (int i = 0; i < count; ++i) RegDeleteKeyW(parent, entryName(i).c_str());
    RegCloseKey(parent);
}

// The least a search must do: list the entries, open each, read DisplayName.
int minimalLoop() {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ, &parent) != ERROR_SUCCESS) return -1;
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
        if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
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

template <typename F>
double seconds(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace

int main() {
    std::printf("uninstall_winbench: full walks (no entry matches), median of repeats\n");
    std::printf("%8s %14s %14s %8s\n", "entries", "search us/ent", "minimal us/ent", "ratio");
    for (int count : {100, 1000, 10000}) {
        removeEntries(count);
        if (!createEntries(count)) {
            std::printf("could not create %d entries\n", count);
            removeEntries(count);
            return 1;
        }
        const int repeats = count >= 10000 ? 5 : count >= 1000 ? 11 : 31;
        int listed = 0;
        std::string result = "unset";
        // Alternated, so that load from elsewhere weighs on both alike.
        std::vector<double> minimal, search;
        for (int r = 0; r < repeats; ++r) {
            minimal.push_back(seconds([&] { listed = minimalLoop(); }));
            search.push_back(seconds([&] {
                result = korvalend::RECH_PROG("Korvalbench No Such Product", "DisplayName", "UninstallString");
            }));
        }
        removeEntries(count);
        if (!result.empty() || listed < count) {
            std::printf("unexpected: result '%s', %d entries read\n", result.c_str(), listed);
            return 1;
        }
        const double s = median(search), mn = median(minimal);
        std::printf("%8d %14.2f %14.2f %8.2f\n", count, s * 1e6 / listed, mn * 1e6 / listed, s / mn);
    }
    return 0;
}
