#include "platform/backend.h"
#include "platform/registry.h"

#include "platform/win32/windows_support.h"

namespace platform {

using win32::asKey;
using win32::wide;

void backend::closeKey(Handle key) noexcept { RegCloseKey(asKey(key)); }

Handle hkeyClassesRoot() noexcept { return HKEY_CLASSES_ROOT; }
Handle hkeyCurrentUser() noexcept { return HKEY_CURRENT_USER; }
Handle hkeyLocalMachine() noexcept { return HKEY_LOCAL_MACHINE; }
Handle hkeyUsers() noexcept { return HKEY_USERS; }

int32_t backend::regOpenKeyExW(Handle parent, const std::u16string& subKey, uint32_t samDesired, Handle& result) {
    HKEY key = nullptr;
    const LSTATUS rc = RegOpenKeyExW(asKey(parent), wide(subKey), 0, samDesired, &key);
    if (rc == ERROR_SUCCESS) result = key;
    return rc;
}

int32_t backend::regQueryInfoKeyA(Handle key, uint32_t& subKeys, uint32_t& values) {
    DWORD nSub = 0;
    DWORD nValues = 0;
    const LSTATUS rc = RegQueryInfoKeyA(asKey(key), nullptr, nullptr, nullptr, &nSub, nullptr, nullptr, &nValues,
                                        nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) {
        subKeys = nSub;
        values = nValues;
    }
    return rc;
}

int32_t backend::regEnumKeyExW(Handle key, uint32_t index, std::u16string& name) {
    // Key names are at most 255 characters.
    wchar_t buffer[256];
    DWORD length = 256;
    const LSTATUS rc = RegEnumKeyExW(asKey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) name.assign(reinterpret_cast<const char16_t*>(buffer), length);
    return rc;
}

int32_t regEnumValueW(Handle key, uint32_t index, std::u16string& name) {
    // Value names are at most 16,383 characters.
    std::u16string buffer(16384, u'\0');
    DWORD length = static_cast<DWORD>(buffer.size());
    const LSTATUS rc = RegEnumValueW(asKey(key), index, reinterpret_cast<wchar_t*>(buffer.data()), &length, nullptr,
                                     nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) {
        buffer.resize(length);
        name = std::move(buffer);
    }
    return rc;
}

int32_t backend::regQueryValueExW(Handle key, const std::u16string& valueName, uint32_t& type, std::string& data) {
    // Most values fit a small buffer, read in one call; a larger one is read
    // again at the size the first call reported (retried, since the value may
    // grow in between).
    std::string buffer(256, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD kind = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        const LSTATUS rc = RegQueryValueExW(asKey(key), wide(valueName), nullptr, &kind,
                                            reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            buffer.assign(size, '\0');
            continue;
        }
        if (rc != ERROR_SUCCESS) return rc;
        buffer.resize(size);
        type = kind;
        data = std::move(buffer);
        return rc;
    }
    return ERROR_MORE_DATA;
}

std::string systemErrorMessage(int32_t code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? std::string(text, n) : "System error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

}  // namespace platform
