// What of the family stays registered on the machine: the Uninstall entries
// of its suites, help packs and language packs in either registry view, and
// the per-user installations the Windows Installer records for other
// accounts. The run's exit code says "removed" only when none stays.
#pragma once

#include <string>
#include <vector>

#include "korvalend/entry.h"
#include "korvalend/family.h"
#include "korvalend/suite.h"

namespace korvalend {

struct TRegisteredEntry {
    TRegistryView view = TRegistryView::Native;
    std::string name;         // the entry's key name: a product code for Windows Installer products
    std::string displayName;
    TFamilyName what;

    [[nodiscard]] TEntryId id() const { return {view, name}; }
};
// Every suite, help pack and language pack of the family the Uninstall key
// lists, the native view first; with PRODUCTKEY, also every entry named as
// the suite of that key (TSuiteEntry::Suite or SuiteOtherwise), as a suite,
// whatever its name. An entry whose DisplayName is not text is passed over:
// nothing tells what it is.
// Orphaned entries (the Windows Installer no longer holds their product) are
// no such entry: ORPHANS, when given, receives them.
[[nodiscard]] std::vector<TRegisteredEntry> REGISTEREDFAMILY(const std::string& PRODUCTKEY = {},
                                                           std::vector<TRegisteredEntry>* ORPHANS = nullptr);

// A suite registered under a display name of the suite of PRODUCTKEY (the
// key, its version, a tag or more words).
[[nodiscard]] bool ISSUITEOF(const TRegisteredEntry& entry, const std::string& PRODUCTKEY);

// PART (a help pack, a language pack or an SDK) lies in the install folder of
// SUITE: it is the suite's own (named after its product key) in the suite's
// view, or an older one of the suite's family in that view whose own suite
// REGISTERED does not hold: after an upgrade, an earlier version's pack stays
// registered, its files in the folder the upgrade kept.
[[nodiscard]] bool LIESINSUITEFOLDER(const TRegisteredEntry& PART, const TSuiteFacts& SUITE,
                                     const std::vector<TRegisteredEntry>& REGISTERED);
// PART is such an older one.
[[nodiscard]] bool ISOLDERPARTOF(const TRegisteredEntry& PART, const TSuiteFacts& SUITE,
                                 const std::vector<TRegisteredEntry>& REGISTERED);
// The suite PART belongs to is registered (a suite named as PART's suite).
[[nodiscard]] bool HASOWNSUITE(const TRegisteredEntry& PART, const std::vector<TRegisteredEntry>& REGISTERED);

// A suite or pack of the family the Windows Installer installed for one user
// (any account but the local system's), whose hive need not be loaded.
struct TPerUserInstall {
    std::string sid;
    std::string displayName;
    std::string location;  // its InstallLocation, as recorded
    std::string profile;   // the account's profile folder, "" when the machine does not list it
    std::string productCode;  // "{...}", from the installer's packed key name; "" when it is none
};
[[nodiscard]] std::vector<TPerUserInstall> PERUSERINSTALLS();

}  // namespace korvalend
