// Giving back a mutex, in a file of its own: the preview, which never owns
// the installer's mutex, neither links nor imports it.
#include "platform/backend.h"
#include "platform/win32/windows_support.h"

namespace platform {

bool backend::releaseMutex(Handle mutex) { return ReleaseMutex(win32::asHandle(mutex)) != 0; }

}  // namespace platform
