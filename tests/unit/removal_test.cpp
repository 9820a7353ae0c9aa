// The whole run on a simulated machine with the suite installed: resolution,
// every step of the removal in order, each stopping point and each refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvalend/globals.h"
#include "korvalend/program.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "platform/folders.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"
#include "platform/wintypes.h"
#include "support/suite_machine.h"

namespace {

using namespace suite;
using sim::Root;

const std::string kMsi = "C:\\Windows\\system32\\Msiexec.exe|";

TEST(Removal, FullRunUninstallsEverythingInOrderAndCleansUp) {
    SuiteMachine s;
    s.addHelpPack();
    s.addExtension("ext-lo", "LibreOffice Extension Grammar");
    s.addExtension("ext-co", "Collabora Extension Tools");
    const uint32_t soffice = s.m.processes.add("soffice.bin");
    const uint32_t other = s.m.processes.add("notepad.exe");

    EXPECT_EQ(s.run(), 0);

    EXPECT_EQ(korvalend::SCHEMOPEN, "c:\\program files\\libreoffice\\");
    EXPECT_EQ(korvalend::SVERSOOO, "LibreOffice 7.6");
    EXPECT_EQ(korvalend::SPRODUCTCODE, kSuiteCode);
    EXPECT_EQ(s.launches(), (Lines{"C:\\Program Files\\Ext\\ext-lo\\unins000.exe| /verysilent",
                                   "C:\\Program Files\\Ext\\ext-co\\unins000.exe| /verysilent",
                                   kMsi + "/passive /norestart /x" + kHelpCode,
                                   kMsi + "/passive /norestart /x" + kSuiteCode}));
    // soffice.bin was ended before the first uninstaller started; nothing else was.
    ASSERT_FALSE(s.m.processes.terminateRequests.empty());
    EXPECT_EQ(s.m.processes.terminateRequests, (std::vector<uint32_t>{soffice}));
    EXPECT_TRUE(s.m.processes.find(other)->running);
    for (const char* entry : {"ext-lo", "ext-co"}) EXPECT_FALSE(s.registered(entry));
    EXPECT_FALSE(s.registered(kHelpCode));
    EXPECT_FALSE(s.registered(kSuiteCode));

    for (const char* name : {"LibreOffice Writer.lnk", "LibreOffice Math.lnk", "LibreOffice 7.6.lnk"}) {
        EXPECT_FALSE(s.m.files.exists(kDesktop + name)) << name;
        EXPECT_EQ(s.m.files.recycled(kDesktop + name), nullptr) << "shortcuts are deleted, not recycled";
    }
    EXPECT_TRUE(s.m.files.exists(kDesktop + "Other Program.lnk"));
    EXPECT_FALSE(s.m.files.exists(kInstall));
    EXPECT_NE(s.m.files.recycled("c:\\program files\\libreoffice"), nullptr);
    EXPECT_FALSE(s.m.files.exists(kPrograms + "LibreOffice 7.6"));
    EXPECT_NE(s.m.files.recycled(kPrograms + "LibreOffice 7.6"), nullptr);
    EXPECT_TRUE(s.m.files.exists(kPrograms + "Other Program\\Other.lnk"));
    EXPECT_TRUE(s.m.files.exists("C:\\Program Files"));
    for (const auto& op : s.m.files.fileOps) EXPECT_EQ(op.flags, 0x654);
    EXPECT_TRUE(s.m.messageBoxes.empty());
}

TEST(Removal, QuietArgumentSelectsQuietInstallerOptionsEverywhere) {
    SuiteMachine s;
    s.addHelpPack();
    EXPECT_EQ(s.run({"/quiet"}), 0);
    EXPECT_EQ(s.launches(), (Lines{kMsi + "/quiet /norestart /x" + kHelpCode, kMsi + "/quiet /norestart /x" + kSuiteCode}));
}

// The help pack's entry may be listed before the suite's (its product code
// sorts first): the suite's own code must be found either way.
TEST(Removal, HelpPackListedFirstOrLastTheSuitesOwnCodeIsUninstalled) {
    for (const std::string helpCode : {"{00000000-2222-4A4A-9C9C-000000000002}", "{FFFFFFFF-2222-4A4A-9C9C-000000000002}"}) {
        SuiteMachine s;
        s.addHelpPack(helpCode);
        EXPECT_EQ(s.run(), 0);
        EXPECT_EQ(korvalend::SPRODUCTCODE, kSuiteCode) << helpCode;
        EXPECT_EQ(s.launches(), (Lines{kMsi + "/passive /norestart /x" + helpCode,
                                       kMsi + "/passive /norestart /x" + kSuiteCode}));
        EXPECT_FALSE(s.registered(kSuiteCode));
    }
}

TEST(Removal, HelpPackWithoutUninstallCommandIsRemovedByItsEntryName) {
    SuiteMachine s;
    sim::scripted::addUninstallEntry(s.m, "{HELP-ENTRY}", "LibreOffice 7.6 Help Pack (French)");
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.launches(), (Lines{kMsi + "/passive /norestart /x{HELP-ENTRY}", kMsi + "/passive /norestart /x" + kSuiteCode}));
}

