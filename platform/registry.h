// Thin wrappers over the registry calls (advapi32). They keep the calls'
// return codes (ERROR_SUCCESS, ERROR_NO_MORE_ITEMS...) and take portable types.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handle.h"

namespace platform {

struct KeyTraits : NullIsEmpty {
    static void close(Handle key) noexcept;  // RegCloseKey
};
using UniqueKey = UniqueHandle<KeyTraits>;

// The predefined root keys. They are never closed.
[[nodiscard]] Handle hkeyClassesRoot() noexcept;
[[nodiscard]] Handle hkeyCurrentUser() noexcept;
[[nodiscard]] Handle hkeyLocalMachine() noexcept;
[[nodiscard]] Handle hkeyUsers() noexcept;

// RegOpenKeyExW. On success `result` owns the opened key; on failure it is
// left untouched.
[[nodiscard]] int32_t regOpenKeyExW(Handle parent, const std::u16string& subKey, uint32_t samDesired,
                                    UniqueKey& result);

// RegQueryInfoKeyA: counts of subkeys and values. Outputs untouched on failure.
[[nodiscard]] int32_t regQueryInfoKeyA(Handle key, uint32_t& subKeys, uint32_t& values);

// RegEnumKeyExW / RegEnumValueW: the name at `index`. ERROR_NO_MORE_ITEMS past
// the end. `name` untouched on failure.
[[nodiscard]] int32_t regEnumKeyExW(Handle key, uint32_t index, std::u16string& name);
[[nodiscard]] int32_t regEnumValueW(Handle key, uint32_t index, std::u16string& name);

// RegQueryValueExW: the value's type and raw data bytes. The empty name is the
// default value. Outputs untouched on failure.
[[nodiscard]] int32_t regQueryValueExW(Handle key, const std::u16string& valueName, uint32_t& type,
                                       std::string& data);

// REG_SZ or REG_EXPAND_SZ data as the UTF-16 code units it holds
// (little-endian; an odd trailing byte is no character), every NUL kept: the
// one reading of registry text, callers drop the terminator as they need.
[[nodiscard]] inline std::u16string registryUtf16(const std::string& data) {
    std::u16string text(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                        (static_cast<unsigned char>(data[2 * i + 1]) << 8));
    return text;
}

// The system's message text for an error code (FormatMessage), without the
// trailing line break.
[[nodiscard]] std::string systemErrorMessage(int32_t code);

}  // namespace platform
