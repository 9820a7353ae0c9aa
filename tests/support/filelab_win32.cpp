// Test file fixture over the real file system (kernel32).
#include <windows.h>
#include <winioctl.h>
// After <windows.h>, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <cstring>
#include <string>

#include "support/filelab.h"

namespace testsupport {
namespace {

// Removes a tree whatever its attributes; links are removed, not followed.
void removeTree(const std::string& path) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attr & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileA(path.c_str());
        return;
    }
    if ((attr & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name != "." && name != "..") removeTree(path + "\\" + name);
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
    }
    // Wine's stand-in for a junction, a Unix symbolic link, goes as a file.
    if (!RemoveDirectoryA(path.c_str())) DeleteFileA(path.c_str());
}

// Under Wine, the host path of a Windows path (kernel32's
// wine_get_unix_file_name); nothing elsewhere.
std::string unixPath(const std::string& path) {
    using Convert = char* (*)(const wchar_t*);
    const auto convert =
        reinterpret_cast<Convert>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr) return {};
    std::wstring wide(path.begin(), path.end());
    char* unix = convert(wide.c_str());
    if (unix == nullptr) return {};
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

// Starts a host program under Wine (which starts Unix executables too, but
// hands out no handle to wait on) and waits, 10 seconds at most, until DONE
// says its work is done.
template <typename Done>
bool runHost(std::string commandLine, Done done) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread != nullptr) CloseHandle(pi.hThread);
    if (pi.hProcess != nullptr) CloseHandle(pi.hProcess);
    for (int i = 0; i < 1000; ++i, Sleep(10))
        if (done()) return true;
    return false;
}

// Everyone (S-1-1-0) may write in the folder, as its access list says.
bool everyoneWrites(const std::string& path) {
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                              &sd) != ERROR_SUCCESS)
        return false;
    bool writes = false;
    for (DWORD i = 0; acl != nullptr && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(acl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        char* sid = nullptr;
        if (ConvertSidToStringSidA(&allowed->SidStart, &sid)) {
            writes = writes || (std::string(sid) == "S-1-1-0" && (allowed->Mask & FILE_ADD_FILE) != 0);
            LocalFree(sid);
        }
    }
    LocalFree(sd);
    return writes;
}

// REPARSE_DATA_BUFFER for a mount point, as FSCTL_SET_REPARSE_POINT takes it.
struct MountPointBuffer {
    DWORD tag;
    WORD length;
    WORD reserved;
    WORD substituteOffset, substituteLength, printOffset, printLength;
    WCHAR names[1024];
};

// "/unix/path" as Wine's drive Z: shows it.
std::string unixToWine(const std::string& unixPath) {
    std::string out = "Z:";
    for (char c : unixPath) out.push_back(c == '/' ? '\\' : c);
    return out;
}

}  // namespace

struct FileLab::Impl {
    std::string root;
};

FileLab::FileLab() : impl_(std::make_unique<Impl>()) {
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    std::string base = n > 0 && n < sizeof temp ? std::string(temp, n) : std::string("C:\\");
    if (base.back() != '\\') base.push_back('\\');
    static int counter = 0;
    for (;;) {
        impl_->root = base + "korvalend-fs-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(impl_->root.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

FileLab::FileLab(AtDriveRoot) : impl_(std::make_unique<Impl>()) {
    char windows[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryA(windows, sizeof windows);
    const std::string drive = n >= 2 && n < sizeof windows ? std::string(windows, 2) : std::string("C:");
    static int counter = 0;
    for (;;) {
        impl_->root = drive + "\\korvalend-fs-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(impl_->root.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

FileLab::~FileLab() { removeTree(impl_->root); }

const std::string& FileLab::root() const { return impl_->root; }

bool FileLab::addDirectory(const std::string& relative, uint32_t attributes) {
    const std::string path = impl_->root + "\\" + relative;
    if (!CreateDirectoryA(path.c_str(), nullptr)) return false;
    return attributes == 0 || SetFileAttributesA(path.c_str(), attributes);
}

bool FileLab::addFile(const std::string& relative, const std::string& content, uint32_t attributes) {
    const std::string path = impl_->root + "\\" + relative;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = content.empty() || WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return ok && (attributes == 0 || SetFileAttributesA(path.c_str(), attributes));
}

bool FileLab::addJunction(const std::string& relative, const std::string& target) {
    const std::string path = impl_->root + "\\" + relative;
    if (const std::string from = unixPath(path), to = unixPath(target); !from.empty() && !to.empty())
        return runHost("/bin/ln -s \"" + to + "\" \"" + from + "\"",
                       [&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
    if (!CreateDirectoryA(path.c_str(), nullptr)) return false;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const std::wstring print(target.begin(), target.end());
    const std::wstring substitute = L"\\??\\" + print;
    MountPointBuffer b{};
    b.tag = IO_REPARSE_TAG_MOUNT_POINT;
    b.substituteLength = static_cast<WORD>(substitute.size() * 2);
    b.printOffset = static_cast<WORD>(b.substituteLength + 2);
    b.printLength = static_cast<WORD>(print.size() * 2);
    std::memcpy(b.names, substitute.c_str(), b.substituteLength);
    std::memcpy(reinterpret_cast<char*>(b.names) + b.printOffset, print.c_str(), b.printLength);
    b.length = static_cast<WORD>(8 + b.printOffset + b.printLength + 2);
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, &b, 8 + b.length, nullptr, 0, &got, nullptr);
    CloseHandle(h);
    return ok != 0;
}

bool FileLab::openToEveryone(const std::string& relative) {
    const std::string path = impl_->root + "\\" + relative;
    if (const std::string host = unixPath(path); !host.empty())
        return runHost("/bin/chmod 0777 \"" + host + "\"", [&] { return everyoneWrites(path); });
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &sd, nullptr))
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted);
    const DWORD rc = SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                           nullptr, nullptr, acl, nullptr);
    LocalFree(sd);
    return rc == ERROR_SUCCESS;
}

std::optional<bool> FileLab::recycled(const std::string& fullPath) const {
    // Under Wine the Recycle Bin is the XDG trash; real Windows keeps its bin
    // where this fixture does not look.
    char xdg[MAX_PATH + 1] = {};
    const DWORD n = GetEnvironmentVariableA("XDG_DATA_HOME", xdg, sizeof xdg);
    if (n == 0 || n >= sizeof xdg || xdg[0] != '/') return std::nullopt;
    // The item's record names where it came from as a host path; the
    // scratch folder's name is unique, so the path below it identifies it.
    if (fullPath.compare(0, impl_->root.size(), impl_->root) != 0) return false;
    const std::size_t rootName = impl_->root.find_last_of('\\');
    std::string tail = fullPath.substr(rootName);
    for (char& c : tail)
        if (c == '\\') c = '/';
    const std::string info = unixToWine(xdg) + "\\Trash\\info\\";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((info + "*.trashinfo").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        HANDLE h = CreateFileA((info + data.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        char buffer[4096];
        DWORD got = 0;
        ReadFile(h, buffer, sizeof buffer - 1, &got, nullptr);
        CloseHandle(h);
        const std::string text(buffer, got);
        const std::size_t at = text.find("Path=");
        if (at == std::string::npos) continue;
        std::string path = text.substr(at + 5, text.find('\n', at) - at - 5);
        if (!path.empty() && path.back() == '\r') path.pop_back();
        found = path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
    } while (!found && FindNextFileA(find, &data));
    FindClose(find);
    return found;
}

bool FileLab::useCodePage(uint32_t codePage) { return GetACP() == codePage; }

bool FileLab::simulated() { return false; }

}  // namespace testsupport