TEST(Removal, HelpPackCommandLineIsRewrittenWhateverTheCaseOfItsSwitch) {
    EXPECT_EQ(korvalend::STRREPLACEALLCASELESS("/i{A} /I x /i", "/i", "<>"), "<>{A} <> x <>");
    korvalend::SPARAM = korvalend::SPARAM_PASSIVE;
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("MsiExec.exe /I{C}", ""), "/passive /norestart /x{C}");
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("msiexec.exe /i{C} REBOOT=0", ""), "/passive /norestart /x{C} REBOOT=0");
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("", "{K}"), "/passive /norestart /x{K}");
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("NoBlank", ""), "");
}

TEST(Removal, OtherLanguagesHelpPackAndOtherProductsStay) {
    SuiteMachine s;
    sim::scripted::addUninstallEntry(s.m, "{DE}", "LibreOffice 7.6 Help Pack (German)", "MsiExec.exe /I{DE}");
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.launches(), (Lines{kMsi + "/passive /norestart /x" + kSuiteCode}));
    EXPECT_TRUE(s.registered("{DE}"));
}

TEST(Removal, StopsBeforeAnythingWhenTheProductCodeNamesNoEntry) {
    SuiteMachine s;
    s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
    sim::scripted::addUninstallEntry(s.m, "other-name", "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kSuiteCode);
    const uint32_t soffice = s.m.processes.add("soffice.bin");
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(s.launches().empty());
    EXPECT_TRUE(s.m.processes.find(soffice)->running);
    EXPECT_TRUE(s.m.files.exists(kInstall));
}

TEST(Removal, NothingIsDeletedWhenTheInstallerCannotStart) {
    SuiteMachine s;
    s.m.files.systemDirectory = "C:\\Windows\\nowhere";
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
    EXPECT_TRUE(s.m.files.exists(kInstall));
    EXPECT_TRUE(s.m.files.recycleBin.empty());
}

TEST(Removal, NothingIsDeletedWhenTheSuiteIsStillRegisteredAfterwards) {
    SuiteMachine s;
    sim::scripted::addWindowsInstaller(s.m, {.runMs = 2000, .leaveEntry = true});
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.launches().size(), 1u);
    EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
    EXPECT_TRUE(s.m.files.exists(kInstall + "program\\bootstrap.ini"));
    EXPECT_TRUE(s.m.files.recycleBin.empty());
}

TEST(Resolution, OnlyTheFirstExistingVendorKeyIsLookedUp) {
    // The first vendor key exists but records nothing: the others are not tried.
    SuiteMachine s("SOFTWARE\\Collabora\\Collabora Office");
    s.m.registry.addKey(Root::LocalMachine, "SOFTWARE\\MimO\\LibreOffice\\7.6");
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(korvalend::SCHEMOPEN, "");
    EXPECT_TRUE(s.launches().empty());
}

