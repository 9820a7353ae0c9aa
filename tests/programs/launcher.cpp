// Starts a program, waits for it and prints its whole exit code and its wall
// time: a Unix exit status keeps only the low 8 bits of a Windows exit code
// (1603 would read as 67).
//   launcher.exe PROGRAM [ARGUMENTS...]   prints "exit <code>" and "wall_ms <ms>"
// The program's command line is this one's, less the launcher's own token.
#include <cstdio>
#include <string>

#include "tests/e2e/winprog.h"

int main() {
    std::wstring commandLine = e2e::commandTail();
    if (commandLine.empty()) return 2;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = e2e::nowMs();
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("launch failed %lu\n", static_cast<unsigned long>(::GetLastError()));
        return 3;
    }
    e2e::KernelHandle process(pi.hProcess);
    e2e::KernelHandle thread(pi.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    const double end = e2e::nowMs();
    DWORD code = 0;
    if (!::GetExitCodeProcess(process.get(), &code)) return 4;
    std::printf("exit %lu\nwall_ms %.3f\n", static_cast<unsigned long>(code), end - start);
    return 0;
}
