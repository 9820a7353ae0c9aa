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
#include "platform/sim/installer_model.h"
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
    Installer installer;  // the Windows Installer's registration (msi.dll)

    // Clock, in simulated milliseconds since start. Sleeps and waits advance it.
    uint64_t nowMs = 1000;
    void advance(uint64_t ms) { nowMs += ms; }

    // The wall clock: the local time when nowMs was 0, in milliseconds since
    // 1970-01-01 00:00 local time (2024-03-14 09:30:00.000), and the time
    // zone's bias in minutes (UTC = local time + bias: 300 in US Eastern
    // winter time, -60 in Paris).
    int64_t localClockAtStartMs = 1710408600000;
    int32_t timeZoneBiasMinutes = 0;
    uint32_t currentThreadId = 4343;
    // Every call of the run's record's services (platform/record.h).
    int recordCalls = 0;

    uint32_t currentProcessId = 4242;
    // The account the program runs as.
    std::string accountName = "USER-PC\\User";
    std::string accountSid = "S-1-5-21-1004336348-1177238915-682003330-1001";
    // The system's ANSI code page: 1252, or 932 for a Japanese machine. Set it
    // before seeding paths that hold double-byte characters.
    uint32_t codePage = 1252;
    // The session the program runs in, and whether its window station is one
    // a user sees (not so for services, session 0, or when it cannot be told).
    uint32_t sessionId = 1;
    bool windowStationVisible = true;
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
// The same, or null while none exists (a machine's own members are built
// before it becomes current).
[[nodiscard]] Machine* currentOrNull() noexcept;

}  // namespace sim
