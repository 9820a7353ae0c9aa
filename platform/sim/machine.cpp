#include "platform/sim/machine.h"

#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {
Machine* g_current = nullptr;
}

Machine::Machine() : previous_(g_current) {
    shell.files_ = &files;
    g_current = this;
}
Machine::~Machine() { g_current = previous_; }

Machine& current() {
    if (g_current == nullptr) {
        std::fputs("sim: no simulated machine exists\n", stderr);
        std::abort();
    }
    return *g_current;
}

Machine* currentOrNull() noexcept { return g_current; }

void Machine::registerProgId(const std::string& progId, const std::string& clsid) {
    registry.setString(Root::LocalMachine, "Software\\Classes\\" + progId + "\\CLSID", "", clsid);
    registry.addKey(Root::LocalMachine, "Software\\Classes\\CLSID\\" + clsid);
}

}  // namespace sim
