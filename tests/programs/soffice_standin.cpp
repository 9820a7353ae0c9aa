// Stand-in for the suite's running process in the end-to-end scenarios.
//   (no argument)   sleep until terminated; a scenario runs a copy of this
//                   program named soffice.bin
//   --spawn PATH    start PATH as a detached process and return at once,
//                   since a host shell cannot start a file named *.bin
//   --list          print the image name, identifier and image path of every
//                   running process
#include <cstdio>
#include <string>

#include "tests/e2e/winprog.h"
// clang-format off
#include <shellapi.h>
// clang-format on

namespace {
struct ArgvTraits : platform::NullIsEmpty {
    static void close(platform::Handle h) noexcept { ::LocalFree(h); }
};
}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    platform::UniqueHandle<ArgvTraits> argvOwner(argv);
    if (!argv) return 3;
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"--list") {
        e2e::forEachProcess([](const std::wstring& name, DWORD pid) {
            std::printf("%s %lu %s\n", e2e::toUtf8(name).c_str(), static_cast<unsigned long>(pid),
                        e2e::imagePath(pid).c_str());
        });
        return 0;
    }
    if (mode == L"--spawn" && argc > 2) {
        std::wstring cmdline = L"\"" + std::wstring(argv[2]) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(argv[2], cmdline.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                              &si, &pi))
            return 1;
        e2e::KernelHandle process(pi.hProcess);
        e2e::KernelHandle thread(pi.hThread);
        // Return only once the child runs, so the caller sees it in a snapshot.
        ::WaitForInputIdle(process.get(), 2000);
        std::printf("%lu\n", static_cast<unsigned long>(pi.dwProcessId));
        return 0;
    }
    if (!mode.empty()) return 2;
    for (;;) ::Sleep(60000);
}
