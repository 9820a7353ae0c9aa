// The preview on the usual machine (the suite, its French help pack) with 0
// and 1,000 other Uninstall entries: its time, the walks of the Uninstall key
// it makes, and the cost of each walk against a bare loop that lists the
// entries, opens each, reads its DisplayName and closes it. Then the
// compliance check on the machine with 1,000 entries: its own work in this
// process, and korvalend-plan.exe --check's wall time against a trivial
// console program's, started alike.
//   plan_winbench.exe [KORVALEND-PLAN.EXE TRIVIAL.EXE]
// The machine is made in this prefix's registry and C:\korvalbench, and
// taken away after.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/winbench.h"
#include "korvalend/program.h"
#include "platform/machine_keys.h"
#include "platform/plan/plan.h"
#include "preview/report.h"

namespace {

using winbench::kUninstall;
using winbench::median;
using winbench::seconds;
const std::wstring kSuiteCode = L"{KORVALBENCH-SUITE}";
const std::wstring kHelpCode = L"{KORVALBENCH-HELP}";
const std::wstring kVendor = L"SOFTWARE\\The Document Foundation\\LibreOffice";
const std::wstring kClasses = L"SOFTWARE\\Classes\\";

bool setValue(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = winbench::setText(key, name, text);
    RegCloseKey(key);
    return ok;
}

std::wstring other(int i) { return kUninstall + L"\\{KORVALBENCH-" + std::to_wstring(100000 + i) + L"}"; }

bool makeMachine(int others) {
    CreateDirectoryW(L"C:\\korvalbench", nullptr);
    CreateDirectoryW(L"C:\\korvalbench\\LibreOffice", nullptr);
    CreateDirectoryW(L"C:\\korvalbench\\LibreOffice\\program", nullptr);
    HANDLE f = CreateFileW(L"C:\\korvalbench\\LibreOffice\\program\\bootstrap.ini", GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    const char ini[] = "[Bootstrap]\r\nProductKey=LibreOffice 7.6\r\n";
    DWORD written = 0;
    WriteFile(f, ini, sizeof ini - 1, &written, nullptr);
    CloseHandle(f);
    bool ok = setValue(kClasses + L"com.sun.star.ServiceManager.1\\CLSID", L"",
                       L"{82154420-0FBF-11D4-8313-005004526AB4}") &&
              setValue(kClasses + L"CLSID\\{82154420-0FBF-11D4-8313-005004526AB4}", L"", L"bench") &&
              setValue(kClasses + L"AppID\\{82154420-0FBF-11d4-8313-005004526AB4}", L"", L"LibreOffice Service Manager") &&
              setValue(kVendor + L"\\7.6\\{4B17E523-5D91-4E69-BD96-7FD81CFA81BB}", L"INSTALLLOCATION",
                       L"C:\\korvalbench\\LibreOffice\\") &&
              setValue(kUninstall + L"\\" + kSuiteCode, L"DisplayName", L"LibreOffice 7.6.4.1") &&
              setValue(kUninstall + L"\\" + kSuiteCode, L"UninstallString", L"MsiExec.exe /I" + kSuiteCode) &&
              setValue(kUninstall + L"\\" + kHelpCode, L"DisplayName", L"LibreOffice 7.6 Help Pack (French)") &&
              setValue(kUninstall + L"\\" + kHelpCode, L"UninstallString", L"MsiExec.exe /I" + kHelpCode);
    for (int i = 0; ok && i < others; ++i)
        ok = setValue(other(i), L"DisplayName", L"Korvalbench Product " + std::to_wstring(i)) &&
             setValue(other(i), L"UninstallString", L"\"C:\\Bench\\" + std::to_wstring(i) + L"\\unins000.exe\"");
    return ok;
}

void removeMachine(int others) {
    for (int i = 0; i < others; ++i) RegDeleteKeyW(HKEY_LOCAL_MACHINE, other(i).c_str());
    for (const std::wstring& k : {kUninstall + L"\\" + kSuiteCode, kUninstall + L"\\" + kHelpCode,
                                  kVendor + L"\\7.6\\{4B17E523-5D91-4E69-BD96-7FD81CFA81BB}", kVendor + L"\\7.6",
                                  kVendor, kClasses + L"com.sun.star.ServiceManager.1\\CLSID",
                                  kClasses + L"com.sun.star.ServiceManager.1",
                                  kClasses + L"CLSID\\{82154420-0FBF-11D4-8313-005004526AB4}",
                                  kClasses + L"AppID\\{82154420-0FBF-11d4-8313-005004526AB4}"})
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, k.c_str());
    DeleteFileW(L"C:\\korvalbench\\LibreOffice\\program\\bootstrap.ini");
    RemoveDirectoryW(L"C:\\korvalbench\\LibreOffice\\program");
    RemoveDirectoryW(L"C:\\korvalbench\\LibreOffice");
    RemoveDirectoryW(L"C:\\korvalbench");
}

struct Measure {
    double plan = 0, loop = 0;
    std::size_t walks = 0, steps = 0;
};

Measure measure() {
    Measure m;
    std::vector<double> plans, loops;
    for (int r = 0; r < 11; ++r) {
        loops.push_back(seconds([] { (void)winbench::bareUninstallWalk(); }));
        plans.push_back(seconds([&] {
            platform::plan::Recorder plan;  // the preview's binding records here
            (void)korvalend::RUN({});
            m.steps = plan.effects.size();
            m.walks = plan.listings(platform::keys::kUninstall, false) + plan.listings(platform::keys::kUninstall, true);
        }));
    }
    m.plan = median(plans);
    m.loop = median(loops);
    return m;
}

// A program's wall time from its start to its end, median of 7.
double processMs(const std::wstring& commandLine) {
    std::vector<double> ms;
    for (int r = 0; r < 7; ++r) {
        std::wstring line = commandLine;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;  // its line goes nowhere
        PROCESS_INFORMATION pi{};
        ms.push_back(seconds([&] {
                         if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
                             return;
                         WaitForSingleObject(pi.hProcess, INFINITE);
                     }) *
                     1e3);
        if (pi.hProcess != nullptr) CloseHandle(pi.hProcess);
        if (pi.hThread != nullptr) CloseHandle(pi.hThread);
    }
    return median(ms);
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("plan_winbench: korvalend-plan's run on the usual machine, median of 11\n");
    removeMachine(1000);
    Measure base, full;
    if (!makeMachine(0)) return std::printf("could not make the machine\n"), removeMachine(0), 1;
    base = measure();
    if (!makeMachine(1000)) return std::printf("could not add the entries\n"), removeMachine(1000), 1;
    full = measure();
    // The check where the suite is installed, then where it is gone.
    struct Check {
        double own = 0, process = 0, trivial = 0;
        korvalend::TCheck answer;
    } checks[2];
    for (Check& c : checks) {
        std::vector<double> own;
        for (int r = 0; r < 11; ++r) own.push_back(seconds([&] { c.answer = korvalend::CHECKMACHINE({}, false); }));
        c.own = median(own);
        if (argc > 2) {
            const auto wide = [](const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); };
            c.process = processMs(L"\"" + wide(argv[1]) + L"\" --check");
            c.trivial = processMs(L"\"" + wide(argv[2]) + L"\" 0");
        }
        removeMachine(0);  // the suite goes, the 1000 other entries stay
    }
    removeMachine(1000);
    std::printf("%-28s %10s %10s\n", "", "+0 entries", "+1000");
    std::printf("%-28s %10.1f %10.1f\n", "plan, ms", base.plan * 1e3, full.plan * 1e3);
    std::printf("%-28s %10zu %10zu\n", "steps planned", base.steps, full.steps);
    std::printf("%-28s %10zu %10zu\n", "walks of the Uninstall key", base.walks, full.walks);
    std::printf("%-28s %10.2f %10.2f\n", "bare walk, ms", base.loop * 1e3, full.loop * 1e3);
    const double perWalk = full.walks ? (full.plan - base.plan) / static_cast<double>(full.walks) : 0;
    const double bare = full.loop - base.loop;
    std::printf("cost of one walk over 1000 more entries: %.2f ms, bare loop %.2f ms, ratio %.2f\n", perWalk * 1e3,
                bare * 1e3, bare > 0 ? perWalk / bare : 0);
    for (const Check& c : checks) {
        std::printf("--check, 1000 other entries, its own work: %.1f ms (exit %d: %s)\n", c.own * 1e3,
                    c.answer.exitCode, c.answer.line.c_str());
        if (argc > 2)
            std::printf("    as a process: %.1f ms, a trivial console program: %.1f ms, difference %.1f ms\n",
                        c.process, c.trivial, c.process - c.trivial);
    }
    return 0;
}
