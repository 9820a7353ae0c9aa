#include "platform/sim/processes_model.h"

namespace sim {

uint32_t ProcessTable::add(std::string imageName, bool canOpen, bool canTerminate) {
    SimProcess p;
    p.pid = nextPid_;
    nextPid_ += 4;  // Windows hands out identifiers in steps of four
    p.imageName = std::move(imageName);
    p.canOpen = canOpen;
    p.canTerminate = canTerminate;
    processes_.push_back(std::move(p));
    return processes_.back().pid;
}

SimProcess* ProcessTable::find(uint32_t pid) noexcept {
    for (auto& p : processes_)
        if (p.pid == pid) return &p;
    return nullptr;
}

int ProcessTable::countRunning(const std::string& imageName) const {
    int n = 0;
    for (const auto& p : processes_)
        if (p.running && p.imageName == imageName) ++n;
    return n;
}

std::vector<SnapshotEntry> ProcessTable::takeSnapshot() {
    std::vector<SnapshotEntry> entries;
    for (auto& p : processes_) {
        if (!p.running) continue;
        entries.push_back({p.pid, p.imageName});
        if (p.exitsAfterSnapshot) {
            p.running = false;
            p.exitCode = 0;
            p.exitsAfterSnapshot = false;
        }
    }
    return entries;
}

void ProcessTable::settle(uint64_t nowMs) {
    for (auto& p : processes_)
        if (p.running && p.endsAtMs != kNeverEnds && nowMs >= p.endsAtMs) {
            p.running = false;
            p.exitCode = p.exitCodeAtEnd;
        }
}

}  // namespace sim
