// The machine's keys the program reads, below HKEY_LOCAL_MACHINE, each
// spelled once: without a leading or trailing backslash, in the native view
// (the 32-bit view resolves them below SOFTWARE\WOW6432Node where Windows
// redirects them).
#pragma once

#include <string>

namespace platform::keys {

// One subkey per installed product, as Add/Remove Programs lists them.
inline const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// One subkey per account that has a profile: ProfileImagePath, and the
// folder of new profiles (ProfilesDirectory).
inline const std::string kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// The Windows Installer's products per account, by SID.
inline const std::string kInstallerUserData = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData";
// Programs the shell starts by a bare name.
inline const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

}  // namespace platform::keys
