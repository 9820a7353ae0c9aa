// Shell execution, waiting, the thread's message queue (shell32, user32,
// kernel32) and the shell's file operation.
#pragma once

#include <cstdint>

#include "platform/handle.h"

namespace platform {

// SHELLEXECUTEINFOA with the field order and sizes of 64-bit Windows (112
// bytes). The Windows backend checks the layout against the real record.
struct ShellExecuteInfoA {
    uint32_t cbSize;
    uint32_t fMask;
    Handle hwnd;
    const char* lpVerb;
    const char* lpFile;
    const char* lpParameters;
    const char* lpDirectory;
    int32_t nShow;
    Handle hInstApp;
    void* lpIDList;
    const char* lpClass;
    Handle hkeyClass;
    uint32_t dwHotKey;
    Handle hIconOrMonitor;
    Handle hProcess;
};

constexpr uint32_t kSeeMaskNoCloseProcess = 0x40;
constexpr uint32_t kSeeMaskFlagDdeWait = 0x100;
constexpr uint32_t kSeeMaskDoEnvSubst = 0x200;
constexpr uint32_t kSeeMaskFlagNoUi = 0x400;
constexpr int32_t kSwShowNormal = 1;

// ShellExecuteExA; nonzero on success. With SEE_MASK_NOCLOSEPROCESS the
// started process's handle is left in hProcess (null when the shell started
// none); the caller owns it.
[[nodiscard]] int32_t shellExecuteExA(ShellExecuteInfoA& info);

// WaitForInputIdle and WaitForSingleObject on a process handle.
uint32_t waitForInputIdle(Handle process, uint32_t milliseconds);
[[nodiscard]] uint32_t waitForSingleObject(Handle object, uint32_t milliseconds);

// MSG, with portable field types.
struct Msg {
    Handle hwnd = nullptr;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    uint32_t time = 0;
    int32_t ptX = 0;
    int32_t ptY = 0;
};
constexpr uint32_t kPmRemove = 1;

[[nodiscard]] int32_t peekMessageA(Msg& msg, Handle hwnd, uint32_t filterMin, uint32_t filterMax,
                                   uint32_t removeMsg);
int32_t translateMessage(const Msg& msg);
int64_t dispatchMessageA(const Msg& msg);

// SHFILEOPSTRUCTA with the field order and sizes of 64-bit Windows.
struct ShFileOpStructA {
    Handle hwnd;
    uint32_t wFunc;
    const char* pFrom;  // double-NUL-terminated list
    const char* pTo;
    uint16_t fFlags;
    int32_t fAnyOperationsAborted;
    void* hNameMappings;
    const char* lpszProgressTitle;
};

constexpr uint32_t kFoDelete = 3;
constexpr uint16_t kFofSilent = 0x4;
constexpr uint16_t kFofNoConfirmation = 0x10;
constexpr uint16_t kFofAllowUndo = 0x40;
constexpr uint16_t kFofFilesOnly = 0x80;
constexpr uint16_t kFofNoConfirmMkdir = 0x200;
constexpr uint16_t kFofNoErrorUi = 0x400;

// SHFileOperationA; 0 on success.
[[nodiscard]] int32_t shFileOperationA(ShFileOpStructA& op);

}  // namespace platform
