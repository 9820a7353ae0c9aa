// Whether anyone could answer a message box of the program.
#pragma once

namespace korvalend {

// The process runs in a user's session (not session 0, where services and
// computer start-up scripts run) on a window station someone sees. Elsewhere
// a box would wait for a click that never comes, and an unattended run would
// never end.
[[nodiscard]] bool SOMEONECANSEEABOX();

}  // namespace korvalend
