// Removing the detected suite: close it, remove its extensions, help packs and
// language packs, uninstall it, then delete what the uninstallation left
// behind. Its outcome is the process's exit code.
#pragma once

#include <cstdint>
#include <string>

namespace korvalend {

inline const std::string SUNINSTALL_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const std::string SHELP_PACK_SUFFIX = " Help Pack (French)";
inline const std::string SINSTALLER = "Msiexec.exe";
// The Windows Installer's execution mutex; "Global\" reaches the service's
// from any session.
inline const std::u16string SINSTALLER_MUTEX = u"Global\\_MSIExecute";
// How long one run waits for a busy Windows Installer, all Msiexec.exe runs
// together; then it runs the installer anyway.
constexpr uint64_t kInstallerWaitBudgetMs = 10 * 60 * 1000;
// The exit code of a run that leaves the suite installed when the installer
// gave none of its own (ERROR_INSTALL_FAILURE).
constexpr int kExitInstallFailure = 1603;

// Every occurrence of FROM in S, compared with the ANSI upper-casing,
// replaced by TO.
[[nodiscard]] std::string STRREPLACEALLCASELESS(const std::string& S, const std::string& FROM, const std::string& TO);

// A help or language pack's installer parameters from its uninstall command
// ("/i" becomes SPARAM + " /x"; a command with "/x" only gets SPARAM before
// it), or, when it has none or no such switch, from its entry's key name.
[[nodiscard]] std::string HELPPACKPARAMETERS(const std::string& SUNINST_HELP, const std::string& SKEYNAME);

// Runs the whole removal and returns the process's exit code: 0 when the suite
// is gone or its Uninstall entry is missing from the start; when the suite is
// still registered after its uninstaller, or the installer cannot be started,
// the installer's own exit code, or 1603 when it gave 0 or none. Nothing is
// deleted in those cases.
[[nodiscard]] int SUPP_LIBREOFFICE(const std::string& SCHEMOPEN, const std::string& SVERSOOO,
                                   const std::string& SPRODUCTCODE);

}  // namespace korvalend
