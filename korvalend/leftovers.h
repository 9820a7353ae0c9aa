// What the uninstallation leaves behind, and how much of it the removal may
// take: shortcuts are deleted for good, folders go to the Recycle Bin, and
// anything that is not plainly the suite's own stays.
#pragma once

#include <string>

namespace korvalend {

// Runs once the suite's Uninstall entry is gone: the shared desktop
// shortcuts, the family's Startup shortcuts of the current user, the install
// folder and the suite's Start-menu folder.
void DELETELEFTOVERS(const std::string& SCHEMOPEN, const std::string& SVERSOOO);

}  // namespace korvalend
