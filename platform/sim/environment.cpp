#include "platform/environment.h"

#include "platform/sim/machine.h"

namespace platform {

std::string expandEnvironmentStringsA(const std::string& text) {
    // A C string: the text ends at its first NUL.
    return sim::current().shell.expand(text.substr(0, text.find('\0')));
}

}  // namespace platform
