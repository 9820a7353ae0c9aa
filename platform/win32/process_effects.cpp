// Process termination, in a file of its own: a program that never calls it
// (the preview) neither links nor imports it.
#include "platform/backend.h"
#include "platform/win32/windows_support.h"

namespace platform {

int32_t backend::terminateProcess(Handle process, uint32_t exitCode) {
    return TerminateProcess(win32::asHandle(process), exitCode);
}

}  // namespace platform
