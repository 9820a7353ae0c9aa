#include "platform/backend.h"
#include "platform/shell.h"

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asHandle;

uint32_t backend::waitForInputIdle(Handle process, uint32_t milliseconds) {
    return WaitForInputIdle(asHandle(process), milliseconds);
}

uint32_t backend::waitForSingleObject(Handle object, uint32_t milliseconds) {
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

}  // namespace platform
