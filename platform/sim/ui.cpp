#include "platform/ui.h"

#include "platform/sim/machine.h"

namespace platform {

int32_t messageBoxA(const std::string& text, const std::string& caption, uint32_t type) {
    sim::current().messageBoxes.push_back(sim::MessageBoxRecord{text, caption, type});
    return 1;  // IDOK
}

}  // namespace platform
