// Process fixture over real Windows processes (under Wine in this project).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "platform/handle.h"
#include "support/proclab.h"

namespace testsupport {
namespace {

struct KernelTraits : platform::NullIsEmpty {
    static void close(platform::Handle h) noexcept { ::CloseHandle(h); }
};
using UniqueKernel = platform::UniqueHandle<KernelTraits>;

constexpr UINT kMessage = WM_APP + 1;
std::atomic<int> g_dispatched{0};

LRESULT CALLBACK countingProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == kMessage) {
        ++g_dispatched;
        return 0;
    }
    return ::DefWindowProcA(hwnd, msg, w, l);
}

std::string moduleFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

// Removes a folder and everything in it.
void removeTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE f = ::FindFirstFileA((path + "\\*").c_str(), &fd);
    if (f != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName, child = path + "\\" + name;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA(child.c_str());
            else if (name != "." && name != "..") removeTree(child);
        } while (::FindNextFileA(f, &fd));
        ::FindClose(f);
    }
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace

struct ProcessLab::Impl {
    std::string folder = moduleFolder();
    std::string scratch;
    std::map<uint32_t, UniqueKernel> started;
    HWND window = nullptr;
    std::thread poster;
    std::vector<UniqueKernel> mutexes;
    UniqueKernel releaseHeld{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread owner;
};

ProcessLab::ProcessLab() : impl_(std::make_unique<Impl>()) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    impl_->scratch = std::string(temp) + "korvalend-proclab-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(impl_->scratch.c_str(), nullptr);
    g_dispatched = 0;
}

ProcessLab::~ProcessLab() {
    joinPoster();
    releaseHeldMutex();
    for (auto& [pid, h] : impl_->started) {
        if (::WaitForSingleObject(h.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(h.get(), 1);
        ::WaitForSingleObject(h.get(), 5000);
    }
    impl_->started.clear();
    if (impl_->window) ::DestroyWindow(impl_->window);
    removeTree(impl_->scratch);
}

std::string ProcessLab::sleeperPath() const { return impl_->folder + "\\sleeper.exe"; }
std::string ProcessLab::emptyFolder() const { return impl_->scratch; }

uint64_t ProcessLab::nowMs() const {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t ProcessLab::startNamed(const std::string& imageName) { return startImage(placeImage(imageName)); }

std::string ProcessLab::placeImage(const std::string& relative) {
    const std::string path = impl_->scratch + "\\" + relative;
    for (std::size_t cut = path.find('\\', impl_->scratch.size() + 1); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
        ::CreateDirectoryA(path.substr(0, cut).c_str(), nullptr);
    if (!::CopyFileA(sleeperPath().c_str(), path.c_str(), FALSE) &&
        ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {};
    return path;
}

std::string ProcessLab::shortForm(const std::string& path) {
    char buffer[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

uint32_t ProcessLab::startImage(const std::string& path) {
    if (path.empty()) return 0;
    // CreateProcess runs an image whatever its extension; the shell would not.
    std::string cmd = "\"" + path + "\" 60000";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    ::CloseHandle(pi.hThread);
    impl_->started.emplace(pi.dwProcessId, UniqueKernel(pi.hProcess));
    return pi.dwProcessId;
}

bool ProcessLab::waitGone(uint32_t pid, uint32_t ms) {
    auto it = impl_->started.find(pid);
    if (it == impl_->started.end()) return false;
    return ::WaitForSingleObject(it->second.get(), ms) == WAIT_OBJECT_0;
}

void ProcessLab::createWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = countingProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "KorvalendProcLab";
    ::RegisterClassA(&wc);  // fails harmlessly when already registered
    impl_->window = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

void ProcessLab::postFromAnotherThread(int count, uint32_t intervalMs) {
    HWND target = impl_->window;
    impl_->poster = std::thread([target, count, intervalMs] {
        for (int i = 1; i <= count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
            ::PostMessageA(target, kMessage, static_cast<WPARAM>(i), 0);
        }
    });
}

void ProcessLab::joinPoster() {
    if (impl_->poster.joinable()) impl_->poster.join();
}

int ProcessLab::dispatchedCount() const { return g_dispatched; }
void ProcessLab::createFreeMutex(const std::u16string& name) {
    impl_->mutexes.emplace_back(::CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.c_str())));
}

void ProcessLab::holdMutex(const std::u16string& name, bool abandon) {
    UniqueKernel ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE mutex = nullptr;
    HANDLE release = impl_->releaseHeld.get();
    // Ownership belongs to a thread: another one takes it, and gives it back
    // when told, or ends at once and so abandons it.
    impl_->owner = std::thread([&mutex, &name, abandon, release, signal = ready.get()] {
        HANDLE own = ::CreateMutexW(nullptr, TRUE, reinterpret_cast<const wchar_t*>(name.c_str()));
        mutex = own;  // the caller's variables are not read past this signal
        ::SetEvent(signal);
        if (abandon) return;
        ::WaitForSingleObject(release, INFINITE);
        ::ReleaseMutex(own);
    });
    ::WaitForSingleObject(ready.get(), INFINITE);
    impl_->mutexes.emplace_back(mutex);
    if (abandon) impl_->owner.join();
}

void ProcessLab::releaseHeldMutex() {
    ::SetEvent(impl_->releaseHeld.get());
    if (impl_->owner.joinable()) impl_->owner.join();
}

bool ProcessLab::simulated() { return false; }

}  // namespace testsupport
