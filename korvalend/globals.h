// The program-wide strings of one run. They live until the process ends; the
// removal procedure only reads them.
#pragma once

#include <string>

namespace korvalend {

inline const std::string SPARAM_PASSIVE = "/passive /norestart";
inline const std::string SPARAM_QUIET = "/quiet /norestart";

// Windows Installer options written into every Msiexec.exe parameter string.
inline std::string SPARAM;
// Install location (lower case), product key, Windows Installer product code.
inline std::string SCHEMOPEN;
inline std::string SVERSOOO;
inline std::string SPRODUCTCODE;

}  // namespace korvalend
