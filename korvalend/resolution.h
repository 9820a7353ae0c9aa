// After a positive detection: where the suite is installed, its product key
// and its Windows Installer product code.
#pragma once

#include <array>
#include <string>

namespace korvalend {

inline const std::string SPATH_LIBO_TDF = "\\SOFTWARE\\The Document Foundation\\LibreOffice\\";
inline const std::string SPATH_LIBO_MIMO = "\\SOFTWARE\\MimO\\LibreOffice\\";
inline const std::string SPATH_LIBO_COLLABORA = "SOFTWARE\\Collabora\\Collabora Office\\";
inline const std::string SPATH_LIBO_ZETA = "\\SOFTWARE\\allotropia software GmbH\\ZetaOffice\\";
// Probed in this order; only the first that exists is looked up.
inline const std::array<std::string, 4> SVENDOR_KEYS = {SPATH_LIBO_TDF, SPATH_LIBO_MIMO, SPATH_LIBO_COLLABORA,
                                                         SPATH_LIBO_ZETA};
inline const std::string SBOOTSTRAP_INI = "PROGRAM\\bootstrap.ini";
inline const std::string SPRODUCTCODE_MARKER = "MsiExec.exe /I";

// The install location recorded under the first vendor key that exists,
// lower-cased; "" when none.
[[nodiscard]] std::string FINDINSTALLLOCATION();

// The uninstall command of the suite's own Uninstall entry. Of the entries
// whose DisplayName begins with the product key, the first that adds nothing
// but version digits to it; failing that, the first that is not a help pack.
// Help packs and other siblings begin with the same text and may be listed
// before the suite.
[[nodiscard]] std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO);

// Fills SCHEMOPEN, SVERSOOO and SPRODUCTCODE, in that order.
void RESOLVESUITEFACTS();

}  // namespace korvalend
