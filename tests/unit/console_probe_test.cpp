// The console-window probe and the ProgID probe on the simulated machine.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fonction/progid.h"
#include "korvalend/console_probe.h"
#include "platform/sim/machine.h"

namespace {

TEST(ConsoleProbe, UniqueTitleIsTickSlashProcessId) {
    struct Case {
        uint64_t tick;
        uint32_t pid;
        const char* title;
    };
    const std::vector<Case> cases = {
        {987, 42, "987/42"},
        {0, 0, "0/0"},
        {1099511627781ull, 7, "1099511627781/7"},  // beyond 32 bits: not truncated
        {18446744073709551615ull, 4294967295u, "18446744073709551615/4294967295"},  // never signed
    };
    for (const auto& c : cases) {
        sim::Machine m;
        m.nowMs = c.tick;
        m.currentProcessId = c.pid;
        // No console: the title cannot be set, but the lookup still asks for
        // it, and a window that happens to carry it is found.
        m.windows.push_back({0x777, "SomeClass", c.title});
        m.windows.push_back({0x778, "Other", std::to_string(c.tick + 40) + "/" + std::to_string(c.pid)});
        EXPECT_EQ(korvalend::GETCONSOLEHWND(), 0x777u) << c.title;
    }
}

TEST(ConsoleProbe, WithoutConsoleReturnsZeroAfterTheFixedPause) {
    sim::Machine m;
    m.windows.push_back({0x10, "Shell_TrayWnd", ""});
    const uint64_t before = m.nowMs;
    EXPECT_EQ(korvalend::GETCONSOLEHWND(), 0u);
    EXPECT_EQ(m.nowMs - before, 40u);
    EXPECT_EQ(m.console.titleChanges, 0);
}

TEST(ConsoleProbe, AttachedConsoleIsFoundAndItsTitleRestored) {
    struct Case {
        std::string title;
        std::string restored;
    };
    const std::vector<Case> cases = {
        {"C:\\Windows\\system32\\cmd.exe", "C:\\Windows\\system32\\cmd.exe"},
        {"", ""},
        {"caf\xE9 \x80", "caf\xE9 \x80"},
        {std::string(1023, 't'), std::string(1023, 't')},
        // Longer titles are kept as far as the 1024-byte buffer holds them.
        {std::string(1024, 'u'), std::string(1023, 'u')},
        {std::string(1 << 20, 'v'), std::string(1023, 'v')},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        m.console.attached = true;
        m.console.title = c.title;
        EXPECT_EQ(korvalend::GETCONSOLEHWND(), m.consoleHwnd);
        EXPECT_EQ(m.console.title, c.restored) << c.title.size();
        EXPECT_EQ(m.console.titleChanges, 2);
        EXPECT_EQ(m.nowMs, 1040u);
    }
}

TEST(ProgIdProbe, RegistrationDecides) {
    sim::Machine m;
    m.registerProgId("Good.App.1", "{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
    m.registry.setString(sim::Root::LocalMachine, "Software\\Classes\\Bad.App\\CLSID", "", "not a guid");
    m.registry.addKey(sim::Root::LocalMachine, "Software\\Classes\\NoClsid.App");
    struct Case {
        std::u16string progId;
        bool found;
    };
    const std::vector<Case> cases = {
        {u"Good.App.1", true},
        {u"GOOD.APP.1", true},
        {u"Good.App", false},
        {u"Bad.App", false},
        {u"NoClsid.App", false},
        {u"", false},
        {std::u16string(100000, u'x'), false},
    };
    for (const auto& c : cases) EXPECT_EQ(fonction::PROGIDEXISTS(c.progId), c.found) << c.progId.size();
    EXPECT_EQ(m.registry.openHandles(), 0);
    // The empty ProgID still reaches the platform, as an empty text.
    EXPECT_EQ(m.progIdLookups[5], u"");
}

TEST(ProgIdProbe, SuccessIsBit31Clear) {
    sim::Machine m;
    struct Case {
        int32_t hr;
        bool found;
    };
    const std::vector<Case> cases = {
        {0, true},                                      // S_OK
        {1, true},                                      // S_FALSE
        {0x7FFFFFFF, true},
        {static_cast<int32_t>(0x800401F3u), false},      // CO_E_CLASSSTRING
        {static_cast<int32_t>(0x80040154u), false},      // REGDB_E_CLASSNOTREG
        {static_cast<int32_t>(0x80000000u), false},
        {-1, false},
    };
    for (const auto& c : cases) {
        m.progIdResults[u"Some.App"] = c.hr;
        EXPECT_EQ(fonction::PROGIDEXISTS(u"Some.App"), c.found) << c.hr;
    }
}

}  // namespace
