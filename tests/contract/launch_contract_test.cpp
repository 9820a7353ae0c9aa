// What the program relies on from launching through the shell and waiting:
// on the simulated machine and, under Wine, on real child processes.
#include <gtest/gtest.h>

#include "fonction/launch.h"
#include "support/proclab.h"

namespace {

using fonction::SHELLEXECANDWAIT;
using testsupport::ProcessLab;

TEST(LaunchContract, AChildThatFailsStillCountsAsLaunched) {
    ProcessLab lab;
    const uint64_t start = lab.nowMs();
    EXPECT_TRUE(SHELLEXECANDWAIT(lab.sleeperPath(), "300 3", "", 1, ""));
    EXPECT_GE(lab.nowMs() - start, 290u) << "returned before the child ended";
}

// All 32 bits of the child's exit code come back, apart from "could not launch".
TEST(LaunchContract, TheChildsExitCodeComesBackWhole) {
    ProcessLab lab;
    EXPECT_EQ(fonction::SHELLEXECANDWAITCODE(lab.sleeperPath(), "0 1603", "", 1, ""), 1603u);
    EXPECT_EQ(fonction::SHELLEXECANDWAITCODE(lab.sleeperPath(), "0 -1073741819", "", 1, ""), 0xC0000005u);
    EXPECT_EQ(fonction::SHELLEXECANDWAITCODE(lab.emptyFolder() + "\\none.exe", "", "", 1, ""), std::nullopt);
}

TEST(LaunchContract, AMissingFileFailsAtOnceWithoutADialog) {
    ProcessLab lab;
    const std::string missing[] = {
        lab.emptyFolder() + "\\no-such-program.exe",
        lab.emptyFolder() + "\\no such folder\\uninstall.exe",
        "%KORVALEND_NO_SUCH_VARIABLE%\\system32\\cmd.exe",
    };
    for (const auto& file : missing) {
        const uint64_t start = lab.nowMs();
        EXPECT_FALSE(SHELLEXECANDWAIT(file, " /verysilent", "", 1, "")) << file;
        EXPECT_LT(lab.nowMs() - start, 5000u) << file;
    }
}

// An uninstall command stored with arguments is launched whole, as one file
// name, which names no file.
TEST(LaunchContract, ArgumentsInsideTheFileNameMakeTheLaunchFail) {
    ProcessLab lab;
    EXPECT_FALSE(SHELLEXECANDWAIT(lab.sleeperPath() + " 0 3", "", "", 1, ""));
    EXPECT_FALSE(SHELLEXECANDWAIT(lab.sleeperPath() + " /verysilent", "", "", 1, ""));
}

// The shell itself takes a quoted file name; the program removes quotes
// before it launches anyway.
TEST(LaunchContract, AFileNameInQuotesIsLaunched) {
    ProcessLab lab;
    std::string quoted = lab.sleeperPath();
    quoted.insert(quoted.begin(), '"');
    quoted.push_back('"');
    EXPECT_TRUE(SHELLEXECANDWAIT(quoted, "0", "", 1, ""));
}

TEST(LaunchContract, EnvironmentVariablesInTheFileNameAreExpanded) {
    ProcessLab lab;
    EXPECT_TRUE(SHELLEXECANDWAIT("%SystemRoot%\\system32\\cmd.exe", "/c exit 7", "", 0, ""));
    EXPECT_TRUE(SHELLEXECANDWAIT("%systemroot%\\SYSTEM32\\cmd.exe", "/c exit 0", "", 0, ""));
}

TEST(LaunchContract, MessagesPostedDuringTheWaitAreDispatchedBeforeItReturns) {
    ProcessLab lab;
    lab.createWindow();
    constexpr int kMessages = 20;
    const uint64_t start = lab.nowMs();
    lab.postFromAnotherThread(kMessages, 25);  // all posted within about half a second
    EXPECT_TRUE(SHELLEXECANDWAIT(lab.sleeperPath(), "1000", "", 1, ""));
    const int dispatched = lab.dispatchedCount();  // read before anything else pumps
    lab.joinPoster();
    EXPECT_GE(lab.nowMs() - start, 990u);
    EXPECT_EQ(dispatched, kMessages);
}

}  // namespace