TEST(Resolution, EachDistributionsVendorKeyIsFound) {
    for (const char* vendor : {"SOFTWARE\\The Document Foundation\\LibreOffice", "SOFTWARE\\MimO\\LibreOffice",
                               "SOFTWARE\\Collabora\\Collabora Office", "SOFTWARE\\allotropia software GmbH\\ZetaOffice"}) {
        SuiteMachine s(vendor);
        EXPECT_EQ(korvalend::FINDINSTALLLOCATION(), "c:\\program files\\libreoffice\\") << vendor;
    }
}

TEST(Resolution, FailedLookupsLeaveTheFactsEmptyAndChangeNothing) {
    struct Case {
        const char* name;
        void (*spoil)(SuiteMachine&);
    };
    const Case cases[] = {
        {"noTrailingBackslash",
         [](SuiteMachine& s) {
             s.m.registry.setString(Root::LocalMachine,
                                    "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                                    "INSTALLLOCATION", "C:\\Program Files\\LibreOffice");
         }},
        {"noBootstrap", [](SuiteMachine& s) { (void)s.m.files.deleteFile(kInstall + "program\\bootstrap.ini"); }},
        {"uninstallWithX",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", "MsiExec.exe /X" + kSuiteCode);
         }},
        {"noEntry",
         [](SuiteMachine& s) { s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode); }},
    };
    for (const Case& c : cases) {
        SuiteMachine s;
        c.spoil(s);
        EXPECT_EQ(s.run(), 0) << c.name;
        EXPECT_TRUE(s.launches().empty()) << c.name;
        EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk")) << c.name;
    }
}

TEST(Resolution, MarkerInOtherCaseStillYieldsTheCode) {
    SuiteMachine s;
    sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", "msiexec.exe /i" + kSuiteCode);
    korvalend::RESOLVESUITEFACTS();
    EXPECT_EQ(korvalend::SPRODUCTCODE, kSuiteCode);
}

TEST(Refusals, CollaboraShortcutsOnlyForACollaboraProductKey) {
    for (const std::string key : {"Collabora Office 23.05", "LibreOffice 7.6"}) {
        SuiteMachine s;
        s.productKey = key;
        s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\nProductKey=" + key + "\n");
        sim::scripted::addUninstallEntry(s.m, kSuiteCode, key + ".4.1", "MsiExec.exe /I" + kSuiteCode);
        for (const char* app : {"Calc", "Writer", "Math", "Draw", "Impress"})
            s.m.files.addFile(kDesktop + "Collabora Office " + app + ".lnk", "lnk");
        EXPECT_EQ(s.run(), 0);
        const bool collabora = key.rfind("Collabora", 0) == 0;
        EXPECT_EQ(s.m.files.exists(kDesktop + "Collabora Office Calc.lnk"), !collabora) << key;
        EXPECT_EQ(s.m.files.exists(kDesktop + "Collabora Office Impress.lnk"), !collabora) << key;
    }
}

TEST(Refusals, StartupShortcutsOfTheFamilyOnly) {
    SuiteMachine s;
    for (const char* name : {"LibreOffice 7.6.lnk", "libreoffice quickstart office.lnk", "ZetaOffice.lnk",
                             "My Office Tool.lnk", "LibreOffice.txt", "Collabora Office.lnk"})
        s.m.files.addFile(kStartup + name, "x");
    s.m.files.addDirectory(kStartup + "LibreOffice Office.lnk");
    EXPECT_EQ(s.run(), 0);
    for (const char* gone : {"LibreOffice 7.6.lnk", "libreoffice quickstart office.lnk", "ZetaOffice.lnk",
                             "Collabora Office.lnk"})
        EXPECT_FALSE(s.m.files.exists(kStartup + gone)) << gone;
    for (const char* kept : {"My Office Tool.lnk", "LibreOffice.txt", "LibreOffice Office.lnk"})
        EXPECT_TRUE(s.m.files.exists(kStartup + kept)) << kept;
}

