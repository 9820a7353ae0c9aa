// The suite's recorded install location below a vendor key, and key presence
// below HKEY_LOCAL_MACHINE.
#pragma once

#include <string>

namespace korvalend {

inline const std::string SCLE_UPGRADE_CODE = "{4B17E523-5D91-4E69-BD96-7FD81CFA81BB}";
inline const std::string SINSTALLLOCATION = "INSTALLLOCATION";

// Walks every version subkey of SPATH_OOO (which ends with "\"); each one
// holding an openable subkey named SCLE exactly replaces the result with its
// SCHAINE value, or with the empty text when it lacks the value. The last one
// listed decides.
[[nodiscard]] std::string CHERCHE_LIBREOFFICE(const std::string& SPATH_OOO, const std::string& SCHAINE,
                                              const std::string& SCLE);

// True when the key exists below HKEY_LOCAL_MACHINE (read access suffices).
[[nodiscard]] bool CHERCHE_CLE_EXIST(const std::string& SCLE);

}  // namespace korvalend
