// After a positive detection: where the suite is installed, its product key
// and its Windows Installer product code; and what an Uninstall entry is to
// the suite of a product key.
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
// Display names of the family's extension packages begin so.
inline const std::string SEXTENSION_LIBREOFFICE = "LibreOffice Extension";
inline const std::string SEXTENSION_COLLABORA = "Collabora Extension";

// What an Uninstall entry is to the suite whose product key is SVERSOOO, by
// its display name (letters compared with the ANSI upper-casing).
enum class TSuiteEntry {
    Unrelated,       // does not begin with the key followed by a blank, a digit, a dot or nothing
    Suite,           // the key, then nothing but the version and an optional tag: "LibreOffice 7.6.4.1 (x64)"
    SuiteOtherwise,  // continues the key and is none of the kinds below: the suite named with more words
    HelpPack,        // " Help Pack (" follows the key: "LibreOffice 7.6 Help Pack (German)"
    LanguagePack,    // " Language Pack (" follows the key
    Sdk,             // the word "SDK" follows the key
    Extension,       // begins with the whole name "LibreOffice Extension" or "Collabora Extension", whatever the key
};
[[nodiscard]] TSuiteEntry SUITEENTRYKIND(const std::string& displayName, const std::string& SVERSOOO);

// The install location recorded under the first vendor key that exists,
// lower-cased; "" when none. Of its versions, the last whose location holds
// program\bootstrap.ini, failing that the last with a location at all (a
// version key left behind may be listed after the installed one); the
// location's trailing NULs are dropped and a backslash added when it lacks one.
[[nodiscard]] std::string FINDINSTALLLOCATION();

// The uninstall command of the suite's own Uninstall entry: the first entry
// that is the suite (TSuiteEntry::Suite), failing that the first named
// otherwise. Help packs and other siblings begin with the same text and may be
// listed first. An entry whose DisplayName is not text ends the run only where
// a search for the first entry beginning with the key would have read it.
[[nodiscard]] std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO);

// Fills SCHEMOPEN, SVERSOOO (trailing blanks dropped) and SPRODUCTCODE, in
// that order.
void RESOLVESUITEFACTS();

}  // namespace korvalend
