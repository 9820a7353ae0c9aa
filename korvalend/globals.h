// The program-wide options of one run. They live until the process ends; the
// removal only reads them. A suite's own facts are no program-wide strings:
// each suite's are handed down as a value (TSuiteFacts).
#pragma once

#include <string>

namespace korvalend {

inline const std::string SPARAM_PASSIVE = "/passive /norestart";
inline const std::string SPARAM_QUIET = "/quiet /norestart";

// Windows Installer options written into every Msiexec.exe parameter string.
inline std::string SPARAM;

// The folder of the run's record when the run created it there ("" without
// one): each Msiexec.exe uninstall then writes its own log beside it.
inline std::string SLOGFOLDER;

}  // namespace korvalend
