// The named-mutex model and its wrappers over the simulated machine.
#include "platform/sync.h"

#include "platform/backend.h"

#include "platform/sim/machine.h"
#include "platform/sim/sim_handles.h"
#include "platform/wintypes.h"

namespace sim {

SimMutex& Mutexes::add(const std::u16string& name, SimMutex mutex) { return named_[name] = mutex; }

SimMutex* Mutexes::find(const std::u16string& name) noexcept {
    auto it = named_.find(name);
    return it == named_.end() ? nullptr : &it->second;
}

bool Mutexes::owned(const std::u16string& name, uint64_t nowMs) const {
    auto it = named_.find(name);
    return it != named_.end() && (it->second.ownedByUs > 0 || nowMs < it->second.ownedUntilMs);
}

uint32_t waitForMutex(Machine& m, const std::u16string& name, uint32_t milliseconds) {
    SimMutex* mutex = m.mutexes.find(name);
    if (mutex == nullptr) return platform::kWaitFailed;
    if (mutex->ownedByUs == 0 && m.nowMs < mutex->ownedUntilMs) {
        const uint64_t left = mutex->ownedUntilMs - m.nowMs;
        if (mutex->ownedUntilMs == kNeverEnds || (milliseconds != platform::kInfinite && milliseconds < left)) {
            // An endless wait on a mutex nobody gives back would hang the test.
            if (milliseconds == platform::kInfinite) return platform::kWaitFailed;
            m.advance(milliseconds);
            return platform::kWaitTimeout;
        }
        m.advance(left);
    }
    if (mutex->ownedByUs++ == 0) ++mutex->acquisitions;
    if (mutex->abandoned) {
        mutex->abandoned = false;
        return platform::kWaitAbandoned;
    }
    return platform::kWaitObject0;
}

}  // namespace sim

namespace platform {

void MutexTraits::close(Handle mutex) noexcept { sim::closeMutexHandle(mutex); }

int32_t openMutexW(uint32_t access, bool inheritHandle, const std::u16string& name, UniqueMutex& mutex) {
    (void)access;
    (void)inheritHandle;
    auto& m = sim::current();
    ++m.mutexes.openRequests;
    const sim::SimMutex* found = m.mutexes.find(name);
    if (found == nullptr) return kErrorFileNotFound;
    if (found->accessDenied) return kErrorAccessDenied;
    mutex.reset(sim::newMutexHandle(name));
    return kErrorSuccess;
}

bool backend::releaseMutex(Handle mutex) {
    const sim::MutexHandleInfo* h = sim::mutexHandleInfo(mutex);
    sim::SimMutex* found = h == nullptr ? nullptr : sim::current().mutexes.find(h->name);
    if (found == nullptr || found->ownedByUs == 0) return false;
    --found->ownedByUs;
    return true;
}

}  // namespace platform
