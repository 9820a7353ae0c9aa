// The simulated registry: HKLM, HKCU and HKU trees, HKCR seen through
// HKLM\Software\Classes, case-insensitive names, subkeys enumerated sorted
// without regard to case, values in creation order, typed raw data, and keys
// that may be read but not written or not opened at all.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users };

struct CaseLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const noexcept;
};
[[nodiscard]] bool sameName(const std::u16string& a, const std::u16string& b) noexcept;

struct RegValue {
    std::u16string name;
    uint32_t type = 0;
    std::string data;  // raw bytes as stored
};

struct RegKey {
    std::u16string name;
    std::map<std::u16string, std::shared_ptr<RegKey>, CaseLess> subkeys;
    std::vector<RegValue> values;
    bool writable = true;  // false: opens asking for any write right fail
    bool openable = true;  // false: every open fails with access denied
    bool deleted = false;  // set when removed while a handle may still be open
    // When non-zero, enumerating this key's subkeys or values fails with this
    // code, as when another process changes the key between the count and
    // the enumeration.
    int32_t enumError = 0;

    [[nodiscard]] RegValue* findValue(const std::u16string& valueName);
};

class Registry {
public:
    Registry();

    // Paths are ANSI (code page 1252), separated by "\", relative to the root.
    RegKey& addKey(Root root, const std::string& path);
    [[nodiscard]] RegKey* findKey(Root root, const std::string& path);
    bool removeKey(Root root, const std::string& path);  // the whole subtree

    // REG_SZ / REG_EXPAND_SZ stored as UTF-16 with a terminating NUL.
    void setString(Root root, const std::string& path, const std::string& name, const std::string& value,
                   uint32_t type = 1);
    void setDword(Root root, const std::string& path, const std::string& name, uint32_t value);
    // Any type with exactly these bytes (unterminated or odd-length text too).
    void setRaw(Root root, const std::string& path, const std::string& name, uint32_t type, std::string bytes);
    bool removeValue(Root root, const std::string& path, const std::string& name);

    [[nodiscard]] std::shared_ptr<RegKey> rootKey(Root root);
    // Number of key handles opened and not yet closed (leak checks).
    [[nodiscard]] int openHandles() const noexcept { return openHandles_; }
    void noteOpened() noexcept { ++openHandles_; }
    void noteClosed() noexcept { --openHandles_; }
    // Number of value reads made (for tests of what was looked at).
    int valueReads = 0;
    int keyOpens = 0;

private:
    std::shared_ptr<RegKey> hklm_, hkcu_, hku_;
    int openHandles_ = 0;
};

}  // namespace sim
