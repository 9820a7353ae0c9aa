#include "platform/ui.h"

#include "platform/sim/machine.h"

namespace platform {

int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type) {
    sim::current().messageBoxes.push_back(sim::MessageBoxRecord{text, caption, type});
    return 1;  // IDOK
}

bool processIdToSessionId(uint32_t processId, uint32_t& session) {
    const sim::Machine& m = sim::current();
    // The program's own process is the only one whose session the tests ask.
    if (processId != m.currentProcessId) return false;
    session = m.sessionId;
    return true;
}

bool processWindowStationVisible() { return sim::current().windowStationVisible; }

}  // namespace platform
