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
