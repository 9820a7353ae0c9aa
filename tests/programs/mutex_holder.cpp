// Another installation, for the end-to-end scenarios: owns the Windows
// Installer's execution mutex for the given number of milliseconds, then gives
// it back and logs that in C:\korvalend-events.log.
//   mutex_holder.exe MILLISECONDS   prints "owned" once it owns the mutex
#include <cstdio>
#include <cstdlib>

#include "tests/e2e/winprog.h"

int main(int argc, char** argv) {
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : 0;
    e2e::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, e2e::kInstallerMutex));
    if (!mutex || ::WaitForSingleObject(mutex.get(), INFINITE) != WAIT_OBJECT_0) return 1;
    std::printf("owned\n");
    std::fflush(stdout);
    ::Sleep(ms);
    e2e::logEvent("mutex holder gives back", e2e::kInstallerMutex);
    ::ReleaseMutex(mutex.get());
    return 0;
}
