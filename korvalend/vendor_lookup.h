// The suite's recorded install location below a vendor key, and key presence
// below HKEY_LOCAL_MACHINE. The run walks every version (WALKVERSIONVALUES);
// it no longer calls CHERCHE_LIBREOFFICE, the last version's value, kept for
// its interface.
#pragma once

#include <functional>
#include <string>

#include "korvalend/suite.h"

namespace korvalend {

inline const std::string SCLE_UPGRADE_CODE = "{4B17E523-5D91-4E69-BD96-7FD81CFA81BB}";
inline const std::string SINSTALLLOCATION = "INSTALLLOCATION";

// Hands VISIT, in listing order, each version subkey of SPATH_OOO (which ends
// with "\") that holds an openable subkey named SCLE exactly, with that
// subkey's SCHAINE value (the empty text when it lacks the value). VIEW is
// the registry view the vendor key is read in.
void WALKVERSIONVALUES(const std::string& SPATH_OOO, const std::string& SCHAINE, const std::string& SCLE,
                       const std::function<void(const std::string& version, const std::string& value)>& VISIT,
                       TRegistryView VIEW = TRegistryView::Native);

// The SCHAINE value of the last version WALKVERSIONVALUES visits, also when
// it lacks the value; empty when it visits none.
[[nodiscard]] std::string CHERCHE_LIBREOFFICE(const std::string& SPATH_OOO, const std::string& SCHAINE,
                                              const std::string& SCLE);

// True when the key exists below HKEY_LOCAL_MACHINE in the view (read
// access suffices).
[[nodiscard]] bool CHERCHE_CLE_EXIST(const std::string& SCLE, TRegistryView VIEW = TRegistryView::Native);

}  // namespace korvalend