TEST(Refusals, DangerousInstallLocationsAreNotSentAway) {
    for (const std::string location : {"C:\\", "C:\\Program Files\\", "C:\\Users\\User\\", "C:\\Windows\\",
                                       "C:\\Users\\", "C:\\Users\\someone\\", "C:\\ProgramData\\"}) {
        SuiteMachine s;
        s.m.registry.setString(Root::LocalMachine,
                               "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                               "INSTALLLOCATION", location);
        s.m.files.addFile(location + "PROGRAM\\bootstrap.ini", "[Bootstrap]\nProductKey=LibreOffice 7.6\n");
        s.m.files.addFile(location + "precious.doc", "data");
        EXPECT_EQ(s.run(), 0) << location;
        EXPECT_FALSE(s.registered(kSuiteCode)) << location;  // the uninstallation itself ran
        EXPECT_TRUE(s.m.files.exists(location + "precious.doc")) << location;
        EXPECT_FALSE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk")) << location;
    }
}

TEST(Refusals, AnInstallFolderThatIsAJunctionLeavesItsTargetAlone) {
    SuiteMachine s;
    s.m.files.addFile("D:\\Data\\thesis.doc", "data");
    s.m.registry.setString(Root::LocalMachine, "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                           "INSTALLLOCATION", "C:\\LO\\");
    s.m.files.addJunction("C:\\LO", "D:\\Data");
    s.m.files.addFile("D:\\Data\\PROGRAM\\bootstrap.ini", "[Bootstrap]\nProductKey=LibreOffice 7.6\n");
    EXPECT_EQ(s.run(), 0);
    EXPECT_FALSE(s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.exists("D:\\Data\\thesis.doc"));
}

TEST(Refusals, AProductKeyThatIsNoPlainNameIsNeverUsedInAPath) {
    for (const std::string key : {"..", "..\\..\\Windows", "LibreOffice*", "CON", "a:b"}) {
        SuiteMachine s;
        s.productKey = key;
        s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\nProductKey=" + key + "\n");
        sim::scripted::addUninstallEntry(s.m, kSuiteCode, key + " suite", "MsiExec.exe /I" + kSuiteCode);
        s.m.files.addFile(kPrograms + "keep.lnk", "x");
        EXPECT_EQ(s.run(), 0) << key;
        EXPECT_FALSE(s.registered(kSuiteCode)) << key;
        EXPECT_TRUE(s.m.files.exists(kPrograms + "keep.lnk")) << key;
        EXPECT_TRUE(s.m.files.exists("C:\\Windows")) << key;
        EXPECT_TRUE(s.m.files.exists(kPrograms + "LibreOffice 7.6")) << key;  // named by no plain key
    }
}

TEST(Refusals, UnresolvableSpecialFoldersSkipTheirSteps) {
    SuiteMachine s;
    s.m.files.addFile("C:\\LibreOffice Writer.lnk", "root of the drive");
    s.m.files.addDirectory("C:\\LibreOffice 7.6");
    for (int32_t csidl : {platform::kCsidlCommonDesktopDirectory, platform::kCsidlCommonPrograms, platform::kCsidlStartup})
        s.m.files.makeUnresolvable(csidl);
    EXPECT_EQ(s.run(), 0);
    EXPECT_FALSE(s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.exists("C:\\LibreOffice Writer.lnk"));
    EXPECT_TRUE(s.m.files.exists("C:\\LibreOffice 7.6"));
    EXPECT_FALSE(s.m.files.exists(kInstall));  // the install folder's step does not need them
}

}  // namespace

namespace {

// Lookups that come back odd must not widen the refusals to a whole drive.
TEST(Refusals, AProfileAtTheDriveRootDoesNotForbidTheUsualInstallFolder) {
    SuiteMachine s;
    s.m.files.setSpecialFolder(0x28, "C:\\root");
    s.m.files.setSpecialFolder(platform::kCsidlCommonDesktopDirectory, "C:\\Desktop");
    EXPECT_EQ(s.run(), 0);
    EXPECT_FALSE(s.m.files.exists(kInstall));
    EXPECT_NE(s.m.files.recycled("c:\\program files\\libreoffice"), nullptr);
}

}  // namespace

namespace {

// Siblings named after the product key may be listed before the suite: the
// entry that adds only version digits is the suite's.
TEST(Resolution, ASiblingListedFirstIsNotTakenForTheSuite) {
    SuiteMachine s;
    sim::scripted::addUninstallEntry(s.m, "{00000000-5DK0-0000-0000-000000000000}", "LibreOffice 7.6 SDK",
                                     "MsiExec.exe /I{00000000-5DK0-0000-0000-000000000000}");
    korvalend::RESOLVESUITEFACTS();
    EXPECT_EQ(korvalend::SPRODUCTCODE, kSuiteCode);
}

TEST(Resolution, ASuiteNamedWithMoreWordsIsStillFoundPastItsHelpPack) {
    SuiteMachine s;
    s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
    sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6 (64-bit)", "MsiExec.exe /I" + kSuiteCode);
    s.addHelpPack("{00000000-2222-4A4A-9C9C-000000000002}");
    korvalend::RESOLVESUITEFACTS();
    EXPECT_EQ(korvalend::SPRODUCTCODE, kSuiteCode);
}

TEST(Removal, AHelpPackRecordedWithSlashXStillRunsUnattended) {
    korvalend::SPARAM = korvalend::SPARAM_QUIET;
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("MsiExec.exe /X{C}", ""), "/quiet /norestart /x{C}");
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("MsiExec.exe /I{C}", ""), "/quiet /norestart /x{C}");
}

