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
// UninstallString, in the native view or the 32-bit one.
void addUninstallEntry(Machine& m, const std::string& entryName, const std::string& displayName,
                       const std::string& uninstallString = {}, bool wow32 = false);

}  // namespace sim::scripted
