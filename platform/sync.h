// Named mutexes (kernel32): opening one that another program created, and
// giving back the ownership a wait gave us. The wait itself is
// waitForSingleObject (platform/shell.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace platform {

struct MutexTraits : NullIsEmpty {
    static void close(Handle mutex) noexcept;  // CloseHandle
};
using UniqueMutex = UniqueHandle<MutexTraits>;

constexpr uint32_t kSynchronize = 0x00100000;
// A wait's result when the mutex's owner ended without releasing it: the
// waiter owns it now, as after WAIT_OBJECT_0.
constexpr uint32_t kWaitAbandoned = 0x80;

// OpenMutexW. 0 with `mutex` owning the handle; otherwise the error code
// (ERROR_FILE_NOT_FOUND when there is no such mutex, ERROR_ACCESS_DENIED...),
// `mutex` untouched. Names are compared with letter case.
[[nodiscard]] int32_t openMutexW(uint32_t access, bool inheritHandle, const std::u16string& name,
                                 UniqueMutex& mutex);
// ReleaseMutex; false when the caller does not own it.
bool releaseMutex(Handle mutex);

}  // namespace platform
