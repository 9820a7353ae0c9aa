// What a name is to the family and to one suite of it: the one home of every
// rule that tells a suite, a help pack, a language pack, an SDK or an
// extension by its display name, and a family by its whole name. Resolution,
// the registered family, the removal, the leftovers and the check all ask
// here.
#pragma once

#include <string>

namespace korvalend {

// The families, by their whole names. LibreOfficeDev is none of them.
inline const std::string SFAMILY_LIBREOFFICE = "LibreOffice";
inline const std::string SFAMILY_COLLABORA = "Collabora Office";
inline const std::string SFAMILY_ZETAOFFICE = "ZetaOffice";

// Display names of the family's extension packages begin so.
inline const std::string SEXTENSION_LIBREOFFICE = "LibreOffice Extension";
inline const std::string SEXTENSION_COLLABORA = "Collabora Extension";
// The help pack the removal takes first.
inline const std::string SHELP_PACK_SUFFIX = " Help Pack (French)";

// NAME begins with the whole name WHOLE, ASCII case ignored: WHOLE is followed
// by a blank, a digit, "(" or the end of NAME ("LibreOffice 7.6",
// "LibreOffice(x64)", "LibreOffice"; not "LibreOfficeDev 24.8").
[[nodiscard]] bool BEGINSWITHWHOLENAME(const std::string& name, const std::string& whole);

// The family a name belongs to: "LibreOffice", "Collabora Office" or
// "ZetaOffice" when the name begins with that whole name (BEGINSWITHWHOLENAME),
// "" for none ("LibreOfficeDev 24.8", "Collabora 24", "OpenOffice"). The one
// test by which the removal tells a family by a name (the product key, a
// Startup shortcut's name before ".lnk", a display name).
[[nodiscard]] std::string FAMILYOF(const std::string& name);

// What a display name is to the family, whatever suite it belongs to.
enum class TFamilyKind {
    None,
    // A family, a blank, a version and anything but a pack's or an SDK's
    // words: "LibreOffice 7.6.4.1", "Collabora Office 24.04.5.2 (x64)".
    Suite,
    HelpPack,      // "LibreOffice 7.6 Help Pack (French)"
    LanguagePack,  // "LibreOffice 7.6 Language Pack (German)"
    Sdk,           // "LibreOffice 7.6 SDK", "LibreOffice 7.6.4.1 SDK (x64)": the developers' kit
};
struct TFamilyName {
    TFamilyKind kind = TFamilyKind::None;
    std::string family;  // SFAMILY_*: the MimO build registers as LibreOffice
    // A pack's or an SDK's suite: the family and the version before the
    // pack's words ("LibreOffice 7.6" of "LibreOffice 7.6 Help Pack (French)").
    std::string suite;
};
[[nodiscard]] TFamilyName FAMILYNAME(const std::string& displayName);
// A help pack, a language pack or an SDK: a package that lies in its suite's
// folder and belongs to that suite.
[[nodiscard]] bool ISSUITEPART(TFamilyKind kind);

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

// The display name is the suite of SVERSOOO itself, by its version or with
// more words (TSuiteEntry::Suite or SuiteOtherwise).
[[nodiscard]] bool ISNAMEDASSUITE(const std::string& displayName, const std::string& SVERSOOO);

// WORD follows in UPPERREST (upper case): after a blank, before a blank, "(" or
// the end ("SDK" in " SDK (x64)").
[[nodiscard]] bool HASWORD(const std::string& upperRest, const std::string& word);

}  // namespace korvalend
