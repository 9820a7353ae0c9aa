// What the program relies on from the process's session and environment.
#include <gtest/gtest.h>

#include <string>

#include "platform/account.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "platform/ui.h"
#include "support/filelab.h"

namespace {

TEST(SessionContract, TheProcessKnowsItsOwnSessionAndVariables) {
    testsupport::FileLab lab;  // on the simulated build, the machine asked
    uint32_t session = 0xFFFF;
    EXPECT_TRUE(platform::processIdToSessionId(platform::getCurrentProcessId(), session));
    EXPECT_NE(session, 0xFFFFu);
    EXPECT_FALSE(platform::processIdToSessionId(0x7FFFFFF0u, session));
    const std::string root = platform::expandEnvironmentStringsA("%SystemRoot%\\x");
    ASSERT_GE(root.size(), 5u);
    EXPECT_EQ(root.substr(1, 2) + root.substr(root.size() - 2), ":\\\\x");
    EXPECT_EQ(platform::expandEnvironmentStringsA("%systemdrive%"), root.substr(0, 2));
    for (const std::string kept : {"%KORVALEND_NO_SUCH_VARIABLE%\\x", "100%", "", "D:\\Users\\bob"})
        EXPECT_EQ(platform::expandEnvironmentStringsA(kept), kept);
    // The preview names the account whose folders it read, and tells SYSTEM by its SID.
    const platform::Account account = platform::currentAccount();
    EXPECT_NE(account.name.find('\\'), std::string::npos) << account.name;
    EXPECT_EQ(account.sid.rfind("S-1-5-", 0), 0u) << account.sid;
}

}  // namespace
