#include "platform/shell.h"

#include <cstddef>
#include <cstring>

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asHandle;

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

int32_t shellExecuteExA(ShellExecuteInfoA& info) {
    SHELLEXECUTEINFOA sei;
    static_assert(sizeof sei == sizeof info);
    std::memcpy(&sei, &info, sizeof sei);
    const BOOL ok = ShellExecuteExA(&sei);
    std::memcpy(&info, &sei, sizeof sei);
    return ok;
}

uint32_t waitForInputIdle(Handle process, uint32_t milliseconds) {
    return WaitForInputIdle(asHandle(process), milliseconds);
}

uint32_t waitForSingleObject(Handle object, uint32_t milliseconds) {
    return WaitForSingleObject(asHandle(object), milliseconds);
}

namespace {
MSG toNative(const Msg& m) {
    MSG n{};
    n.hwnd = static_cast<HWND>(m.hwnd);
    n.message = m.message;
    n.wParam = static_cast<WPARAM>(m.wParam);
    n.lParam = static_cast<LPARAM>(m.lParam);
    n.time = m.time;
    n.pt.x = m.ptX;
    n.pt.y = m.ptY;
    return n;
}
}  // namespace

int32_t peekMessageA(Msg& msg, Handle hwnd, uint32_t filterMin, uint32_t filterMax, uint32_t removeMsg) {
    MSG n{};
    const BOOL got = PeekMessageA(&n, static_cast<HWND>(hwnd), filterMin, filterMax, removeMsg);
    if (got) {
        msg.hwnd = n.hwnd;
        msg.message = n.message;
        msg.wParam = n.wParam;
        msg.lParam = n.lParam;
        msg.time = n.time;
        msg.ptX = n.pt.x;
        msg.ptY = n.pt.y;
    }
    return got;
}

int32_t translateMessage(const Msg& msg) {
    const MSG n = toNative(msg);
    return TranslateMessage(&n);
}

int64_t dispatchMessageA(const Msg& msg) {
    const MSG n = toNative(msg);
    return DispatchMessageA(&n);
}

int32_t shFileOperationA(ShFileOpStructA& op) {
    SHFILEOPSTRUCTA native;
    std::memcpy(&native, &op, sizeof native);
    const int rc = SHFileOperationA(&native);
    std::memcpy(&op, &native, sizeof native);
    return rc;
}

}  // namespace platform
