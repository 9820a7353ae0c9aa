// The process wrappers over the simulated process table.
#include "platform/backend.h"
#include "platform/processes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sim/machine.h"
#include "platform/sim/sim_handles.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

struct Snapshot {
    std::vector<sim::SnapshotEntry> entries;
    std::size_t next = 0;
};

bool fill(Handle snapshot, ProcessEntry32& entry, bool first) {
    if (snapshot == nullptr || snapshot == invalidHandleValue()) return false;
    if (entry.dwSize != kProcessEntry32Size) return false;
    auto* s = static_cast<Snapshot*>(snapshot);
    if (first) s->next = 0;
    if (s->next >= s->entries.size()) return false;
    const auto& e = s->entries[s->next++];
    entry.th32ProcessID = e.pid;
    entry.szExeFile.fill('\0');
    // szExeFile holds 260 bytes; a name of exactly 260 has no terminator.
    std::memcpy(entry.szExeFile.data(), e.imageName.data(), std::min(e.imageName.size(), entry.szExeFile.size()));
    return true;
}

}  // namespace

void SnapshotTraits::close(Handle h) noexcept {
    delete static_cast<Snapshot*>(h);
    --sim::current().processes.openSnapshots;
}

void backend::closeProcess(Handle h) noexcept { sim::closeProcessHandle(h); }

UniqueSnapshot createToolhelp32Snapshot(uint32_t flags, uint32_t processId) {
    (void)processId;  // ignored for a process snapshot, as on Windows
    auto& table = sim::current().processes;
    table.settle(sim::current().nowMs);
    if (table.snapshotFails || (flags & kTh32csSnapProcess) == 0) return UniqueSnapshot();
    auto* s = new Snapshot{table.takeSnapshot(), 0};
    ++table.openSnapshots;
    return UniqueSnapshot(s);
}

bool backend::process32First(Handle snapshot, ProcessEntry32& entry) { return fill(snapshot, entry, true); }
bool backend::process32Next(Handle snapshot, ProcessEntry32& entry) { return fill(snapshot, entry, false); }

Handle backend::openProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
    (void)inheritHandle;
    auto& m = sim::current();
    m.processes.settle(m.nowMs);
    m.processes.openRequests.push_back(processId);
    const sim::SimProcess* p = m.processes.find(processId);
    // A process that has exited is gone: its identifier no longer opens.
    if (p == nullptr || !p->running || !p->canOpen) {
        m.files.lastError = p == nullptr || !p->running ? kErrorInvalidParameter : kErrorAccessDenied;
        return nullptr;
    }
    return sim::newProcessHandle(processId, access);
}

int32_t backend::terminateProcess(Handle process, uint32_t exitCode) {
    auto& m = sim::current();
    m.processes.settle(m.nowMs);
    const sim::ProcessHandleInfo* h = sim::processHandleInfo(process);
    if (h == nullptr) return 0;
    m.processes.terminateRequests.push_back(h->pid);
    if ((h->access & kProcessTerminate) == 0) return 0;
    sim::SimProcess* p = m.processes.find(h->pid);
    if (p == nullptr || !p->running || !p->canTerminate) return 0;
    p->running = false;
    p->terminated = true;
    p->exitCode = exitCode;
    return 1;
}

bool backend::queryFullProcessImageNameW(Handle process, std::u16string& path) {
    auto& m = sim::current();
    const sim::ProcessHandleInfo* h = sim::processHandleInfo(process);
    const sim::SimProcess* p = h == nullptr ? nullptr : m.processes.find(h->pid);
    constexpr uint32_t kProcessQueryInformation = 0x400;  // includes the limited right
    if (p == nullptr || (h->access & (kProcessQueryLimitedInformation | kProcessQueryInformation)) == 0 ||
        p->imagePath.empty()) {
        m.files.lastError = p == nullptr ? kErrorInvalidHandle : kErrorAccessDenied;
        return false;
    }
    path = ansiToWide(p->imagePath);
    return true;
}

bool backend::getExitCodeProcess(Handle process, uint32_t& code) {
    auto& m = sim::current();
    m.processes.settle(m.nowMs);
    const sim::ProcessHandleInfo* h = sim::processHandleInfo(process);
    const sim::SimProcess* p = h == nullptr ? nullptr : m.processes.find(h->pid);
    if (p == nullptr) return false;
    code = p->exitCode;
    return true;
}

}  // namespace platform
