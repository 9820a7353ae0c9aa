#include "platform/sync.h"

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asHandle;

static_assert(kSynchronize == SYNCHRONIZE);
static_assert(kWaitAbandoned == WAIT_ABANDONED);

void MutexTraits::close(Handle mutex) noexcept { CloseHandle(asHandle(mutex)); }

int32_t openMutexW(uint32_t access, bool inheritHandle, const std::u16string& name, UniqueMutex& mutex) {
    HANDLE h = OpenMutexW(access, inheritHandle ? TRUE : FALSE, win32::wide(name));
    if (h == nullptr) {
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? static_cast<int32_t>(error) : ERROR_INVALID_FUNCTION;
    }
    mutex.reset(h);
    return ERROR_SUCCESS;
}

}  // namespace platform
