// Thin wrappers over the Windows Installer's read-only queries (msi.dll).
// Nothing is installed or removed through them. The library is loaded the
// first time one of them is asked, from the system folder only, and kept
// for the rest of the process; a program that asks nothing loads nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// INSTALLSTATE values MsiQueryProductStateW answers.
constexpr int32_t kInstallStateInvalidArg = -2;  // the code is no product code ({8-4-4-4-12} hex)
constexpr int32_t kInstallStateUnknown = -1;     // no product of that code is registered
constexpr int32_t kInstallStateAdvertised = 1;
constexpr int32_t kInstallStateAbsent = 2;       // installed for another user
constexpr int32_t kInstallStateDefault = 5;      // installed for this user or the machine

// MsiQueryProductStateW: the product's state; nothing when msi.dll cannot be
// loaded or lacks the function. The code ends at its first NUL, as the call
// reads it.
[[nodiscard]] std::optional<int32_t> msiQueryProductStateW(const std::u16string& productCode);

// MsiGetProductInfoW (a property such as "LocalPackage", the cached package's
// full path): the call's return code (ERROR_SUCCESS, ERROR_UNKNOWN_PRODUCT,
// ERROR_UNKNOWN_PROPERTY, ERROR_INVALID_PARAMETER for a malformed code,
// ERROR_BAD_CONFIGURATION, ERROR_ACCESS_DENIED...), or kErrorModNotFound when
// msi.dll cannot be loaded. A value longer than the first buffer is read
// again at the size the call asked for: ERROR_MORE_DATA never reaches the
// caller. `value` is untouched on failure.
[[nodiscard]] uint32_t msiGetProductInfoW(const std::u16string& productCode, const std::u16string& property,
                                          std::u16string& value);

// MsiSourceListGetInfoW for a product installed for the machine (no user SID,
// MSIINSTALLCONTEXT_MACHINE, MSICODE_PRODUCT), with the same return codes
// (ERROR_UNKNOWN_PRODUCT for a product installed for a user only).
// "LastUsedSource" is the folder the product was last installed from, with
// its trailing "\" ("Z:\packages\" under Wine 8; the registry value behind
// it holds "n;1;Z:\packages\", the type of which "LastUsedType" gives: "n"
// for a folder), so the package the installer falls back to is that folder
// joined with "PackageName" (the package's file name, "suite.msi").
// Property names are compared letter case included, by both calls.
[[nodiscard]] uint32_t msiSourceListGetInfoW(const std::u16string& productCode, const std::u16string& property,
                                             std::u16string& value);

// The full path of the msi.dll the wrappers use (loaded now if no query has
// loaded it yet); "" when none could be loaded. For the contract tests.
[[nodiscard]] std::u16string msiLibraryPath();

}  // namespace platform
