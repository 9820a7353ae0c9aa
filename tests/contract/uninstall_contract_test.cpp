// The Uninstall-key searches over the real registry (under Wine) and the
// simulated one: enumeration order, value-name case, REG_EXPAND_SZ commands,
// quotes, values of the wrong type.
#include <gtest/gtest.h>

#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"
#include "support/regwrite.h"

namespace {

using namespace korvalend;
using testsupport::RegistrySandbox;

const std::u16string kUninstall = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class UninstallContract : public ::testing::Test {
protected:
    // Display names begin with "Korvaltest", which no real product uses.
    void entry(const std::u16string& key, const std::u16string& display, const std::u16string& command = u"",
               uint32_t commandType = platform::kRegSz) {
        (void)sandbox.deleteTree(kUninstall + key);
        ASSERT_TRUE(sandbox.setString(kUninstall + key, u"DisplayName", display));
        if (!command.empty()) {
            ASSERT_TRUE(sandbox.setString(kUninstall + key, u"UninstallString", command, commandType));
        }
    }
    RegistrySandbox sandbox;
};

TEST_F(UninstallContract, FirstListedEntryWinsAndCaseIsIgnoredInTheText) {
    entry(u"{KORVALTEST-2}", u"Korvaltest Suite 7.6.4.1", u"MsiExec.exe /I{KORVALTEST-2}");
    entry(u"{KORVALTEST-1}", u"Korvaltest Suite 7.6 Help Pack (French)", u"MsiExec.exe /I{KORVALTEST-1}");
    EXPECT_EQ(RECH_PROG("korvaltest suite 7.6", "DisplayName", "UninstallString"), "MsiExec.exe /I{KORVALTEST-1}");
    EXPECT_EQ(RECUP_CLE("KORVALTEST SUITE", "DisplayName", "DisplayName"), "{KORVALTEST-1}");
    EXPECT_TRUE(RECH_APPLICATION("Korvaltest Suite 7.6.4"));
    EXPECT_FALSE(RECH_APPLICATION("Korvaltest Suite 7.6.4.1.0"));
    EXPECT_FALSE(RECH_APPLICATION("The Korvaltest"));
}

TEST_F(UninstallContract, ExpandableCommandsComeBackUnexpandedWithoutQuotes) {
    entry(u"KorvaltestExt_is1", u"Korvaltest Extension A", u"\"%ProgramFiles%\\Korvaltest Ext\\unins000.exe\"",
          platform::kRegExpandSz);
    entry(u"KorvaltestOdd_is1", u"Korvaltest Odd", u"C:\\Odd\"\"\\un\"ins.exe\" /S \"x");
    EXPECT_EQ(RECH_PROG("Korvaltest Extension", "DisplayName", "UninstallString"),
              "%ProgramFiles%\\Korvaltest Ext\\unins000.exe");
    EXPECT_EQ(RECH_PROG("Korvaltest Odd", "DisplayName", "UninstallString"), "C:\\Odd\\unins.exe /S x");
}

TEST_F(UninstallContract, ValueNamesAreMatchedExactlyForTheTextOnly) {
    (void)sandbox.deleteTree(kUninstall + u"{KORVALTEST-3}");
    ASSERT_TRUE(sandbox.setString(kUninstall + u"{KORVALTEST-3}", u"displayname", u"Korvaltest Lower"));
    ASSERT_TRUE(sandbox.setString(kUninstall + u"{KORVALTEST-3}", u"uninstallstring", u"lower.exe"));
    entry(u"{KORVALTEST-4}", u"Korvaltest Upper", u"upper.exe");
    EXPECT_EQ(RECH_PROG("Korvaltest", "DisplayName", "UninstallString"), "upper.exe");
    EXPECT_EQ(RECH_PROG("Korvaltest Lower", "DisplayName", "UninstallString"), "");
    // The returned value is found without regard to case.
    EXPECT_EQ(RECH_PROG("Korvaltest Upper", "DisplayName", "UNINSTALLSTRING"), "upper.exe");
}

TEST_F(UninstallContract, ADisplayNameOfAnotherTypeRaises) {
    (void)sandbox.deleteTree(kUninstall + u"{KORVALTEST-0}");
    ASSERT_TRUE(sandbox.setValue(kUninstall + u"{KORVALTEST-0}", u"DisplayName", platform::kRegDword,
                                 std::string("\x2A\0\0\0", 4)));
    entry(u"{KORVALTEST-5}", u"Korvaltest Fine", u"fine.exe");
    EXPECT_THROW((void)RECH_PROG("Korvaltest", "DisplayName", "UninstallString"), platform::ERegistryException);
}

TEST_F(UninstallContract, ACommandThatCannotBeLaunchedFailsTheRemoval) {
    entry(u"KorvaltestGone_is1", u"Korvaltest Gone", u"\"C:\\korvaltest-no-such-folder\\unins000.exe\"");
    EXPECT_FALSE(SUPP_APPLICATION("Korvaltest Gone", " /verysilent"));
    EXPECT_TRUE(SUPP_APPLICATION("Korvaltest Nothing", " /verysilent"));
}

TEST_F(UninstallContract, AnEntryThatCannotBeOpenedIsPassedOver) {
    entry(u"{KORVALTEST-6}", u"Korvaltest Closed", u"closed.exe");
    entry(u"{KORVALTEST-7}", u"Korvaltest Open", u"open.exe");
    ASSERT_TRUE(sandbox.denyAll(kUninstall + u"{KORVALTEST-6}"));
    EXPECT_EQ(RECH_PROG("Korvaltest", "DisplayName", "UninstallString"), "open.exe");
}

TEST_F(UninstallContract, AnEntryReadableOnlyStillExists) {
    entry(u"{KORVALTEST-8}", u"Korvaltest Read Only");
    ASSERT_TRUE(sandbox.denyWrite(kUninstall + u"{KORVALTEST-8}"));
    EXPECT_TRUE(CHERCHE_CLE_EXIST("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{KORVALTEST-8}"));
    EXPECT_TRUE(CHERCHE_CLE_EXIST("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{korvaltest-8}"));
    EXPECT_FALSE(CHERCHE_CLE_EXIST("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{KORVALTEST-9}"));
    EXPECT_TRUE(RECH_APPLICATION("Korvaltest Read"));
}

}  // namespace
