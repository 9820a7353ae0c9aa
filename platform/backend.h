// The wrappers a binding stands between the program and the machine: every
// effect, the waits, and the reads that must see what the binding pretends
// has happened. Each backend (win32, sim) defines them here, with raw
// handles; the public platform::X of the same name comes from the binding the
// build system links to each program: platform/direct hands every call to the
// machine, platform/plan records the effects instead of making them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/handle.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace platform::backend {

// Files. findFirstFileA answers invalidHandleValue() when nothing is found.
[[nodiscard]] uint32_t getFileAttributesA(const std::string& path);
[[nodiscard]] bool setFileAttributesA(const std::string& path, uint32_t attributes);
[[nodiscard]] bool deleteFileA(const std::string& path);
[[nodiscard]] bool removeDirectoryA(const std::string& path);
[[nodiscard]] int32_t getLastError();
[[nodiscard]] Handle findFirstFileA(const std::string& pattern, FindData& data);
[[nodiscard]] bool findNextFileA(Handle find, FindData& data);
void closeFind(Handle find) noexcept;

// Registry. `key` is set only on success.
[[nodiscard]] int32_t regOpenKeyExW(Handle parent, const std::u16string& subKey, uint32_t samDesired, Handle& key);
void closeKey(Handle key) noexcept;
[[nodiscard]] int32_t regQueryInfoKeyA(Handle key, uint32_t& subKeys, uint32_t& values);
[[nodiscard]] int32_t regEnumKeyExW(Handle key, uint32_t index, std::u16string& name);
[[nodiscard]] int32_t regQueryValueExW(Handle key, const std::u16string& valueName, uint32_t& type,
                                       std::string& data);

// Processes. openProcess answers null on failure.
[[nodiscard]] bool process32First(Handle snapshot, ProcessEntry32& entry);
[[nodiscard]] bool process32Next(Handle snapshot, ProcessEntry32& entry);
[[nodiscard]] Handle openProcess(uint32_t access, bool inheritHandle, uint32_t processId);
[[nodiscard]] int32_t terminateProcess(Handle process, uint32_t exitCode);
[[nodiscard]] bool queryFullProcessImageNameW(Handle process, std::u16string& path);
void closeProcess(Handle process) noexcept;
[[nodiscard]] bool getExitCodeProcess(Handle process, uint32_t& code);

// Shell and waits.
[[nodiscard]] int32_t shellExecuteExA(ShellExecuteInfoA& info);
uint32_t waitForInputIdle(Handle process, uint32_t milliseconds);
[[nodiscard]] uint32_t waitForSingleObject(Handle object, uint32_t milliseconds);
[[nodiscard]] int32_t shFileOperationA(ShFileOpStructA& op);

// Named mutexes: giving back the ownership a wait took.
bool releaseMutex(Handle mutex);

// The console's title (the probe sets it and puts it back) and the pauses.
[[nodiscard]] bool setConsoleTitleA(const char* title);
void sleepMs(uint32_t milliseconds);

// Special folders: whose they are depends on the account the run is for.
// `list` is set only on success; freeIdList is CoTaskMemFree.
[[nodiscard]] int32_t shGetSpecialFolderLocation(Handle owner, int32_t folder, Handle& list);
[[nodiscard]] int32_t shGetPathFromIDListW(Handle list, std::u16string& path);
void freeIdList(Handle list) noexcept;

// The Windows Installer's queries: what the preview sees of a product it
// uninstalled is not what the machine still holds.
[[nodiscard]] std::optional<int32_t> msiQueryProductStateW(const std::u16string& productCode);
[[nodiscard]] uint32_t msiGetProductInfoW(const std::u16string& productCode, const std::u16string& property,
                                          std::u16string& value);
[[nodiscard]] uint32_t msiSourceListGetInfoW(const std::u16string& productCode, const std::u16string& property,
                                             std::u16string& value);

// The run's record (platform/record.h): its folder made with an access list,
// the old record renamed, the file opened to append and written.
// createFileForAppendW answers invalidHandleValue() when it cannot open.
[[nodiscard]] bool createDirectoryWithSecurityW(const std::u16string& path, const std::u16string& sddl);
[[nodiscard]] bool moveFileExW(const std::u16string& from, const std::u16string& to, uint32_t flags);
[[nodiscard]] Handle createFileForAppendW(const std::u16string& path, bool& created);
[[nodiscard]] bool writeFile(Handle file, const std::string& bytes);
void closeAppendFile(Handle file) noexcept;

}  // namespace platform::backend
