// The Uninstall search over 100, 1,000 and 10,000 entries of each registry
// view, against a minimal loop that lists the entries of that view, opens
// each, reads its DisplayName and closes it. The entries are created under
// the real Uninstall key of this prefix (native or 32-bit view) and removed
// afterwards.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/winbench.h"
#include "korvalend/uninstall_search.h"

namespace {

using winbench::kUninstall;
using winbench::median;
using winbench::seconds;
using winbench::setText;

std::wstring entryName(int i) {
    wchar_t buf[64];
    swprintf(buf, 64, L"{KORVALBENCH-%05d}", i);
    return buf;
}

bool createEntries(int count, REGSAM view) {
    for (int i = 0; i < count; ++i) {
        HKEY key = nullptr;
        const std::wstring path = kUninstall + L"\\" + entryName(i);
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
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

void removeEntries(int count, REGSAM view) {
    HKEY parent = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall.c_str(), 0, KEY_ALL_ACCESS | view, &parent) != ERROR_SUCCESS) return;
    for (int i = 0; i < count; ++i) RegDeleteKeyW(parent, entryName(i).c_str());
    RegCloseKey(parent);
}

}  // namespace

int main() {
    std::printf("uninstall_winbench: full walks (no entry matches), median of repeats\n");
    std::printf("%7s %8s %14s %14s %8s\n", "view", "entries", "search us/ent", "minimal us/ent", "ratio");
    for (const auto& [view, sam] : {std::pair{korvalend::TRegistryView::Native, REGSAM{0}},
                                    std::pair{korvalend::TRegistryView::Wow32, REGSAM{KEY_WOW64_32KEY}}}) {
        for (int count : {100, 1000, 10000}) {
            removeEntries(count, sam);
            if (!createEntries(count, sam)) {
                std::printf("could not create %d entries\n", count);
                removeEntries(count, sam);
                return 1;
            }
            const int repeats = count >= 10000 ? 5 : count >= 1000 ? 11 : 31;
            int listed = 0;
            int matched = -1;
            // Alternated, so that load from elsewhere weighs on both alike.
            std::vector<double> minimal, search;
            for (int r = 0; r < repeats; ++r) {
                minimal.push_back(seconds([&] { listed = winbench::bareUninstallWalk(sam); }));
                search.push_back(seconds([&] {
                    matched = 0;
                    korvalend::WALKUNINSTALLENTRIES(
                        "DisplayName",
                        [](const std::string& text) { return text.rfind("Korvalbench No Such Product", 0) == 0; },
                        [&](const korvalend::TUninstallEntry&) { return ++matched, false; }, view);
                }));
            }
            removeEntries(count, sam);
            if (matched != 0 || listed < count) {
                std::printf("unexpected: %d matched, %d entries read\n", matched, listed);
                return 1;
            }
            const double s = median(search), mn = median(minimal);
            std::printf("%7s %8d %14.2f %14.2f %8.2f\n", korvalend::VIEWNAME(view), count, s * 1e6 / listed,
                        mn * 1e6 / listed, s / mn);
        }
    }
    return 0;
}
