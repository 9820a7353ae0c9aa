// The shell's effects (starting a program, deleting files), in a file of
// their own: a program that never calls them (the preview) neither links nor
// imports them.
#include <cstddef>
#include <cstring>

#include "platform/backend.h"
#include "platform/win32/windows_support.h"

namespace platform {

// The portable records mirror the real ones field for field, so that the
// program's own record is what the shell receives.
static_assert(sizeof(SHELLEXECUTEINFOA) == 112, "SHELLEXECUTEINFOA is 112 bytes on 64-bit Windows");
static_assert(sizeof(ShellExecuteInfoA) == sizeof(SHELLEXECUTEINFOA));
static_assert(offsetof(ShellExecuteInfoA, lpFile) == offsetof(SHELLEXECUTEINFOA, lpFile));
static_assert(offsetof(ShellExecuteInfoA, nShow) == offsetof(SHELLEXECUTEINFOA, nShow));
static_assert(offsetof(ShellExecuteInfoA, hProcess) == offsetof(SHELLEXECUTEINFOA, hProcess));
static_assert(sizeof(ShFileOpStructA) == sizeof(SHFILEOPSTRUCTA));
static_assert(offsetof(ShFileOpStructA, fFlags) == offsetof(SHFILEOPSTRUCTA, fFlags));
static_assert(offsetof(ShFileOpStructA, lpszProgressTitle) == offsetof(SHFILEOPSTRUCTA, lpszProgressTitle));

int32_t backend::shellExecuteExA(ShellExecuteInfoA& info) {
    SHELLEXECUTEINFOA sei;
    static_assert(sizeof sei == sizeof info);
    std::memcpy(&sei, &info, sizeof sei);
    const BOOL ok = ShellExecuteExA(&sei);
    std::memcpy(&info, &sei, sizeof sei);
    return ok;
}

int32_t backend::shFileOperationA(ShFileOpStructA& op) {
    SHFILEOPSTRUCTA native;
    std::memcpy(&native, &op, sizeof native);
    const int rc = SHFileOperationA(&native);
    std::memcpy(&op, &native, sizeof native);
    return rc;
}

}  // namespace platform
