#include "platform/sim/sim_handles.h"

#include <cstring>

#include "platform/sim/machine.h"

namespace sim {
namespace {
constexpr uint32_t kProcessMagic = 0x50524F43;  // "PROC"
constexpr uint32_t kMutexMagic = 0x4D555458;    // "MUTX"

// The kind of a live handle of ours: its first four bytes.
bool isKind(platform::Handle h, uint32_t magic) noexcept {
    if (h == nullptr || h == platform::invalidHandleValue()) return false;
    uint32_t found = 0;
    std::memcpy(&found, h, sizeof found);
    return found == magic;
}

// Frees a live handle of the kind and counts it closed; ignores anything else.
template <typename Info>
void release(platform::Handle h, uint32_t magic, int& open) noexcept {
    if (!isKind(h, magic)) return;
    auto* info = static_cast<Info*>(h);
    info->magic = 0;
    delete info;
    --open;
}
}  // namespace

platform::Handle newProcessHandle(uint32_t pid, uint32_t access) {
    ++current().processes.openProcessHandles;
    return new ProcessHandleInfo{kProcessMagic, pid, access};
}

void closeProcessHandle(platform::Handle h) noexcept {
    release<ProcessHandleInfo>(h, kProcessMagic, current().processes.openProcessHandles);
}

const ProcessHandleInfo* processHandleInfo(platform::Handle h) noexcept {
    return isKind(h, kProcessMagic) ? static_cast<const ProcessHandleInfo*>(h) : nullptr;
}

platform::Handle newMutexHandle(const std::u16string& name) {
    ++current().mutexes.openHandles;
    return new MutexHandleInfo{kMutexMagic, name};
}

void closeMutexHandle(platform::Handle h) noexcept {
    release<MutexHandleInfo>(h, kMutexMagic, current().mutexes.openHandles);
}

const MutexHandleInfo* mutexHandleInfo(platform::Handle h) noexcept {
    return isKind(h, kMutexMagic) ? static_cast<const MutexHandleInfo*>(h) : nullptr;
}

}  // namespace sim
