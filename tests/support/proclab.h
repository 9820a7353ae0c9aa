// Test-only process and message fixture for the contract tests: programs to
// launch, processes with chosen image names, a window of the calling thread
// that another thread posts to. On the simulated build it owns a fresh machine
// and registers stand-ins there; on Windows it works with real processes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace testsupport {

class ProcessLab {
public:
    ProcessLab();
    ~ProcessLab();  // terminates every process it started that still runs
    ProcessLab(const ProcessLab&) = delete;
    ProcessLab& operator=(const ProcessLab&) = delete;

    // A program taking "<milliseconds> [exit code]": it runs that long and
    // exits with that code.
    [[nodiscard]] std::string sleeperPath() const;
    // A folder that holds no program at all.
    [[nodiscard]] std::string emptyFolder() const;
    // Milliseconds on the clock that launches and waits advance.
    [[nodiscard]] uint64_t nowMs() const;

    // Starts a process that sleeps for a minute, with exactly this image name
    // (a file name such as "Soffice.Bin"). Returns its identifier, 0 on failure.
    uint32_t startNamed(const std::string& imageName);
    // The same program placed at RELATIVE (folders made) below a scratch
    // folder: its full path, "" on failure; and started from a full path.
    std::string placeImage(const std::string& relative);
    uint32_t startImage(const std::string& path);
    // The path as its short (8.3) names spell it, "" when it has none.
    [[nodiscard]] std::string shortForm(const std::string& path);
    // Waits up to `ms` for the process to have ended; true when it has.
    bool waitGone(uint32_t pid, uint32_t ms);

    // A window of the calling thread; posting to it from another thread.
    void createWindow();
    // Posts `count` messages, one every `intervalMs`, from another thread
    // (on the simulated build: at those times during the next wait).
    void postFromAnotherThread(int count, uint32_t intervalMs);
    void joinPoster();
    [[nodiscard]] int dispatchedCount() const;

    // Named mutexes of the machine. A free one exists and nobody owns it; a
    // held one is owned by someone else (another thread; on the simulated
    // build, another program) until releaseHeldMutex(), or, with ABANDON,
    // its owner has ended without releasing it. All go with the lab.
    void createFreeMutex(const std::u16string& name);
    void holdMutex(const std::u16string& name, bool abandon);
    void releaseHeldMutex();

    [[nodiscard]] static bool simulated();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace testsupport
