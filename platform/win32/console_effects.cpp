// The console title's change, in a file of its own: the preview, which
// changes nothing, its console's title included, neither links nor imports it.
#include "platform/backend.h"
#include "platform/win32/windows_support.h"

namespace platform {

bool backend::setConsoleTitleA(const char* title) { return SetConsoleTitleA(title) != 0; }

}  // namespace platform
