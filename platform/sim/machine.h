// sim::Machine: a small, faithful model of the parts of 64-bit Windows the
// program touches. A test builds one through its own API; while it lives it
// is the machine every platform wrapper of the native build works on.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/filesystem.h"
#include "platform/sim/processes_model.h"
#include "platform/sim/registry_model.h"
#include "platform/sim/shell_model.h"
#include "platform/sim/sync_model.h"

namespace sim {

struct Console {
    bool attached = false;
    std::string title;
    int titleChanges = 0;
    uint32_t outputCodePage = 850;
    bool streamsAreConsole = false;      // otherwise both are redirected to files
    std::u16string written[2];           // what WriteConsoleW put on output, error
    std::string bytes[2];                // what WriteFile put on output, error
};

struct TopLevelWindow {
    uint64_t hwnd = 0;
    std::string className;
    std::string title;
};

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    uint32_t type = 0;
};

class Machine {
public:
    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    Registry registry;
    FileSystem files;
    ProcessTable processes;
    Shell shell;
    Mutexes mutexes;

    // Clock, in simulated milliseconds since start. Sleeps and waits advance it.
    uint64_t nowMs = 1000;
    void advance(uint64_t ms) { nowMs += ms; }

    uint32_t currentProcessId = 4242;
    Console console;
    std::vector<TopLevelWindow> windows;
    // The console's own window, found by title while a console is attached.
    uint64_t consoleHwnd = 0x10010;
    std::vector<MessageBoxRecord> messageBoxes;

    // Registers a ProgID in HKCR (HKLM\Software\Classes) with a CLSID.
    void registerProgId(const std::string& progId, const std::string& clsid);
    // Every CLSIDFromProgID call made, for tests of what was probed.
    std::vector<std::u16string> progIdLookups;
    // Overrides the HRESULT of CLSIDFromProgID for one ProgID.
    std::map<std::u16string, int32_t> progIdResults;

private:
    Machine* previous_;
};

// The machine the wrappers work on. Aborts when no machine exists.
[[nodiscard]] Machine& current();

}  // namespace sim
