// Times the direct tree deletion against the command interpreter's own
// "rd /s /q" on two identical trees of 20,000 files in 2,000 folders.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fonction/deltree.h"

namespace {

constexpr int kTop = 40, kSub = 50, kFilesPerFolder = 10;  // 2,000 folders, 20,000 files

bool makeTree(const std::string& root) {
    if (!CreateDirectoryA(root.c_str(), nullptr)) return false;
    for (int t = 0; t < kTop; ++t) {
        const std::string top = root + "\\top" + std::to_string(t);
        if (!CreateDirectoryA(top.c_str(), nullptr)) return false;
        for (int s = 0; s < kSub; ++s) {
            const std::string sub = top + "\\sub" + std::to_string(s);
            if (!CreateDirectoryA(sub.c_str(), nullptr)) return false;
            for (int f = 0; f < kFilesPerFolder; ++f) {
                const std::string file = sub + "\\file" + std::to_string(f) + ".dat";
                HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
                if (h == INVALID_HANDLE_VALUE) return false;
                DWORD written = 0;
                WriteFile(h, "data", 4, &written, nullptr);
                CloseHandle(h);
            }
        }
    }
    return true;
}

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    std::string base = n > 0 && n < sizeof temp ? std::string(temp, n) : std::string("C:\\");
    if (base.back() != '\\') base.push_back('\\');
    const std::string tag = std::to_string(GetCurrentProcessId());
    const std::string ours = base + "korvalend-bench-deltree-" + tag;
    const std::string theirs = base + "korvalend-bench-rd-" + tag;

    auto t0 = std::chrono::steady_clock::now();
    if (!makeTree(ours) || !makeTree(theirs)) {
        std::fprintf(stderr, "could not create the trees\n");
        fonction::DELTREE(ours);
        fonction::DELTREE(theirs);
        return 1;
    }
    std::printf("created 2 x %d files in %d folders in %.2f s\n", kTop * kSub * kFilesPerFolder, kTop * kSub,
                seconds(std::chrono::steady_clock::now() - t0));

    t0 = std::chrono::steady_clock::now();
    const bool ok = fonction::DELTREEEX(ours, false, nullptr);
    const double deltree = seconds(std::chrono::steady_clock::now() - t0);

    const std::string command = "cmd /c rd /s /q \"" + theirs + "\"";
    t0 = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const double rd = seconds(std::chrono::steady_clock::now() - t0);

    const bool oursGone = GetFileAttributesA(ours.c_str()) == INVALID_FILE_ATTRIBUTES;
    const bool theirsGone = GetFileAttributesA(theirs.c_str()) == INVALID_FILE_ATTRIBUTES;
    std::printf("DELTREEEX: %.3f s (result %d, gone %d)\n", deltree, ok, oursGone);
    std::printf("rd /s /q:  %.3f s (exit %d, gone %d)\n", rd, rc, theirsGone);
    std::printf("ratio DELTREEEX / rd: %.2f\n", rd > 0 ? deltree / rd : 0.0);
    if (!theirsGone) fonction::DELTREE(theirs);
    return ok && oursGone ? 0 : 1;
}