TEST(Refusals, NoSystemFolderMeansNoInstallerAndNothingDeleted) {
    SuiteMachine s;
    s.m.files.systemDirectoryFails = true;
    s.m.files.addFile("C:\\Msiexec.exe", "planted");
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(s.launches().empty());
    EXPECT_TRUE(s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.exists(kInstall));
}

TEST(Refusals, FoldersReachedThroughALinkOrByAnotherSpellingStay) {
    for (const std::string location : {"C:\\Documents and Settings\\someone\\LO\\", "C:\\PROGRA~1\\"}) {
        SuiteMachine s;
        s.m.files.addJunction("C:\\Documents and Settings", "C:\\Users");
        s.m.registry.setString(Root::LocalMachine,
                               "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                               "INSTALLLOCATION", location);
        s.m.files.addFile(location + "PROGRAM\\bootstrap.ini", "[Bootstrap]\nProductKey=LibreOffice 7.6\n");
        s.m.files.addFile(location + "precious.doc", "data");
        EXPECT_EQ(s.run(), 0) << location;
        EXPECT_FALSE(s.registered(kSuiteCode)) << location;
        EXPECT_TRUE(s.m.files.exists(location + "precious.doc")) << location;
    }
}

TEST(Refusals, AProductKeyNamingAWindowsStartMenuFolderLeavesIt) {
    SuiteMachine s;
    const std::string key = "Startup";
    s.m.files.setSpecialFolder(0x18, kPrograms + "Startup");
    s.m.files.addFile(kPrograms + "Startup\\Antivirus.lnk", "x");
    s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\nProductKey=" + key + "\n");
    sim::scripted::addUninstallEntry(s.m, kSuiteCode, key, "MsiExec.exe /I" + kSuiteCode);
    EXPECT_EQ(s.run(), 0);
    EXPECT_FALSE(s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.exists(kPrograms + "Startup\\Antivirus.lnk"));
}

}  // namespace
