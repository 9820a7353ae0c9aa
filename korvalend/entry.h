// An Uninstall entry as the run names it: the registry view it is listed in
// and its key name. The one way entries are compared, everywhere (the entries
// already run, the plan, the check, the report): the view always counts, so
// one product code listed in both views is two entries, and the names compare
// as the registry compares key names, letter case aside.
#pragma once

#include <string>

#include "korvalend/suite.h"

namespace korvalend {

struct TEntryId {
    TRegistryView view = TRegistryView::Native;
    std::string name;  // the entry's key name: a product code for Windows Installer products

    friend bool operator==(const TEntryId& a, const TEntryId& b);
    friend bool operator<(const TEntryId& a, const TEntryId& b);
};

// Two key names name the same key (letter case aside, as the registry has it).
[[nodiscard]] bool SAMEKEYNAME(const std::string& a, const std::string& b);

}  // namespace korvalend
