// What the uninstallation leaves behind, and how much of it the removal may
// take: shortcuts are deleted for good, the suite's folders go to the Recycle
// Bin, and anything that is not plainly the suite's own stays. Every refusal
// and every step not taken is told to REMOVALOBSERVER().
#pragma once

#include <string>
#include <vector>

#include "korvalend/registered.h"
#include "korvalend/suite.h"

namespace korvalend {

// Runs once the suite's Uninstall entry is gone: the shared desktop
// shortcuts, the suite's Startup shortcuts of the current user, the suite's
// layout in the install folder (and the folder once nothing else is left in
// it) and the suite's Start-menu folder. STAYING is what of the family is
// still registered: what another installed suite shares by name stays with
// it, and so does the install folder while a pack installed there stays.
void DELETELEFTOVERS(const TSuiteFacts& SUITE, const std::vector<TRegisteredEntry>& STAYING);

}  // namespace korvalend
