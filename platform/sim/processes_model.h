// The simulated process table: image names, identifiers, whether a process
// may be opened and terminated, and whether it still runs. A snapshot copies
// the running processes at one instant; the table goes on changing after it.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace sim {

constexpr uint32_t kStillActive = 259;
constexpr uint64_t kNeverEnds = std::numeric_limits<uint64_t>::max();

struct SimProcess {
    uint32_t pid = 0;
    std::string imageName;  // as szExeFile shows it (bytes, may be 260 long)
    // The executable's full path (ANSI) as QueryFullProcessImageName gives it;
    // empty: the image cannot be read (access denied, as for a protected process).
    std::string imagePath;
    bool canOpen = true;        // false: OpenProcess is refused (another user's)
    bool canTerminate = true;   // false: TerminateProcess fails (protected)
    bool running = true;
    uint32_t exitCode = kStillActive;
    // Exits right after the next snapshot that lists it, before anyone can open it.
    bool exitsAfterSnapshot = false;
    // Set: right after the next snapshot that lists it, it exits and another
    // program, of this image path, starts under its identifier.
    std::string reusedByImage;
    // Simulated time at which a launched program ends by itself.
    uint64_t endsAtMs = kNeverEnds;
    uint32_t exitCodeAtEnd = 0;  // the exit code it ends with by itself
    uint64_t idleAtMs = 0;  // when WaitForInputIdle returns for it
    bool terminated = false;  // ended by TerminateProcess
    bool waitFails = false;   // waits on it fail while it runs
};

// One snapshot entry: what Process32First/Next report.
struct SnapshotEntry {
    uint32_t pid = 0;
    std::string imageName;
};

class ProcessTable {
public:
    // Adds a running process and returns its identifier.
    uint32_t add(std::string imageName, bool canOpen = true, bool canTerminate = true);
    // The same for a program started from IMAGEPATH: its image name is the
    // path's file-name part.
    uint32_t addImage(const std::string& imagePath, bool canOpen = true, bool canTerminate = true);
    [[nodiscard]] SimProcess* find(uint32_t pid) noexcept;
    [[nodiscard]] const std::vector<SimProcess>& all() const noexcept { return processes_; }
    [[nodiscard]] std::vector<SimProcess>& all() noexcept { return processes_; }
    // The running processes whose image name equals `imageName` exactly.
    [[nodiscard]] int countRunning(const std::string& imageName) const;

    // Copies the running processes (the snapshot's content) and lets those
    // marked so exit at once afterwards.
    [[nodiscard]] std::vector<SnapshotEntry> takeSnapshot();

    // Moves every launched process whose end time has come to the exited state.
    void settle(uint64_t nowMs);

    // CreateToolhelp32Snapshot fails when set.
    bool snapshotFails = false;

    // Bookkeeping for tests: handles open now (snapshots and processes), and
    // the identifiers passed to OpenProcess and TerminateProcess, in order.
    int openSnapshots = 0;
    int openProcessHandles = 0;
    [[nodiscard]] int openHandles() const noexcept { return openSnapshots + openProcessHandles; }
    std::vector<uint32_t> openRequests;
    std::vector<uint32_t> terminateRequests;

private:
    std::vector<SimProcess> processes_;
    uint32_t nextPid_ = 1000;
};

}  // namespace sim
