// What of the family stays registered on the machine: the Uninstall entries
// of its suites, help packs and language packs in either registry view, and
// the per-user installations the Windows Installer records for other
// accounts. The run's exit code says "removed" only when none stays.
#pragma once

#include <string>
#include <vector>

#include "korvalend/safety.h"
#include "korvalend/suite.h"

namespace korvalend {

// What a display name is to the family.
enum class TFamilyKind {
    None,
    // A family, a blank, a version and anything but a pack's or an SDK's
    // words: "LibreOffice 7.6.4.1", "Collabora Office 24.04.5.2 (x64)".
    Suite,
    HelpPack,      // "LibreOffice 7.6 Help Pack (French)"
    LanguagePack,  // "LibreOffice 7.6 Language Pack (German)"
};
struct TFamilyName {
    TFamilyKind kind = TFamilyKind::None;
    std::string family;  // SFAMILY_*: the MimO build registers as LibreOffice
    std::string suite;   // a pack's suite: what comes before " Help Pack (" or " Language Pack ("
};
[[nodiscard]] TFamilyName FAMILYNAME(const std::string& displayName);

struct TRegisteredEntry {
    TRegistryView view = TRegistryView::Native;
    std::string name;         // the entry's key name: a product code for Windows Installer products
    std::string displayName;
    TFamilyName what;
};
// Every suite, help pack and language pack of the family the Uninstall key
// lists, the native view first; with PRODUCTKEY, also every entry named as
// the suite of that key (TSuiteEntry::Suite or SuiteOtherwise), as a suite,
// whatever its name. An entry whose DisplayName is not text is passed over:
// nothing tells what it is.
[[nodiscard]] std::vector<TRegisteredEntry> REGISTEREDFAMILY(const std::string& PRODUCTKEY = {});

// A suite registered under a display name of the suite of PRODUCTKEY (the
// key, its version, a tag or more words).
[[nodiscard]] bool ISSUITEOF(const TRegisteredEntry& entry, const std::string& PRODUCTKEY);

// A suite or pack of the family the Windows Installer installed for one user
// (any account but the local system's), whose hive need not be loaded.
struct TPerUserInstall {
    std::string sid;
    std::string displayName;
    std::string location;  // its InstallLocation, as recorded
    std::string profile;   // the account's profile folder, "" when the machine does not list it
};
[[nodiscard]] std::vector<TPerUserInstall> PERUSERINSTALLS();

}  // namespace korvalend
