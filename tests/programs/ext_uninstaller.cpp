// An extension's uninstaller for the end-to-end scenarios. Its Uninstall
// entry is named after its own file name (C:\ext\LOExtDict.exe owns
// ...\Uninstall\LOExtDict); the registered command is the bare path, so the
// program cannot take its identity from arguments. Run with /verysilent it
// deletes that entry; any other argument leaves it. Either way it records
// the call in C:\korvalend-events.log, its start and the drive's files
// around its work in C:\korvalend-starts.log, and its run time in
// C:\korvalend-times.log.
#include <string>

#include "tests/e2e/winprog.h"

namespace {

int uninstall(const std::wstring& params) {
    wchar_t self[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    std::wstring path(self, n);
    size_t slash = path.find_last_of(L"\\/");
    std::wstring stem = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    size_t dot = stem.find_last_of(L'.');
    if (dot != std::wstring::npos) stem.resize(dot);

    e2e::logEvent("extension " + e2e::toUtf8(stem), params);
    if (params != L"/verysilent") return 2;

    std::wstring key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + stem;
    LSTATUS rc = ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
    return rc == ERROR_SUCCESS ? 0 : 3;
}

}  // namespace

int main() {
    const double start = e2e::nowMs();
    const std::wstring params = e2e::commandTail();
    e2e::logStart(params);
    const int code = uninstall(params);
    e2e::logEnd();
    e2e::logTimes("extension", start);
    return code;
}
