#include "platform/sim/sim_handles.h"

#include "platform/sim/machine.h"

namespace sim {
namespace {
constexpr uint32_t kMagic = 0x50524F43;  // "PROC"
}

platform::Handle newProcessHandle(uint32_t pid, uint32_t access) {
    ++current().processes.openProcessHandles;
    return new ProcessHandleInfo{kMagic, pid, access};
}

void closeProcessHandle(platform::Handle h) noexcept {
    auto* info = static_cast<ProcessHandleInfo*>(h);
    if (info == nullptr || info->magic != kMagic) return;
    info->magic = 0;
    delete info;
    --current().processes.openProcessHandles;
}

const ProcessHandleInfo* processHandleInfo(platform::Handle h) noexcept {
    auto* info = static_cast<const ProcessHandleInfo*>(h);
    if (info == nullptr || h == platform::invalidHandleValue() || info->magic != kMagic) return nullptr;
    return info;
}

}  // namespace sim
