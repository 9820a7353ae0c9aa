// The binding of korvalend.exe and of every test but the preview's: each
// wrapper hands its call to the machine's backend unchanged.
#include "platform/backend.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/msi.h"
#include "platform/processes.h"
#include "platform/record.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sync.h"

namespace platform {

uint32_t getFileAttributesA(const std::string& path) { return backend::getFileAttributesA(path); }
bool setFileAttributesA(const std::string& path, uint32_t attributes) {
    return backend::setFileAttributesA(path, attributes);
}
bool deleteFileA(const std::string& path) { return backend::deleteFileA(path); }
bool removeDirectoryA(const std::string& path) { return backend::removeDirectoryA(path); }
int32_t getLastError() { return backend::getLastError(); }
UniqueFind findFirstFileA(const std::string& pattern, FindData& data) {
    return UniqueFind(backend::findFirstFileA(pattern, data));
}
bool findNextFileA(Handle find, FindData& data) { return backend::findNextFileA(find, data); }
void FindTraits::close(Handle find) noexcept { backend::closeFind(find); }

int32_t regOpenKeyExW(Handle parent, const std::u16string& subKey, uint32_t samDesired, UniqueKey& result) {
    Handle key = nullptr;
    const int32_t rc = backend::regOpenKeyExW(parent, subKey, samDesired, key);
    if (rc == 0) result.reset(key);
    return rc;
}
void KeyTraits::close(Handle key) noexcept { backend::closeKey(key); }
int32_t regQueryInfoKeyA(Handle key, uint32_t& subKeys, uint32_t& values) {
    return backend::regQueryInfoKeyA(key, subKeys, values);
}
int32_t regEnumKeyExW(Handle key, uint32_t index, std::u16string& name) {
    return backend::regEnumKeyExW(key, index, name);
}
int32_t regQueryValueExW(Handle key, const std::u16string& valueName, uint32_t& type, std::string& data) {
    return backend::regQueryValueExW(key, valueName, type, data);
}

bool process32First(Handle snapshot, ProcessEntry32& entry) { return backend::process32First(snapshot, entry); }
bool process32Next(Handle snapshot, ProcessEntry32& entry) { return backend::process32Next(snapshot, entry); }
UniqueProcess openProcess(uint32_t access, bool inheritHandle, uint32_t processId) {
    return UniqueProcess(backend::openProcess(access, inheritHandle, processId));
}
int32_t terminateProcess(Handle process, uint32_t exitCode) { return backend::terminateProcess(process, exitCode); }
bool queryFullProcessImageNameW(Handle process, std::u16string& path) {
    return backend::queryFullProcessImageNameW(process, path);
}
void ProcessTraits::close(Handle process) noexcept { backend::closeProcess(process); }
bool getExitCodeProcess(Handle process, uint32_t& code) { return backend::getExitCodeProcess(process, code); }

int32_t shellExecuteExA(ShellExecuteInfoA& info) { return backend::shellExecuteExA(info); }
uint32_t waitForInputIdle(Handle process, uint32_t milliseconds) {
    return backend::waitForInputIdle(process, milliseconds);
}
uint32_t waitForSingleObject(Handle object, uint32_t milliseconds) {
    return backend::waitForSingleObject(object, milliseconds);
}
int32_t shFileOperationA(ShFileOpStructA& op) { return backend::shFileOperationA(op); }

bool releaseMutex(Handle mutex) { return backend::releaseMutex(mutex); }

bool setConsoleTitleA(const char* title) { return backend::setConsoleTitleA(title); }
void sleepMs(uint32_t milliseconds) { backend::sleepMs(milliseconds); }

int32_t shGetSpecialFolderLocation(Handle owner, int32_t folder, UniqueIdList& list) {
    Handle found = nullptr;
    const int32_t hr = backend::shGetSpecialFolderLocation(owner, folder, found);
    if (hr >= 0) list.reset(found);
    return hr;
}
int32_t shGetPathFromIDListW(Handle list, std::u16string& path) { return backend::shGetPathFromIDListW(list, path); }
void IdListTraits::close(Handle list) noexcept { backend::freeIdList(list); }

std::optional<int32_t> msiQueryProductStateW(const std::u16string& productCode) {
    return backend::msiQueryProductStateW(productCode);
}
uint32_t msiGetProductInfoW(const std::u16string& productCode, const std::u16string& property, std::u16string& value) {
    return backend::msiGetProductInfoW(productCode, property, value);
}
uint32_t msiSourceListGetInfoW(const std::u16string& productCode, const std::u16string& property,
                               std::u16string& value) {
    return backend::msiSourceListGetInfoW(productCode, property, value);
}

bool createDirectoryWithSecurityW(const std::u16string& path, const std::u16string& sddl) {
    return backend::createDirectoryWithSecurityW(path, sddl);
}
bool moveFileExW(const std::u16string& from, const std::u16string& to, uint32_t flags) {
    return backend::moveFileExW(from, to, flags);
}
UniqueAppendFile createFileForAppendW(const std::u16string& path, bool& created) {
    return UniqueAppendFile(backend::createFileForAppendW(path, created));
}
bool writeFile(Handle file, const std::string& bytes) { return backend::writeFile(file, bytes); }
void AppendFileTraits::close(Handle file) noexcept { backend::closeAppendFile(file); }

}  // namespace platform
