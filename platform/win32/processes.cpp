#include "platform/backend.h"
#include "platform/processes.h"

#include <cstring>

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asHandle;

static_assert(sizeof(PROCESSENTRY32) == kProcessEntry32Size, "PROCESSENTRY32 is 304 bytes on 64-bit Windows");
static_assert(sizeof(PROCESSENTRY32::szExeFile) == 260);

void SnapshotTraits::close(Handle h) noexcept { CloseHandle(asHandle(h)); }
void backend::closeProcess(Handle h) noexcept { CloseHandle(asHandle(h)); }

UniqueSnapshot createToolhelp32Snapshot(uint32_t flags, uint32_t processId) {
    return UniqueSnapshot(CreateToolhelp32Snapshot(flags, processId));
}

namespace {
template <typename Step>
bool walk(Step step, Handle snapshot, ProcessEntry32& entry) {
    PROCESSENTRY32 pe;
    std::memset(&pe, 0, sizeof pe);
    pe.dwSize = entry.dwSize;
    if (!step(asHandle(snapshot), &pe)) return false;
    entry.th32ProcessID = pe.th32ProcessID;
    std::memcpy(entry.szExeFile.data(), pe.szExeFile, entry.szExeFile.size());
    return true;
}
}  // namespace

bool backend::process32First(Handle snapshot, ProcessEntry32& entry) { return walk(Process32First, snapshot, entry); }
bool backend::process32Next(Handle snapshot, ProcessEntry32& entry) { return walk(Process32Next, snapshot, entry); }

Handle backend::openProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
    return OpenProcess(access, inheritHandle ? TRUE : FALSE, processId);
}

bool backend::queryFullProcessImageNameW(Handle process, std::u16string& path) {
    // An image path may be longer than MAX_PATH: this is the longest Windows has.
    std::u16string buffer(32768, u'\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!QueryFullProcessImageNameW(asHandle(process), 0, reinterpret_cast<wchar_t*>(buffer.data()), &size))
        return false;
    buffer.resize(size);
    path = std::move(buffer);
    return true;
}

bool backend::getExitCodeProcess(Handle process, uint32_t& code) {
    DWORD value = 0;
    if (!GetExitCodeProcess(asHandle(process), &value)) return false;
    code = value;
    return true;
}

}  // namespace platform
