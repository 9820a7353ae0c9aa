#include "platform/sim/processes_model.h"

#include <utility>

#include "platform/sim/codepage.h"

namespace sim {
namespace {

// The text after the last "\" or "/" that is a character of its own.
std::string fileNamePart(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += charSize(path, i))
        if (path[i] == '\\' || path[i] == '/') start = i + 1;
    return path.substr(start);
}

void startImage(SimProcess& p, const std::string& imagePath) {
    p.imageName = fileNamePart(imagePath);
    p.imagePath = imagePath;
}

}  // namespace

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

uint32_t ProcessTable::addImage(const std::string& imagePath, bool canOpen, bool canTerminate) {
    const uint32_t pid = add({}, canOpen, canTerminate);
    startImage(processes_.back(), imagePath);
    return pid;
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
        if (!p.reusedByImage.empty()) startImage(p, std::exchange(p.reusedByImage, {}));
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
