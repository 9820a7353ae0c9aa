// Takes the place of the Windows Installer program in an end-to-end prefix:
// appends the parameters it received, unchanged, to C:\korvalend-msiexec.log,
// then runs the real installer (system32\msiexec-real.exe) with the same
// parameters, waits for it and returns its exit code. Its start and the drive's
// files before and after go to C:\korvalend-starts.log, its own run time to
// C:\korvalend-times.log.
//
// A scenario makes an installation fail by listing a piece of command line in
// C:\korvalend-msiexec.fail: a matching call is recorded and answered with
// 1603 (fatal error) without reaching the installer.
//
// While another process owns the Windows Installer's execution mutex, the
// call is refused with 1618 as Windows refuses it (Wine's own installer does
// not look at that mutex).
#include <string>

#include "tests/e2e/winprog.h"

namespace {

constexpr DWORD kInstallFailure = 1603;
constexpr DWORD kInstallAlreadyRunning = 1618;

bool listedAsFailing(const std::wstring& params) {
    std::wstring list = e2e::fromUtf8(e2e::readFile(e2e::kInstallerFailList));
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = list.size();
        std::wstring piece = list.substr(start, end - start);
        if (!piece.empty() && params.find(piece) != std::wstring::npos) return true;
        start = end + 1;
    }
    return false;
}

// Someone else owns the mutex now. Taken and given back at once otherwise.
bool installerBusy() {
    e2e::KernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, e2e::kInstallerMutex));
    if (!mutex) return false;
    const DWORD wait = ::WaitForSingleObject(mutex.get(), 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ::ReleaseMutex(mutex.get());
    return wait == WAIT_TIMEOUT;
}

DWORD runRealInstaller(const std::wstring& params) {
    wchar_t sysdir[MAX_PATH];
    UINT n = ::GetSystemDirectoryW(sysdir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return kInstallFailure;
    std::wstring real = std::wstring(sysdir) + L"\\msiexec-real.exe";
    std::wstring cmdline = L"\"" + real + L"\" " + params;

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(real.c_str(), cmdline.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return kInstallFailure;
    e2e::KernelHandle process(pi.hProcess);
    e2e::KernelHandle thread(pi.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = kInstallFailure;
    (void)::GetExitCodeProcess(process.get(), &code);
    return code;
}

}  // namespace

int main() {
    const double start = e2e::nowMs();
    const std::wstring params = e2e::commandTail();
    e2e::appendLine(e2e::kInstallerLog, e2e::toUtf8(params));
    e2e::logEvent("msiexec", params);
    e2e::logStart(params);
    DWORD code = kInstallAlreadyRunning;
    if (listedAsFailing(params))
        code = kInstallFailure;
    else if (!installerBusy())
        code = runRealInstaller(params);
    e2e::logEnd();
    e2e::logTimes("msiexec", start);
    return static_cast<int>(code);
}
