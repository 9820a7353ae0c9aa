// Test file fixture over the real file system (kernel32).
#include <windows.h>

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
    RemoveDirectoryA(path.c_str());
}

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
