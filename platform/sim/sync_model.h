// Named mutexes of the simulated machine, as another program holds them: owned
// until a simulated time (or for good), abandoned by an owner that ended
// without releasing it, or closed to us. Waits on them advance the clock, so a
// test's wait is instant.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace sim {

class Machine;

struct SimMutex {
    // Another program owns it until then (kNeverEnds: for good); 0: free.
    uint64_t ownedUntilMs = 0;
    // That owner ends without releasing it: the wait that takes it next
    // reports WAIT_ABANDONED.
    bool abandoned = false;
    bool accessDenied = false;  // OpenMutex is refused
    int ownedByUs = 0;          // this program's ownership, counted as Windows counts it
    int acquisitions = 0;       // how often this program took it
};

class Mutexes {
public:
    SimMutex& add(const std::u16string& name, SimMutex mutex = {});
    [[nodiscard]] SimMutex* find(const std::u16string& name) noexcept;
    // Someone (this program included) owns it at `nowMs`: what an installer
    // started then finds.
    [[nodiscard]] bool owned(const std::u16string& name, uint64_t nowMs) const;

    int openRequests = 0;  // OpenMutex calls, whatever their outcome
    int openHandles = 0;

private:
    std::map<std::u16string, SimMutex> named_;  // names compared with letter case, as Windows does
};

// WaitForSingleObject on a handle of the named mutex.
[[nodiscard]] uint32_t waitForMutex(Machine& m, const std::u16string& name, uint32_t milliseconds);

}  // namespace sim
