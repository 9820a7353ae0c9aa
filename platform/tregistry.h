// The registry accessor: one per procedure call, with an access mask, a root
// key and at most one current key. Read-only in practice: every open asks
// only for query and enumerate rights.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/exception.h"
#include "platform/registry.h"
#include "platform/tstrings.h"

namespace platform {

class ERegistryException : public Exception {
public:
    using Exception::Exception;
    [[nodiscard]] const char* className() const noexcept override { return "ERegistryException"; }
};

class TRegistry {
public:
    // CREATE without argument: KEY_ALL_ACCESS, root HKEY_CURRENT_USER.
    TRegistry();
    // CREATE with an access mask; root HKEY_CURRENT_USER until SETROOTKEY.
    explicit TRegistry(uint32_t access);
    ~TRegistry();  // closes the current key
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    void SETROOTKEY(Handle root);
    [[nodiscard]] bool OPENKEYREADONLY(const std::string& path);
    // The same, with the open's error code when it fails (ERROR_SUCCESS when
    // it succeeds): a key that is absent is told apart from one refused.
    [[nodiscard]] bool OPENKEYREADONLY(const std::string& path, int32_t& error);
    [[nodiscard]] bool KEYEXISTS(const std::string& path) const;
    void GETKEYNAMES(TStrings& list) const;
    void GETVALUENAMES(TStrings& list) const;
    [[nodiscard]] bool VALUEEXISTS(const std::string& name) const;
    [[nodiscard]] std::string READSTRING(const std::string& name) const;
    // A REG_DWORD value; nothing when it is missing or of another type.
    [[nodiscard]] std::optional<uint32_t> READDWORD(const std::string& name) const;
    // READSTRING's text before its conversion to the ANSI code page, for a
    // caller that must know whether the code page holds it exactly.
    [[nodiscard]] std::u16string READSTRINGW(const std::string& name) const;
    void CLOSEKEY();

    [[nodiscard]] uint32_t access() const noexcept { return access_; }
    [[nodiscard]] Handle rootKey() const noexcept { return root_; }
    [[nodiscard]] bool hasCurrentKey() const noexcept { return current_.valid(); }
    // The current key's handle, still owned by the accessor (null when none):
    // another accessor may take it as its root while this one lives.
    [[nodiscard]] Handle currentKey() const noexcept { return current_.get(); }

private:
    // Resolves a path to the key it is opened below and the remaining text.
    [[nodiscard]] Handle baseFor(const std::string& path, std::string& rest) const;
    [[nodiscard]] int32_t openBelow(const std::string& path, uint32_t sam, UniqueKey& key) const;

    uint32_t access_;
    Handle root_;
    UniqueKey current_;
};

}  // namespace platform
