// Helpers shared by the small Windows programs that the end-to-end scenarios
// place in a prefix (installer shim, extension uninstaller, suite stand-in).
// Windows-only: these programs are built for the Windows build alone.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// clang-format off
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <string>

#include "platform/handle.h"

namespace e2e {

struct KernelHandleTraits : platform::NullIsEmpty {
    static void close(platform::Handle h) noexcept { ::CloseHandle(h); }
};
struct FileHandleTraits : platform::InvalidIsEmpty {
    static void close(platform::Handle h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits : platform::InvalidIsEmpty {
    static void close(platform::Handle h) noexcept { ::FindClose(h); }
};
using KernelHandle = platform::UniqueHandle<KernelHandleTraits>;
using FileHandle = platform::UniqueHandle<FileHandleTraits>;  // also a Tool Help snapshot
using FindHandle = platform::UniqueHandle<FindHandleTraits>;

// The logs the scenarios read, at fixed places of the prefix's C: drive.
inline constexpr const wchar_t* kInstallerLog = L"C:\\korvalend-msiexec.log";
inline constexpr const wchar_t* kEventLog = L"C:\\korvalend-events.log";
inline constexpr const wchar_t* kInstallerFailList = L"C:\\korvalend-msiexec.fail";
// The Windows Installer's execution mutex, as a session other than the
// service's must name it.
inline constexpr const wchar_t* kInstallerMutex = L"Global\\_MSIExecute";
// "<who> <start ms> <end ms>" per uninstaller run, on the clock of nowMs().
inline constexpr const wchar_t* kTimesLog = L"C:\\korvalend-times.log";
// Each start of an uninstaller: "begin<TAB>its own path<TAB>its parameters"
// and every path on drive C as it begins, then "end" and every path as it
// ends (one a line, after a tab). A scenario tells from it the commands the
// run started and which files the uninstallers removed, not the run.
inline constexpr const wchar_t* kStartsLog = L"C:\\korvalend-starts.log";

inline std::string toUtf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::wstring fromUtf8(const std::string& s) {
    if (s.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// Appends one line with a single write, so that lines of programs that log
// one after another never interleave.
inline void appendLine(const wchar_t* path, const std::string& line) {
    FileHandle f(::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return;
    std::string data = line + "\n";
    DWORD written = 0;
    (void)::WriteFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
}

// Milliseconds on the performance counter, which every process of the
// machine shares, so that times taken in different programs compare.
inline double nowMs() {
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Records how long an uninstaller's own run took, from its start to its end.
inline void logTimes(const std::string& who, double startMs) {
    char line[96];
    std::snprintf(line, sizeof line, " %.3f %.3f", startMs, nowMs());
    appendLine(kTimesLog, who + line);
}

// Whole file as bytes; empty when it cannot be read.
inline std::string readFile(const wchar_t* path) {
    FileHandle f(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return {};
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    return out;
}

// The parameters exactly as this process received them: the command line
// after the program token (quoted or not) and the blanks that follow it.
inline std::wstring commandTail() {
    const wchar_t* p = ::GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

// Every path below FOLDER, each on a line of its own after a tab. A directory
// link is listed, never entered, as a host listing of the drive treats it;
// so is the system folder, which holds most of the drive and nothing of the
// suite, and would make each listing several times slower.
inline void listTree(const std::wstring& folder, std::string& out) {
    static const std::wstring system = [] {
        wchar_t buffer[MAX_PATH];
        const UINT n = ::GetSystemDirectoryW(buffer, MAX_PATH);
        return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
    }();
    if (!system.empty() && ::lstrcmpiW(folder.c_str(), system.c_str()) == 0) return;
    WIN32_FIND_DATAW data;
    FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        out += "\n\t" + toUtf8(path);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            listTree(path, out);
    } while (::FindNextFileW(find.get(), &data));
}

inline std::string selfPath() {
    wchar_t self[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : toUtf8(std::wstring(self, n));
}

// The two records of an uninstaller's run in the starts log, each written at
// once, around everything the uninstaller does.
inline void logStart(const std::wstring& params) {
    std::string record = "begin\t" + selfPath() + "\t" + toUtf8(params);
    listTree(L"C:", record);
    appendLine(kStartsLog, record);
}
inline void logEnd() {
    std::string record = "end";
    listTree(L"C:", record);
    appendLine(kStartsLog, record);
}

// Image names of all running processes, in snapshot order.
template <typename Visit>
void forEachProcess(Visit visit) {
    FileHandle snap(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snap.get(), &entry); more; more = ::Process32NextW(snap.get(), &entry))
        visit(std::wstring(entry.szExeFile), entry.th32ProcessID);
}

// The full path of a process's executable (ANSI), "" when it cannot be read.
inline std::string imagePath(DWORD pid) {
    KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    char path[MAX_PATH * 4] = {};
    DWORD size = sizeof path;
    if (!process || !::QueryFullProcessImageNameA(process.get(), 0, path, &size)) return {};
    return std::string(path, size);
}

// The images of the running soffice.bin processes, ", " between them ("?"
// for one that cannot be read); "" when none runs.
inline std::string sofficeImages() {
    std::string images;
    forEachProcess([&](const std::wstring& name, DWORD pid) {
        if (::lstrcmpiW(name.c_str(), L"soffice.bin") != 0) return;
        const std::string path = imagePath(pid);
        images += (images.empty() ? "" : ", ") + (path.empty() ? std::string("?") : path);
    });
    return images;
}

// One line of the event log: who ran, with what, and which soffice.bin
// processes were still alive at that moment.
inline void logEvent(const std::string& who, const std::wstring& params) {
    const std::string images = sofficeImages();
    const std::string state = images.empty() ? "gone" : "running: " + images;
    appendLine(kEventLog, who + " " + toUtf8(params) + " | soffice.bin " + state);
}

}  // namespace e2e
