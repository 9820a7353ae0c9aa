// Removing the detected suite: close it, remove its extensions and French
// help pack, uninstall it, then delete what the uninstallation left behind.
#pragma once

#include <string>

namespace korvalend {

inline const std::string SUNINSTALL_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const std::string SHELP_PACK_SUFFIX = " Help Pack (French)";
inline const std::string SINSTALLER = "Msiexec.exe";

// Every occurrence of FROM in S, compared with the ANSI upper-casing,
// replaced by TO.
[[nodiscard]] std::string STRREPLACEALLCASELESS(const std::string& S, const std::string& FROM, const std::string& TO);

// The help pack's installer parameters from its uninstall command ("/i"
// becomes SPARAM + " /x"; a command with "/x" only gets SPARAM before it), or,
// when it has none, from its entry's key name.
[[nodiscard]] std::string HELPPACKPARAMETERS(const std::string& SUNINST_HELP, const std::string& SKEYNAME);

// Runs the whole removal. Stops before deleting anything when the suite's
// Uninstall entry is missing, the installer cannot be started, or the entry
// is still there after it.
void SUPP_LIBREOFFICE(const std::string& SCHEMOPEN, const std::string& SVERSOOO, const std::string& SPRODUCTCODE);

}  // namespace korvalend
