// After a positive detection: where the suite is installed, its product key
// and its Windows Installer product code; and what an Uninstall entry is to
// the suite of a product key.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "korvalend/family.h"
#include "korvalend/suite.h"

namespace korvalend {

inline const std::string SPATH_LIBO_TDF = "\\SOFTWARE\\The Document Foundation\\LibreOffice\\";
inline const std::string SPATH_LIBO_MIMO = "\\SOFTWARE\\MimO\\LibreOffice\\";
inline const std::string SPATH_LIBO_COLLABORA = "SOFTWARE\\Collabora\\Collabora Office\\";
inline const std::string SPATH_LIBO_ZETA = "\\SOFTWARE\\allotropia software GmbH\\ZetaOffice\\";
// Looked up in this order, each in the native view and then in the 32-bit one.
inline const std::array<std::string, 4> SVENDOR_KEYS = {SPATH_LIBO_TDF, SPATH_LIBO_MIMO, SPATH_LIBO_COLLABORA,
                                                         SPATH_LIBO_ZETA};
inline const std::string SBOOTSTRAP_INI = "PROGRAM\\bootstrap.ini";
inline const std::string SPRODUCTCODE_MARKER = "MsiExec.exe /I";
// A package that cannot be modified records its removal instead.
inline const std::string SPRODUCTCODE_REMOVAL_MARKER = "MsiExec.exe /X";

// The install locations recorded below VENDORKEY in VIEW, the one the
// removal takes first first: the folders that hold program\bootstrap.ini,
// from the last version listed to the first (a version key left behind may be
// listed after the installed one), each once; when none does, the last
// location recorded at all. Lower-cased, trailing NULs dropped, a backslash
// added when it lacks one. Empty when the key records none or does not exist.
[[nodiscard]] std::vector<std::string> INSTALLLOCATIONS(const std::string& VENDORKEY, TRegistryView VIEW);

// The uninstall command of the suite's own Uninstall entry in VIEW: the first
// entry that is the suite (TSuiteEntry::Suite), failing that the first named
// otherwise. Help packs and other siblings begin with the same text and may be
// listed first. An entry whose DisplayName is not text ends the run only where
// a search for the first entry beginning with the key would have read it.
// DISPLAYNAME receives the entry's DisplayName.
[[nodiscard]] std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO, TRegistryView VIEW,
                                                std::string* DISPLAYNAME = nullptr);

// The product code of an uninstall command: what follows "MsiExec.exe /I" or,
// failing that, "MsiExec.exe /X" (letter case aside); "" for neither.
[[nodiscard]] std::string PRODUCTCODEOF(const std::string& command);

// The facts of the suite whose location VENDORKEY records in VIEW at
// LOCATION: its product key from its bootstrap.ini (trailing blanks dropped)
// and the product code of its own Uninstall entry in the same view. What
// cannot be found stays empty; MISSING names it ("no product key"), WHY says
// where it was looked for.
struct TResolution {
    TSuiteFacts facts;
    std::string missing;  // "" when every fact was found
    std::string why;
};
[[nodiscard]] TResolution RESOLVESUITEFACTS(const std::string& VENDORKEY, TRegistryView VIEW,
                                            const std::string& LOCATION);

}  // namespace korvalend
