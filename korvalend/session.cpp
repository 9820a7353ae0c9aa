#include "korvalend/session.h"

#include <cstdint>

#include "platform/console.h"
#include "platform/ui.h"

namespace korvalend {

bool SOMEONECANSEEABOX() {
    // Session 0 may report a visible window station all the same.
    uint32_t session = 0;
    if (!platform::processIdToSessionId(platform::getCurrentProcessId(), session) || session == 0) return false;
    return platform::processWindowStationVisible();
}

}  // namespace korvalend
