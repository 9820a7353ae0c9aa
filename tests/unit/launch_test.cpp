#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>

#include "fonction/launch.h"
#include "platform/shell.h"
#include "platform/sim/machine.h"
#include "platform/wintypes.h"

namespace {

using fonction::SHELLEXECANDWAIT;

const std::string kTool = "C:\\Tools\\tool.exe";

sim::Program runsFor(uint64_t ms, uint32_t exitCode = 0) {
    sim::Program p;
    p.runMs = ms;
    p.body = [exitCode](sim::ProgramRun&) { return exitCode; };
    return p;
}

TEST(ResetMemory, ZeroesOnlyWhatIsAskedAndNeverPastTheObject) {
    struct Case {
        int32_t size;
        int zeroed;
    };
    for (const Case c : {Case{0, 0}, Case{-1, 0}, Case{INT32_MIN, 0}, Case{3, 3}, Case{8, 8}, Case{1000, 8}}) {
        std::array<unsigned char, 8> block;
        block.fill(0xAB);
        fonction::RESETMEMORY(block, c.size);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(block[i], i < c.zeroed ? 0 : 0xAB) << "size " << c.size << " byte " << i;
    }
}

TEST(PcharOrNil, EmptyIsNullOtherwiseTheStringsOwnText) {
    const std::string empty;
    const std::string text("a\0b", 3);
    EXPECT_EQ(fonction::PCHARORNIL(empty), nullptr);
    EXPECT_EQ(fonction::PCHARORNIL(text), text.c_str());
}

TEST(ShellExecAndWait, RequestRecordAsTheShellReceivesIt) {
    sim::Machine m;
    m.shell.addProgram(kTool, runsFor(50));
    struct Case {
        std::string params, verb, dir;
        int32_t show;
    };
    const Case cases[] = {
        {"", "", "", 1},
        {"/x {A}", "open", "C:\\Work", 0},
    };
    for (const auto& c : cases) {
        m.shell.launches.clear();
        EXPECT_TRUE(SHELLEXECANDWAIT(kTool, c.params, c.verb, c.show, c.dir));
        ASSERT_EQ(m.shell.launches.size(), 1u);
        const sim::LaunchRecord& r = m.shell.launches[0];
        EXPECT_EQ(r.cbSize, 112u);
        EXPECT_EQ(r.mask, 0x740u);
        EXPECT_TRUE(r.hwndNull);
        EXPECT_EQ(r.file, kTool);
        EXPECT_EQ(r.show, c.show);
        // Empty optional texts reach the shell as null pointers.
        auto expect = [](const std::string& s) { return s.empty() ? std::nullopt : std::optional<std::string>(s); };
        EXPECT_EQ(r.parameters, expect(c.params));
        EXPECT_EQ(r.verb, expect(c.verb));
        EXPECT_EQ(r.directory, expect(c.dir));
    }
}

TEST(ShellExecAndWait, LaunchFailuresReturnFalseAtOnceWithoutWaiting) {
    sim::Machine m;
    sim::Program refused = runsFor(100);
    refused.launchError = platform::kErrorAccessDenied;
    m.shell.addProgram("C:\\Tools\\refused.exe", refused);
    m.shell.addProgram(kTool, runsFor(100));
    const std::string cases[] = {
        "C:\\Tools\\missing.exe",
        "",                              // empty file: still a text, and refused
        "C:\\Tools\\refused.exe",
        "\"C:\\Tools\\tool.exe",            // an opening quote alone is part of the name
        "C:\\Tools\\tool.exe /silent",   // arguments inside the file name
        "%NO_SUCH_VARIABLE%\\tool.exe",
    };
    for (const auto& file : cases) {
        const uint64_t before = m.nowMs;
        EXPECT_FALSE(SHELLEXECANDWAIT(file, "", "", 1, "")) << file;
        EXPECT_EQ(m.nowMs, before) << file;
        ASSERT_FALSE(m.shell.launches.empty());
        EXPECT_EQ(m.shell.launches.back().file, std::optional<std::string>(file));
        const int32_t expectedError = file.find("refused") != std::string::npos ? platform::kErrorAccessDenied
                                                                                 : platform::kErrorFileNotFound;
        EXPECT_EQ(m.shell.lastError, expectedError) << file;
    }
    EXPECT_TRUE(m.shell.waitSlices.empty());
    EXPECT_EQ(m.processes.openHandles(), 0);
}

TEST(ShellExecAndWait, ReturnsOnlyAfterTheChildEndedWhateverItsExitCode) {
    sim::Machine m;
    m.shell.addProgram(kTool, runsFor(1234, 1603));
    const uint64_t start = m.nowMs;
    EXPECT_TRUE(SHELLEXECANDWAIT(kTool, "", "", 1, ""));
    EXPECT_EQ(m.nowMs, start + 1234);
    ASSERT_EQ(m.processes.all().size(), 1u);
    EXPECT_FALSE(m.processes.all()[0].running);
    EXPECT_EQ(m.processes.all()[0].exitCode, 1603u);
    // Process handle closed.
    EXPECT_EQ(m.processes.openHandles(), 0);
    // Idle wait without limit, then slices of 10 ms.
    EXPECT_EQ(m.shell.idleWaits, std::vector<uint32_t>{platform::kInfinite});
    ASSERT_FALSE(m.shell.waitSlices.empty());
    for (uint32_t s : m.shell.waitSlices) EXPECT_EQ(s, 10u);
    EXPECT_EQ(m.shell.waitSlices.size(), 124u);  // 123 time-outs, then the end
}

// The child's exit code, all 32 bits, kept apart from "could not launch";
// where there is no process to ask, 0.
TEST(ShellExecAndWait, TheChildsExitCodeComesBack) {
    struct Case {
        const char* what;
        uint32_t childCode;
        bool handedOver;
        std::optional<uint32_t> expected;
        bool waitFails = false;  // the code would read STILL_ACTIVE
    };
    const Case cases[] = {
        {"success", 0, false, 0u},
        {"failure", 1603, false, 1603u},
        {"above 16 bits", 0xC0000005u, false, 0xC0000005u},
        {"handed to a running instance", 1603, true, 0u},
        {"the wait fails", 1603, false, 0u, true},
    };
    for (const Case& c : cases) {
        sim::Machine m;
        sim::Program p = runsFor(100, c.childCode);
        p.handedToRunningInstance = c.handedOver;
        p.waitFails = c.waitFails;
        m.shell.addProgram(kTool, p);
        EXPECT_EQ(fonction::SHELLEXECANDWAITCODE(kTool, "", "", 1, ""), c.expected) << c.what;
        EXPECT_EQ(m.processes.openHandles(), 0) << c.what;
    }
    sim::Machine m;
    EXPECT_EQ(fonction::SHELLEXECANDWAITCODE("C:\\Tools\\missing.exe", "", "", 1, ""), std::nullopt);
}

// The wait for a free mutex on the simulated clock: it takes the mutex with no
// time limit and gives it back at once, serves messages between attempts and
// spends no more than the budget it is given.
TEST(WaitForFreeMutex, WaitsWhileOwnedWithinTheBudget) {
    using fonction::TMutexWait;
    const std::u16string name = u"Global\\_MSIExecute";
    struct Case {
        const char* what;
        std::optional<sim::SimMutex> mutex;  // empty: no such mutex
        uint64_t budgetMs;
        TMutexWait expected;
        uint64_t waitedMs;
    };
    const Case cases[] = {
        {"no such mutex", std::nullopt, 60000, TMutexWait::Free, 0},
        {"free", sim::SimMutex{}, 60000, TMutexWait::Free, 0},
        {"owned a moment", sim::SimMutex{.ownedUntilMs = 2500}, 60000, TMutexWait::Released, 2500},
        {"abandoned after a moment", sim::SimMutex{.ownedUntilMs = 1000, .abandoned = true}, 60000, TMutexWait::Released, 1000},
        {"abandoned before", sim::SimMutex{.abandoned = true}, 60000, TMutexWait::Free, 0},
        {"owned past the budget", sim::SimMutex{.ownedUntilMs = sim::kNeverEnds}, 5000, TMutexWait::OutOfTime, 5000},
        {"budget spent", sim::SimMutex{.ownedUntilMs = sim::kNeverEnds}, 0, TMutexWait::OutOfTime, 0},
        {"access denied", sim::SimMutex{.ownedUntilMs = sim::kNeverEnds, .accessDenied = true}, 60000, TMutexWait::Unknown, 0},
    };
    for (const Case& c : cases) {
        sim::Machine m;
        m.nowMs = 0;
        if (c.mutex) m.mutexes.add(name, *c.mutex);
        m.shell.post(nullptr, 0x0400, 0, 0, 5);
        uint64_t budget = c.budgetMs;
        EXPECT_EQ(fonction::WAITFORFREEMUTEX(name, budget), c.expected) << c.what;
        EXPECT_EQ(m.nowMs, c.waitedMs) << c.what;
        EXPECT_EQ(budget, c.budgetMs - c.waitedMs) << c.what;
        EXPECT_EQ(m.shell.dispatched.size(), c.waitedMs >= 10 ? 1u : 0u) << c.what << ": messages served while waiting";
        if (c.mutex) {
            EXPECT_EQ(m.mutexes.find(name)->ownedByUs, 0) << c.what << ": never held after the call";
        }
        EXPECT_EQ(m.mutexes.openHandles, 0) << c.what;
    }
}

TEST(ShellExecAndWait, TheChildIsInTheProcessTableWhileItRuns) {
    sim::Machine m;
    bool sawItself = false;
    sim::Program p = runsFor(30);
    p.body = [&sawItself](sim::ProgramRun& run) {
        sawItself = run.machine.processes.countRunning("tool.exe") == 1 && run.pid != 0;
        return 0u;
    };
    m.shell.addProgram(kTool, p);
    EXPECT_TRUE(SHELLEXECANDWAIT(kTool, "", "", 1, ""));
    EXPECT_TRUE(sawItself);
    EXPECT_EQ(m.processes.countRunning("tool.exe"), 0);
}

TEST(ShellExecAndWait, MessagesPostedDuringTheWaitAreDispatchedDuringIt) {
    sim::Machine m;
    const platform::Handle window = reinterpret_cast<platform::Handle>(0x1234);
    std::vector<uint64_t> handledAt;
    m.shell.windows[window] = [&](uint32_t, uint64_t, int64_t) {
        handledAt.push_back(m.nowMs);
        return int64_t{0};
    };
    sim::Program p = runsFor(1000);
    p.body = [window](sim::ProgramRun& run) {
        for (uint64_t t = 100; t <= 900; t += 100) run.postMessage(window, 0x0400 /* WM_USER */, t, 0, t);
        return 0u;
    };
    m.shell.addProgram(kTool, p);
    const uint64_t start = m.nowMs;
    EXPECT_TRUE(SHELLEXECANDWAIT(kTool, "", "", 1, ""));
    ASSERT_EQ(handledAt.size(), 9u);
    EXPECT_EQ(m.shell.translated, 9);
    for (std::size_t i = 0; i < handledAt.size(); ++i) {
        const uint64_t posted = start + 100 * (i + 1);
        // Served within one slice of being posted, and before the call returned.
        EXPECT_GE(handledAt[i], posted);
        EXPECT_LE(handledAt[i], posted + 10);
    }
    EXPECT_TRUE(m.shell.queue.empty());
}

TEST(ShellExecAndWait, AChildThatEndsAtOnceIsNotWaitedForNorAreMessagesPumped) {
    sim::Machine m;
    m.shell.addProgram(kTool, runsFor(0));
    m.shell.post(nullptr, 0x0400, 0, 0, m.nowMs);
    EXPECT_TRUE(SHELLEXECANDWAIT(kTool, "", "", 1, ""));
    EXPECT_EQ(m.shell.waitSlices.size(), 1u);
    EXPECT_TRUE(m.shell.dispatched.empty());  // the pump only runs between slices
}

TEST(ShellExecAndWait, HandedToARunningInstanceReturnsTrueAtOnce) {
    sim::Machine m;
    sim::Program p = runsFor(5000);
    p.handedToRunningInstance = true;
    m.shell.addProgram(kTool, p);
    const uint64_t before = m.nowMs;
    EXPECT_TRUE(SHELLEXECANDWAIT(kTool, "x", "", 1, ""));
    EXPECT_EQ(m.nowMs, before);
    EXPECT_TRUE(m.shell.idleWaits.empty());
    EXPECT_TRUE(m.shell.waitSlices.empty());
    EXPECT_TRUE(m.processes.all().empty());
    EXPECT_EQ(m.processes.openHandles(), 0);
}

TEST(ShellExecAndWait, EnvironmentVariablesInTheFileNameAreExpanded) {
    sim::Machine m;
    m.shell.addProgram("C:\\Windows\\system32\\msiexec.exe", runsFor(20));
    EXPECT_TRUE(SHELLEXECANDWAIT("%SystemRoot%\\System32\\Msiexec.exe", "/x {A}", "", 1, ""));
    EXPECT_TRUE(SHELLEXECANDWAIT("%systemroot%\\System32\\Msiexec.exe", "", "", 1, ""));
    ASSERT_EQ(m.shell.launches.size(), 2u);
    EXPECT_EQ(m.shell.launches[0].resolvedFile, "C:\\Windows\\System32\\Msiexec.exe");
    // Parameters are handed on as written.
    EXPECT_EQ(m.shell.launches[0].parameters, std::optional<std::string>("/x {A}"));
}

TEST(SimShell, ExpandsKnownVariablesAndKeepsTheRestAsWritten) {
    sim::Machine m;
    m.shell.setEnv("EMPTY", "");
    const std::pair<std::string, std::string> cases[] = {
        {"%SystemRoot%\\x", "C:\\Windows\\x"},
        {"%SYSTEMROOT%%windir%", "C:\\WindowsC:\\Windows"},
        {"%NOPE%\\x", "%NOPE%\\x"},
        {"%NOPE%SystemRoot%", "%NOPE%SystemRoot%"},
        {"100%", "100%"},
        {"%%", "%%"},
        {"a%EMPTY%b", "ab"},
        {"%SystemRoot", "%SystemRoot"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(m.shell.expand(in), out) << in;
}

}  // namespace
