// Ready-made programs for the simulated shell, standing in for the
// uninstallers the program runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {
class Machine;
}

namespace sim::scripted {

inline const std::string kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The same key as 32-bit programs see it.
inline const std::string kUninstallKey32 = "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline const std::string kSystemInstaller = "C:\\Windows\\system32\\Msiexec.exe";

inline const std::u16string kInstallerMutex = u"Global\\_MSIExecute";

struct InstallerOptions {
    uint64_t runMs = 2000;
    bool leaveEntry = false;  // runs, fails and leaves the product registered
    // The exit code it gives instead of 0 or 1605, whether or not it removed
    // the entry (3010: removed, a restart completes it).
    std::optional<uint32_t> exitCode = std::nullopt;
    // Targets it fails on with 1603, leaving them registered.
    std::vector<std::string> failing = {};
};

// A Windows-Installer stand-in at `path`: given parameters holding "/x" and an
// entry name ("/passive /norestart /x{CODE}"), it removes
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<name> (or, when
// the native view has none, the 32-bit view's) and exits
// with 0, or with 1605 when no such entry is registered or it is told to fail.
// When the name is a product code (38 characters, braced) it is the
// installer's registration that counts: a product it holds is forgotten and
// its entry removed (0); one it does not hold leaves everything and ends with
// 1605; one whose cached package and source package are both missing leaves
// everything and ends with 1612. The cached package file stays: nothing
// reads it once the product is forgotten.
// While anyone (the program that started it included) owns the installer's
// mutex it changes nothing and exits with 1618, as Windows' installer does.
void addWindowsInstaller(Machine& m, const InstallerOptions& options = {},
                         const std::string& path = kSystemInstaller);

// An extension uninstaller at `path` that removes its own Uninstall entry
// `entryName` when its parameters are " /verysilent"; any other parameters
// leave everything in place (an interactive run that the user cancels).
void addExtensionUninstaller(Machine& m, const std::string& path, const std::string& entryName,
                             uint64_t runMs = 500);

// Registers an Uninstall entry with a DisplayName and, when not empty, an
// UninstallString, in the native view or the 32-bit one. An entry of a
// Windows Installer product (its name is a product code, or its
// UninstallString runs "MsiExec.exe /I" or "/X" with one) registers the
// product too, as installing its package does: state 5, a cached package in
// C:\Windows\Installer and the package it came from in C:\Packages, both
// files on the machine.
void addUninstallEntry(Machine& m, const std::string& entryName, const std::string& displayName,
                       const std::string& uninstallString = {}, bool wow32 = false);

// The product code a Windows Installer entry stands for: its name when that
// is a product code, else the code its UninstallString's "MsiExec.exe /I" or
// "/X" names (the 38 characters after the switch); "" for any other entry.
[[nodiscard]] std::string productCodeOf(const std::string& entryName, const std::string& uninstallString);

// What the tests of a worn machine take away: a product's cached package, the
// package it was installed from (the files, the registration stays).
void removeCachedPackage(Machine& m, const std::string& productCode);
void removeSourcePackage(Machine& m, const std::string& productCode);

}  // namespace sim::scripted
