// Test-only registry writer. The product never writes the registry; the
// contract tests need keys of every shape to read back. Paths are UTF-16,
// relative to HKEY_LOCAL_MACHINE ("Software\Classes\..." reaches
// HKEY_CLASSES_ROOT). On the simulated build the sandbox owns a fresh
// machine; on Windows it works on the real registry and removes its keys.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();  // deletes every tree created through it
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Creates the key and its parents; the first key created below an
    // existing one is remembered for removal at the end.
    bool createKey(const std::u16string& path);
    // Any type with exactly these bytes.
    bool setValue(const std::u16string& keyPath, const std::u16string& name, uint32_t type, const std::string& data);
    // REG_SZ / REG_EXPAND_SZ with a terminating NUL, from UTF-16.
    bool setString(const std::u16string& keyPath, const std::u16string& name, const std::u16string& text,
                   uint32_t type = 1);
    bool deleteTree(const std::u16string& path);
    // Leaves the key readable but denies every write right.
    bool denyWrite(const std::u16string& path);
    // Denies every right: the key exists but cannot be opened.
    bool denyAll(const std::u16string& path);
    // True when the build works on the simulated machine.
    [[nodiscard]] static bool simulated();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Raw little-endian UTF-16 bytes of a text, without terminator.
[[nodiscard]] inline std::string utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

}  // namespace testsupport
