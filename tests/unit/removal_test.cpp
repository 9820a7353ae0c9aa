// The whole run on a simulated machine with the suite installed: resolution,
// every step of the removal in order, each stopping point and each refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fonction/dbcs.h"
#include "korvalend/family.h"
#include "korvalend/globals.h"
#include "korvalend/observer.h"
#include "korvalend/program.h"
#include "korvalend/removal.h"
#include "platform/sim/processes_model.h"
#include "korvalend/resolution.h"
#include "platform/folders.h"
#include "platform/sim/machine.h"
#include "platform/text.h"
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
    const uint32_t soffice = s.m.processes.addImage(kInstall + "program\\soffice.bin");
    const std::string openOffice = "C:\\Program Files (x86)\\OpenOffice 4\\program\\soffice.bin";
    s.m.files.addFile(openOffice, "image");
    const uint32_t other = s.m.processes.addImage(openOffice);
    const uint32_t notepad = s.m.processes.add("notepad.exe");

    EXPECT_EQ(s.run(), 0);

    EXPECT_EQ(s.first().SCHEMOPEN, "c:\\program files\\libreoffice\\");
    EXPECT_EQ(s.first().SVERSOOO, "LibreOffice 7.6");
    EXPECT_EQ(s.first().SPRODUCTCODE, kSuiteCode);
    EXPECT_EQ(s.launches(), (Lines{"C:\\Program Files\\Ext\\ext-lo\\unins000.exe| /verysilent",
                                   "C:\\Program Files\\Ext\\ext-co\\unins000.exe| /verysilent",
                                   kMsi + "/passive /norestart /x" + kHelpCode,
                                   kMsi + "/passive /norestart /x" + kSuiteCode}));
    // The suite's soffice.bin was ended before the first uninstaller started;
    // another suite's, and everything else, runs on.
    ASSERT_FALSE(s.m.processes.terminateRequests.empty());
    EXPECT_EQ(s.m.processes.terminateRequests, (std::vector<uint32_t>{soffice}));
    EXPECT_TRUE(s.m.processes.find(other)->running);
    EXPECT_TRUE(s.m.processes.find(notepad)->running);
    EXPECT_TRUE(
        s.observer.saw(openOffice + " is another program's soffice.bin (process " + std::to_string(other) + ")"));
    for (const char* entry : {"ext-lo", "ext-co"}) EXPECT_FALSE(s.registered(entry));
    EXPECT_FALSE(s.registered(kHelpCode));
    EXPECT_FALSE(s.registered(kSuiteCode));

    for (const char* name : {"LibreOffice Writer.lnk", "LibreOffice Math.lnk", "LibreOffice 7.6.lnk"}) {
        EXPECT_FALSE(s.m.files.exists(kDesktop + name)) << name;
        EXPECT_EQ(s.m.files.recycled(kDesktop + name), nullptr) << "shortcuts are deleted, not recycled";
    }
    EXPECT_TRUE(s.m.files.exists(kDesktop + "Other Program.lnk"));
    EXPECT_FALSE(s.m.files.exists(kInstall));
    for (const char* item : {"", "\\program", "\\CREDITS.fodt", "\\readmes"})
        EXPECT_NE(s.m.files.recycled(std::string("c:\\program files\\libreoffice") + item), nullptr) << item;
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
        EXPECT_EQ(s.first().SPRODUCTCODE, kSuiteCode) << helpCode;
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
    // No installer switch: Msiexec.exe would show its usage box and wait.
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("NoBlank", "{K}"), "/passive /norestart /x{K}");
    EXPECT_EQ(korvalend::HELPPACKPARAMETERS("C:\\pack\\uninst.exe /S", "{K}"), "/passive /norestart /x{K}");
}

// Every help pack and language pack of the suite goes (French first, then in
// listing order), every extension once, whatever is listed where; siblings of
// other products and broken entries listed after the suite's stay untouched.
TEST(Removal, EveryPackAndExtensionGoesOnceInOrder) {
    SuiteMachine s;
    sim::scripted::addUninstallEntry(s.m, "{0DE}", "LibreOffice 7.6 Help Pack (German)", "MsiExec.exe /I{0DE}");
    sim::scripted::addUninstallEntry(s.m, "{1ES}", "LibreOffice 7.6 Help Pack (Spanish)");  // no command
    sim::scripted::addUninstallEntry(s.m, "{2LP}", "LibreOffice 7.6 Language Pack (German)", "MsiExec.exe /I{2LP}");
    s.addHelpPack("{FFR}");
    sim::scripted::addUninstallEntry(s.m, "{3DV}", "LibreOfficeDev 24.8 Help Pack (German)", "MsiExec.exe /I{3DV}");
    s.addExtension("ext-a", "LibreOffice Extension Alpha");
    s.addExtension("ext-c", "Collabora Extension Gamma");
    // Listed twice: the same uninstaller runs once, and its second entry stays.
    sim::scripted::addUninstallEntry(s.m, "ext-a-copy", "LibreOffice Extension Alpha", "C:\\Program Files\\Ext\\ext-a\\unins000.exe");
    sim::scripted::addUninstallEntry(s.m, "ext-a-upper", "LibreOffice Extension Alpha", "C:\\PROGRAM FILES\\EXT\\EXT-A\\UNINS000.EXE");
    // An uninstaller that fails and leaves its entry runs once.
    sim::scripted::addUninstallEntry(s.m, "ext-b", "LibreOffice Extension Beta", "C:\\Ext\\stuck.exe");
    sim::Program stuck;
    stuck.body = [](sim::ProgramRun&) { return 5u; };
    s.m.shell.addProgram("C:\\Ext\\stuck.exe", stuck);
    s.m.registry.setDword(Root::LocalMachine, sim::scripted::kUninstallKey + "\\{ZZZ}", "DisplayName", 1);

    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.launches(), (Lines{"C:\\Program Files\\Ext\\ext-a\\unins000.exe| /verysilent",
                                   "C:\\Ext\\stuck.exe| /verysilent",
                                   "C:\\Program Files\\Ext\\ext-c\\unins000.exe| /verysilent",
                                   kMsi + "/passive /norestart /x{FFR}", kMsi + "/passive /norestart /x{0DE}",
                                   kMsi + "/passive /norestart /x{1ES}", kMsi + "/passive /norestart /x{2LP}",
                                   kMsi + "/passive /norestart /x" + kSuiteCode}));
    EXPECT_TRUE(s.registered("{3DV}"));
    EXPECT_TRUE(s.registered("ext-a-copy"));
    EXPECT_TRUE(s.registered("ext-a-upper"));
    EXPECT_FALSE(s.m.files.exists(kInstall));
}

TEST(Removal, StopsBeforeAnythingWhenTheProductCodeNamesNoEntry) {
    SuiteMachine s;
    s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
    sim::scripted::addUninstallEntry(s.m, "other-name", "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kSuiteCode);
    const uint32_t soffice = s.m.processes.add("soffice.bin");
    EXPECT_EQ(s.run(), korvalend::kExitUnresolvedFacts);  // the suite stays, by a name the run cannot uninstall
    EXPECT_TRUE(s.launches().empty());
    EXPECT_TRUE(s.m.processes.find(soffice)->running);
    EXPECT_TRUE(s.m.files.exists(kInstall));
}

TEST(Removal, NothingIsDeletedWhenTheInstallerCannotStart) {
    SuiteMachine s;
    s.m.files.systemDirectory = "C:\\Windows\\nowhere";
    EXPECT_EQ(s.run(), 1603);
    EXPECT_TRUE(s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
    EXPECT_TRUE(s.m.files.exists(kInstall));
    EXPECT_TRUE(s.m.files.recycleBin.empty());
}

const std::string kCollabora = "SOFTWARE\\Collabora\\Collabora Office";
const std::string kCode32 = "{32323232-1111-4A4A-9C9C-000000000032}";
const std::string kCodeCo = "{C0C0C0C0-1111-4A4A-9C9C-0000000000C0}";
const std::string kX86 = "C:\\Program Files (x86)\\LibreOffice\\";
const std::string kCoFolder = "C:\\Program Files\\Collabora Office\\";
// Product codes the Windows Installer no longer holds (the tests make them orphans).
const std::string kOrphan = "{7C0E4A1B-7621-4B1E-9D2C-0000000000F1}";
const std::string kOrphan2 = "{7C0E4A1B-7621-4B1E-9D2C-0000000000F2}";
const std::string kOrphan3 = "{7C0E4A1B-7621-4B1E-9D2C-0000000000F3}";

// A Collabora Office beside the suite whose product key cannot be read: the run leaves it.
void besideAnUnresolvedSuite(SuiteMachine& s) {
    s.addSuite(kCollabora, false, kCoFolder, "Collabora Office 24.04", kCodeCo);
    (void)s.m.files.deleteFile(kCoFolder + "program\\bootstrap.ini");
}

// The exit code a deployment tool acts on: 0 only when nothing of the family
// stays registered; 3010 when a restart completes a removal; otherwise the
// installer's own code (1641 read as 3010: the run promised no restart), or
// 1603 when it gave none. Nothing is deleted while the suite stays.
TEST(Outcome, ExitCodeFollowsTheRegistrationAndTheInstallersCode) {
    struct Case {
        const char* what;
        std::optional<uint32_t> installerCode;  // empty: 0 on removal, 1605 otherwise
        bool entryStays;
        int expected;
        void (*alsoOnTheMachine)(SuiteMachine&) = nullptr;
    };
    const Case cases[] = {
        {"removed", std::nullopt, false, 0},
        {"removed, restart pending", 3010, false, 3010},
        {"removed, restart started", 1641, false, 3010},
        {"removed, failure claimed", 1603, false, 0},
        {"cancelled by the user", 1602, true, 1602},
        {"fatal error", 1603, true, 1603},
        // The installer no longer knows it: an orphan, which keeps nothing registered; nothing is deleted.
        {"unknown product", std::nullopt, true, 0},
        {"installer busy", 1618, true, 1618},
        {"restart will finish it", 3010, true, 3010},
        {"restart started", 1641, true, 3010},
        {"crashed", 0xC0000005u, true, static_cast<int>(0xC0000005u)},
        {"no code, entry stays", 0, true, 1603},
        {"no process handle", std::nullopt, true, 1603,
         [](SuiteMachine& s) {
             sim::Program p;
             p.handedToRunningInstance = true;
             s.m.shell.addProgram(sim::scripted::kSystemInstaller, p);
         }},
        {"cannot start", std::nullopt, true, 1603,
         [](SuiteMachine& s) {
             sim::Program p;
             p.launchError = platform::kErrorAccessDenied;
             s.m.shell.addProgram(sim::scripted::kSystemInstaller, p);
         }},
        {"an entry named as the suite stays", std::nullopt, false, 1603,
         [](SuiteMachine& s) { sim::scripted::addUninstallEntry(s.m, "{OTHER}", "LibreOffice 7.6.4.1 (x64)"); }},
        {"a suite named with more words stays", std::nullopt, false, 1603,
         [](SuiteMachine& s) { sim::scripted::addUninstallEntry(s.m, "{OTHER}", "LibreOffice 7.6 (German edition)"); }},
        // The installer's own code wins over the program's: it says what to do next.
        {"cancelled, beside a suite that cannot be resolved", 1602, true, 1602, besideAnUnresolvedSuite},
        {"installer busy, beside a suite that cannot be resolved", 1618, true, 1618, besideAnUnresolvedSuite},
        {"restart will finish it, beside a suite that cannot be resolved", 3010, true, 3010, besideAnUnresolvedSuite},
    };
    for (const Case& c : cases) {
        SuiteMachine s;
        sim::scripted::addWindowsInstaller(s.m, {.runMs = 2000, .leaveEntry = c.entryStays, .exitCode = c.installerCode});
        if (c.alsoOnTheMachine) c.alsoOnTheMachine(s);
        EXPECT_EQ(s.run(), c.expected) << c.what;
        const bool removed = !c.entryStays && (c.expected == 0 || c.expected == 3010);
        EXPECT_EQ(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"), !removed) << c.what;
        EXPECT_EQ(s.m.files.exists(kInstall + "program\\bootstrap.ini"), !removed) << c.what;
        EXPECT_EQ(s.m.files.recycleBin.empty(), !removed) << c.what;
    }
}

// Another installation owns the installer's mutex past the ten minutes the
// whole run may wait: the run gives up there, starts no Msiexec.exe (whose
// box could wait for an answer nobody gives) and deletes nothing.
TEST(Outcome, ABusyInstallerIsWaitedForTenMinutesThenNothingIsStarted) {
    SuiteMachine s;
    s.addHelpPack();
    s.addExtension("ext-lo", "LibreOffice Extension Grammar");
    const uint64_t start = s.m.nowMs;
    s.m.mutexes.add(sim::scripted::kInstallerMutex, {.ownedUntilMs = start + 11 * 60000});
    EXPECT_EQ(s.run(), 1618);
    // The extension's own uninstaller needs no installer; the wait begins after it.
    EXPECT_EQ(s.launches(), (Lines{"C:\\Program Files\\Ext\\ext-lo\\unins000.exe| /verysilent"}));
    EXPECT_NEAR(static_cast<double>(s.m.nowMs - start), 40.0 + 500 + 10 * 60000, 30.0);
    EXPECT_TRUE(s.registered(kHelpCode) && s.registered(kSuiteCode));
    EXPECT_TRUE(s.m.files.recycleBin.empty());
    EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
    EXPECT_EQ(s.m.mutexes.find(sim::scripted::kInstallerMutex)->ownedByUs, 0);
    EXPECT_EQ(s.m.mutexes.openHandles, 0);
}

// Every installation of the family a machine holds: both registry views,
// every vendor key, one suite after the other in their fixed order, each with
// its own facts; and the exit code of what stays.
TEST(Suites, EveryInstallationOfTheFamilyInTurn) {
    struct Case {
        const char* what;
        std::function<void(SuiteMachine&)> setup;
        int expected;
        Lines launches;  // the Msiexec.exe parameters and extension commands, in order
        std::function<void(SuiteMachine&)> check = nullptr;
    };
    const std::string x = "/passive /norestart /x";
    const auto ext = [](const std::string& entry) { return "C:\\Program Files\\Ext\\" + entry + "\\unins000.exe| /verysilent"; };
    const Case cases[] = {
        {"a 32-bit suite alone",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, kTdf);
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.addSuite(kTdf, true, kX86, "LibreOffice 7.6", kCode32);
         },
         0, {x + kCode32},
         [](SuiteMachine& s) {
             EXPECT_EQ(s.first().view, korvalend::TRegistryView::Wow32);
             EXPECT_NE(s.m.files.recycled("c:\\program files (x86)\\libreoffice"), nullptr);
             EXPECT_FALSE(s.m.files.exists(kDesktop + "LibreOffice 7.6.lnk"));
         }},
        {"a 64-bit and a 32-bit suite of one product key: each its own code, the shared names with the last",
         [](SuiteMachine& s) { s.addSuite(kTdf, true, kX86, "LibreOffice 7.6", kCode32); },
         0, {x + kSuiteCode, x + kCode32},
         [](SuiteMachine& s) {
             ASSERT_EQ(s.observer.suites.size(), 2u);
             EXPECT_EQ(s.observer.suites[1].SCHEMOPEN, "c:\\program files (x86)\\libreoffice\\");
             EXPECT_TRUE(s.observer.saw("desktop shortcut named after the product key, another installed suite has "
                                        "the same product key"));
             EXPECT_FALSE(s.m.files.exists(kDesktop + "LibreOffice 7.6.lnk"));
             EXPECT_FALSE(s.m.files.exists(kPrograms + "LibreOffice 7.6"));
         }},
        {"LibreOffice and Collabora Office side by side, each with its own pack and extension",
         [](SuiteMachine& s) {
             s.addHelpPack();
             s.addExtension("ext-lo", "LibreOffice Extension Grammar");
             s.addExtension("ext-co", "Collabora Extension Tools");
             s.addSuite(kCollabora, false, kCoFolder, "Collabora Office 24.04", kCodeCo);
             sim::scripted::addUninstallEntry(s.m, "{C0HP}", "Collabora Office 24.04 Help Pack (French)");
             s.m.processes.addImage(kInstall + "program\\soffice.bin");
             s.m.processes.addImage(kCoFolder + "program\\soffice.bin");
         },
         0,
         {"C:\\Program Files\\Ext\\ext-lo\\unins000.exe| /verysilent", x + kHelpCode, x + kSuiteCode,
          "C:\\Program Files\\Ext\\ext-co\\unins000.exe| /verysilent", x + "{C0HP}", x + kCodeCo},
         [](SuiteMachine& s) {
             // Each suite's own soffice.bin, at its turn.
             ASSERT_EQ(s.m.processes.terminateRequests.size(), 2u);
             EXPECT_EQ(s.m.processes.find(s.m.processes.terminateRequests[1])->imagePath, kCoFolder + "program\\soffice.bin");
         }},
        {"Collabora Office goes while a LibreOffice it cannot resolve stays: LibreOffice's names and extensions stay",
         [](SuiteMachine& s) {
             (void)s.m.files.deleteFile(kInstall + "program\\bootstrap.ini");
             s.addExtension("ext-lo", "LibreOffice Extension Grammar");
             s.addSuite(kCollabora, false, kCoFolder, "Collabora Office 24.04", kCodeCo);
         },
         korvalend::kExitUnresolvedFacts, {x + kCodeCo},
         [](SuiteMachine& s) {
             EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
             EXPECT_TRUE(s.registered("ext-lo"));
             EXPECT_EQ(s.observer.why, "no product key");
         }},
        {"a stale LibreOffice vendor key hides no Collabora Office",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             (void)s.m.files.deleteFile(kInstall + "program\\bootstrap.ini");
             s.addSuite(kCollabora, false, kCoFolder, "Collabora Office 24.04", kCodeCo);
         },
         0, {x + kCodeCo}},
        {"a 32-bit record of the 64-bit folder, and a 32-bit suite of the key: never crossed",
         [](SuiteMachine& s) {
             s.m.registry.setString(Root::LocalMachine, "SOFTWARE\\WOW6432Node\\The Document Foundation\\LibreOffice\\7.6\\" + kUpgrade,
                                    "INSTALLLOCATION", kInstall);
             sim::scripted::addUninstallEntry(s.m, kCode32, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kCode32, true);
         },
         0, {x + kSuiteCode, x + kCode32},
         [](SuiteMachine& s) {
             EXPECT_TRUE(s.observer.saw("c:\\program files\\libreoffice is the install location of the suite of the "
                                        "32-bit view, which stays"));
             EXPECT_FALSE(s.m.files.exists(kInstall));
         }},
        {"one product code in both views, the installer unasked: the stale one stays",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kSuiteCode, true);
             s.m.installer.libraryLoads = false;
         },
         1603, {x + kSuiteCode}},
        {"one product code in both views: the stale one is an orphan once its product is gone",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kSuiteCode, true);
         },
         0, {x + kSuiteCode}},
        {"nine suites: eight go", [](SuiteMachine& s) {
             for (int n = 1; n <= 8; ++n)
                 s.addSuite(kTdf, false, "C:\\LO" + std::to_string(n) + "\\", "LibreOffice 8." + std::to_string(n),
                            "{" + std::to_string(n) + "}");
         },
         korvalend::kExitTooManySuites,
         {x + "{8}", x + "{7}", x + "{6}", x + "{5}", x + "{4}", x + "{3}", x + "{2}", x + "{1}"}},
        {"a help pack whose uninstall fails: its code, and the folder that holds it stays",
         [](SuiteMachine& s) {
             s.addHelpPack();
             sim::scripted::addWindowsInstaller(s.m, {.failing = {kHelpCode}});
         },
         1603, {x + kHelpCode, x + kSuiteCode},
         [](SuiteMachine& s) {
             EXPECT_FALSE(s.registered(kSuiteCode));
             EXPECT_TRUE(s.m.files.exists(kInstall + "program\\bootstrap.ini"));
             EXPECT_FALSE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
         }},
        {"a help pack left without its suite goes by its own entry",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, "Software\\Classes\\AppID");
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             sim::scripted::addUninstallEntry(s.m, "{OLDHP}", "LibreOffice 7.5 Help Pack (German)", "MsiExec.exe /I{OLDHP}");
         },
         0, {x + "{OLDHP}"}},
        {"an extension uninstaller that never ends: ten minutes, then the suite stays",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "ext-hang", "LibreOffice Extension Hang", "C:\\Ext\\hang.exe");
             sim::Program hang;
             hang.runMs = sim::kNeverEnds;
             s.m.shell.addProgram("C:\\Ext\\hang.exe", hang);
         },
         korvalend::kExitUninstallerTimeout, {"C:\\Ext\\hang.exe| /verysilent"},
         [](SuiteMachine& s) {
             EXPECT_NEAR(static_cast<double>(s.m.nowMs - 1000), 40.0 + 10 * 60000, 30.0);
             EXPECT_TRUE(s.registered(kSuiteCode));
         }},
        {"another user's own installation: never attempted, its files untouched",
         [](SuiteMachine& s) {
             const std::string user = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-21-7\\Products\\"
                                      "0123456789ABCDEF0123456789ABCDEF\\InstallProperties";
             s.m.registry.setString(Root::LocalMachine, user, "DisplayName", "LibreOffice 7.6.4.1");
             s.m.registry.setString(Root::LocalMachine, user, "InstallLocation", "C:\\Program Files\\LibreOffice\\");
         },
         korvalend::kExitPerUserInstall, {x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kInstall + "program\\soffice.bin")); }},
        {"another user's installation listed after another program's under the same account",
         [](SuiteMachine& s) {
             s.addPerUserInstall("S-1-5-21-7", "0000", "Other Program 1.0");
             s.addPerUserInstall("S-1-5-21-7", "0123", "LibreOffice 7.6.4.1");
         },
         korvalend::kExitPerUserInstall, {x + kSuiteCode}},
        {"the local system's own records are the machine's, not a user's",
         [](SuiteMachine& s) { s.addPerUserInstall("S-1-5-18", "0123", "LibreOffice 7.6.4.1"); }, 0, {x + kSuiteCode}},
        {"a language pack whose uninstall fails: the folder that holds it stays",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "{LP}", "LibreOffice 7.6 Language Pack (German)", "MsiExec.exe /I{LP}");
             sim::scripted::addWindowsInstaller(s.m, {.failing = {"{LP}"}});
         },
         1603, {x + "{LP}", x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kInstall + "program\\bootstrap.ini")); }},
        {"a Collabora Office's 32-bit record of its 64-bit folder, and a 32-bit suite of its key: never crossed",
         [](SuiteMachine& s) {
             s.addSuite(kCollabora, false, kCoFolder, "Collabora Office 24.04", kCodeCo);
             s.addSuite(kCollabora, true, kCoFolder, "Collabora Office 24.04", kCode32);
         },
         0, {x + kSuiteCode, x + kCodeCo, x + kCode32}},
        {"help packs of the 32-bit view go with its suite of the same key, the French first",
         [](SuiteMachine& s) {
             s.addSuite(kTdf, true, kX86, "LibreOffice 7.6", kCode32);
             sim::scripted::addUninstallEntry(s.m, "{0ES}", "LibreOffice 7.6 Help Pack (Spanish)", "MsiExec.exe /I{0ES}", true);
             sim::scripted::addUninstallEntry(s.m, "{1FR}", "LibreOffice 7.6 Help Pack (French)", "MsiExec.exe /I{1FR}", true);
         },
         0, {x + kSuiteCode, x + "{1FR}", x + "{0ES}", x + kCode32}},
        {"a help pack left without its suite whose uninstaller answers 1641",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.addHelpPack();
             sim::scripted::addWindowsInstaller(s.m, {.exitCode = 1641});
         },
         3010, {x + kHelpCode}},
        {"an extension the Windows Installer removes is waited for to its end, past ten minutes",
         [](SuiteMachine& s) {
             sim::scripted::addWindowsInstaller(s.m, {.runMs = 11 * 60000});
             sim::scripted::addUninstallEntry(s.m, "ext-msi", "LibreOffice Extension Msi", "msiexec.exe");
         },
         0, {"msiexec.exe| /verysilent", x + kSuiteCode}},
        // 18 minutes of extensions and 9 of a busy installer leave 3 of the run's 30 to an
        // uninstaller that gets idle only after an hour.
        {"every wait comes off the run's thirty minutes, the wait for an uninstaller to get idle too",
         [](SuiteMachine& s) {
             for (const char* e : {"ext-1", "ext-2"}) s.addExtension(e, std::string("LibreOffice Extension ") + e, 9 * 60000);
             s.addHelpPack();
             s.m.mutexes.add(sim::scripted::kInstallerMutex, {.ownedUntilMs = s.m.nowMs + 27 * 60000});
             s.addSuite(kCollabora, false, kCoFolder, "Collabora Office 24.04", kCodeCo);
             sim::scripted::addUninstallEntry(s.m, "ext-idle", "Collabora Extension Idle", "C:\\Ext\\idle.exe");
             s.m.shell.addProgram("C:\\Ext\\idle.exe", {.body = {}, .runMs = sim::kNeverEnds, .idleAfterMs = 60 * 60000});
         },
         korvalend::kExitUninstallerTimeout,
         {ext("ext-1"), ext("ext-2"), x + kHelpCode, x + kSuiteCode, "C:\\Ext\\idle.exe| /verysilent"},
         [](SuiteMachine& s) { EXPECT_NEAR(static_cast<double>(s.m.nowMs - 1000), 30 * 60000 + 4000, 1000); }},
        {"an older help pack in the folder goes after the suite's own packs, before the suite",
         [](SuiteMachine& s) {
             s.addHelpPack();
             sim::scripted::addUninstallEntry(s.m, "{075}", "LibreOffice 7.5 Help Pack (French)", "MsiExec.exe /I{075}");
             sim::scripted::addUninstallEntry(s.m, "{074}", "LibreOffice 7.4 Help Pack (German)", "MsiExec.exe /I{074}");
         },
         0, {x + kHelpCode, x + "{074}", x + "{075}", x + kSuiteCode}},
        {"an older language pack that stays keeps the folder whole, the shortcuts still go",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "{LP75}", "LibreOffice 7.5 Language Pack (German)", "MsiExec.exe /I{LP75}");
             sim::scripted::addWindowsInstaller(s.m, {.failing = {"{LP75}"}});
         },
         1603, {x + "{LP75}", x + kSuiteCode},
         [](SuiteMachine& s) {
             EXPECT_TRUE(s.m.files.exists(kInstall + "program\\bootstrap.ini"));
             EXPECT_FALSE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
             EXPECT_TRUE(s.observer.saw("c:\\program files\\libreoffice holds LibreOffice 7.5 Language Pack (German), "
                                        "which is still registered"));
         }},
        {"an older pack of the other view is no pack of the suite: left alone, it goes last",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "{LP75}", "LibreOffice 7.5 Language Pack (German)", "MsiExec.exe /I{LP75}", true);
         },
         0, {x + kSuiteCode, x + "{LP75}"}},
        {"the SDK goes after the packs, and its sdk folder with the suite's",
         [](SuiteMachine& s) {
             s.addHelpPack();
             sim::scripted::addUninstallEntry(s.m, "{5DK}", "LibreOffice 7.6 SDK", "MsiExec.exe /I{5DK}");
             s.m.files.addFile(kInstall + "sdk\\include\\sal.h", "sdk");
         },
         0, {x + kHelpCode, x + "{5DK}", x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_NE(s.m.files.recycled("c:\\program files\\libreoffice"), nullptr); }},
        {"an SDK that stays keeps the folder whole",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "{5DK}", "LibreOffice 7.6.4.1 SDK (x64)", "MsiExec.exe /I{5DK}");
             s.m.files.addFile(kInstall + "sdk\\include\\sal.h", "sdk");
             sim::scripted::addWindowsInstaller(s.m, {.failing = {"{5DK}"}});
         },
         1603, {x + "{5DK}", x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kInstall + "sdk\\include\\sal.h")); }},
        {"an SDK left without its suite goes by its own entry; LibreOfficeDev's is another product's",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             sim::scripted::addUninstallEntry(s.m, "{5DK}", "LibreOffice 7.6 SDK", "MsiExec.exe /I{5DK}");
             sim::scripted::addUninstallEntry(s.m, "{DEV}", "LibreOfficeDev 24.8 SDK", "MsiExec.exe /I{DEV}");
         },
         0, {x + "{5DK}"}, [](SuiteMachine& s) { EXPECT_TRUE(s.registered("{DEV}")); }},
        {"a 32-bit SDK goes with its 32-bit suite",
         [](SuiteMachine& s) {
             s.addSuite(kTdf, true, kX86, "LibreOffice 7.6", kCode32);
             sim::scripted::addUninstallEntry(s.m, "{5DK}", "LibreOffice 7.6 SDK (x86)", "MsiExec.exe /I{5DK}", true);
         },
         0, {x + kSuiteCode, x + "{5DK}", x + kCode32}},
        {"a folder the 32-bit view records for a LibreOffice 7.5 that stays keeps its files",
         [](SuiteMachine& s) {
             s.m.registry.setString(Root::LocalMachine, "SOFTWARE\\WOW6432Node\\The Document Foundation\\LibreOffice\\7.5\\" +
                                    kUpgrade, "INSTALLLOCATION", kInstall);
             sim::scripted::addUninstallEntry(s.m, kCode32, "LibreOffice 7.5.9.2", "MsiExec.exe /I" + kCode32, true);
         },
         korvalend::kExitUnresolvedFacts, {x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kInstall + "program\\soffice.bin")); }},
        {"a folder another vendor key records for a Collabora Office that stays keeps its files",
         [](SuiteMachine& s) {
             s.m.registry.setString(Root::LocalMachine, kCollabora + "\\24.04\\" + kUpgrade, "INSTALLLOCATION", kInstall);
             sim::scripted::addUninstallEntry(s.m, kCodeCo, "Collabora Office 24.04.5.2", "MsiExec.exe /I" + kCodeCo);
         },
         korvalend::kExitUnresolvedFacts, {x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kInstall + "program\\soffice.bin")); }},
        {"the account's own LibreOffice keeps its quickstart shortcut; the shared ones go",
         [](SuiteMachine& s) { s.addOwnInstall("LibreOffice 24.8.0.3", "LibreOffice 24.8.lnk"); },
         korvalend::kExitPerUserInstall, {x + kSuiteCode},
         [](SuiteMachine& s) {
             EXPECT_TRUE(s.m.files.exists(kStartup + "LibreOffice 24.8.lnk"));
             EXPECT_FALSE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
         }},
        {"the account's own LibreOffice, listed among the machine's entries too, as Wine lists it",
         [](SuiteMachine& s) {
             s.addOwnInstall("LibreOffice 24.8.0.3", "LibreOffice 24.8.lnk", "000008420842E1B4D9C2000000004208");
             sim::scripted::addUninstallEntry(s.m, "{24800000-2480-4B1E-9D2C-000000002480}", "LibreOffice 24.8.0.3",
                                              "MsiExec.exe /I{24800000-2480-4B1E-9D2C-000000002480}", true);
         },
         korvalend::kExitPerUserInstall, {x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kStartup + "LibreOffice 24.8.lnk")); }},
        {"the account's own LibreOffice of the same version, beside a stale vendor key",
         [](SuiteMachine& s) {
             s.addOwnInstall("LibreOffice 7.6.4.1", "LibreOffice 7.6.lnk");
             s.m.registry.addKey(Root::LocalMachine, "SOFTWARE\\MimO\\LibreOffice\\7.5\\" + kUpgrade);
         },
         korvalend::kExitPerUserInstall, {x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kStartup + "LibreOffice 7.6.lnk")); }},
        {"four suites whose extensions never end: thirty minutes, then none is started",
         [](SuiteMachine& s) {
             for (int n = 1; n <= 4; ++n) {
                 const std::string i = std::to_string(n);
                 if (n > 1) s.addSuite(kTdf, false, "C:\\LO" + i + "\\", "LibreOffice 8." + i, "{" + i + "}");
                 sim::scripted::addUninstallEntry(s.m, "ext-" + i, "LibreOffice Extension " + i, "C:\\Ext\\hang" + i + ".exe");
                 s.m.shell.addProgram("C:\\Ext\\hang" + i + ".exe", {.body = {}, .runMs = sim::kNeverEnds});
             }
         },
         korvalend::kExitUninstallerTimeout,
         {"C:\\Ext\\hang1.exe| /verysilent", "C:\\Ext\\hang2.exe| /verysilent", "C:\\Ext\\hang3.exe| /verysilent"},
         [](SuiteMachine& s) {
             EXPECT_TRUE(s.observer.saw("extension LibreOffice Extension 4, the run's 30 minutes of waiting are spent"));
             EXPECT_NEAR(static_cast<double>(s.m.nowMs - 1000), 30 * 60000, 1000);
         }},
        {"an orphan listed before the installed suite, a code with more text after it, is passed over",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6.2.1", "MsiExec.exe /X" + kOrphan + " REBOOT=0");
             s.m.installer.forget(kOrphan);
         },
         0, {x + kSuiteCode},
         [](SuiteMachine& s) {
             EXPECT_TRUE(s.registered(kOrphan));  // the program writes nothing to the registry
             EXPECT_EQ(s.m.installer.stateQueries(kSuiteCode), 1);  // once, until an uninstaller runs
         }},
        {"an orphan of the 32-bit view before its suite",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, kTdf);
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6.2.1", "MsiExec.exe /I" + kOrphan, true);
             s.m.installer.forget(kOrphan);
             s.addSuite(kTdf, true, kX86, "LibreOffice 7.6", kCode32);
         },
         0, {x + kCode32}},
        {"an orphan alone, its AppID and ProgID left: nothing is done",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kOrphan);
             s.m.installer.forget(kOrphan);
         },
         0, {}, [](SuiteMachine& s) { EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk")); }},
        {"an orphaned help pack and an orphaned extension are not run; one that merely looks like a product is",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6 Help Pack (French)", "MsiExec.exe /I" + kOrphan);
             sim::scripted::addUninstallEntry(s.m, kOrphan2, "LibreOffice Extension Msi", "MsiExec.exe /X" + kOrphan2);
             s.m.registry.setDword(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kOrphan2, "WindowsInstaller", 1);
             sim::scripted::addExtensionUninstaller(s.m, "C:\\Ext\\unins.exe", kOrphan3);
             sim::scripted::addUninstallEntry(s.m, kOrphan3, "LibreOffice Extension Tool", "C:\\Ext\\unins.exe");
             for (const std::string& code : {kOrphan, kOrphan2, kOrphan3}) s.m.installer.forget(code);
         },
         0, {"C:\\Ext\\unins.exe| /verysilent", x + kSuiteCode}},
        {"msi.dll cannot be loaded: the orphan is taken, answers 1605, and the next entry named as the suite goes",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6.2.1", "MsiExec.exe /I" + kOrphan);
             s.m.installer.forget(kOrphan);
             s.m.installer.libraryLoads = false;
         },
         0, {x + kOrphan, x + kSuiteCode},
         [](SuiteMachine& s) { EXPECT_FALSE(s.m.files.exists(kInstall + "program\\bootstrap.ini")); }},
        {"a cached package gone with its source: 1612, nothing deleted; gone alone: removed from its source",
         [](SuiteMachine& s) {
             s.addHelpPack(kOrphan);
             sim::scripted::removeCachedPackage(s.m, kOrphan);
             sim::scripted::removeCachedPackage(s.m, kSuiteCode);
             sim::scripted::removeSourcePackage(s.m, kSuiteCode);
         },
         1612, {x + kOrphan, x + kSuiteCode},
         [](SuiteMachine& s) {
             EXPECT_FALSE(s.registered(kOrphan));
             EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk"));
         }},
        {"27 minutes of extensions leave a busy installer 3 of the run's 30",
         [](SuiteMachine& s) {
             for (const char* e : {"ext-1", "ext-2", "ext-3"})
                 s.addExtension(e, std::string("LibreOffice Extension ") + e, 9 * 60000);
             s.m.mutexes.add(sim::scripted::kInstallerMutex, {.ownedUntilMs = s.m.nowMs + 32 * 60000});
         },
         1618, {ext("ext-1"), ext("ext-2"), ext("ext-3")},
         [](SuiteMachine& s) { EXPECT_NEAR(static_cast<double>(s.m.nowMs - 1000), 30 * 60000, 1000); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SuiteMachine s;
        c.setup(s);
        EXPECT_EQ(s.run(), c.expected);
        Lines launched;
        for (const std::string& l : s.launches())
            launched.push_back(l.rfind(kMsi, 0) == 0 ? l.substr(kMsi.size()) : l);
        EXPECT_EQ(launched, c.launches);
        if (c.check) c.check(s);
    }
}

TEST(Resolution, EachDistributionsVendorKeyIsFound) {
    for (const char* vendor : {"SOFTWARE\\The Document Foundation\\LibreOffice", "SOFTWARE\\MimO\\LibreOffice",
                               "SOFTWARE\\Collabora\\Collabora Office", "SOFTWARE\\allotropia software GmbH\\ZetaOffice"}) {
        SuiteMachine s(vendor);
        EXPECT_EQ(korvalend::INSTALLLOCATIONS(std::string(vendor) + "\\", korvalend::TRegistryView::Native),
                  Lines{"c:\\program files\\libreoffice\\"})
            << vendor;
    }
}

// A fact that cannot be found leaves the suite as it is: the exit code says
// so while its entry stays registered; a ProgID and AppID left behind with no
// entry at all are nothing to remove.
TEST(Resolution, FailedLookupsChangeNothingAndTheExitSaysWhetherTheSuiteStays) {
    struct Case {
        const char* name;
        void (*spoil)(SuiteMachine&);
        int expected;
    };
    const Case cases[] = {
        {"noLocation",
         [](SuiteMachine& s) {
             s.m.registry.setString(Root::LocalMachine,
                                    "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                                    "INSTALLLOCATION", "");
         },
         korvalend::kExitUnresolvedFacts},
        {"noVendorKey", [](SuiteMachine& s) { s.m.registry.removeKey(Root::LocalMachine, kTdf); },
         korvalend::kExitUnresolvedFacts},
        {"noBootstrap", [](SuiteMachine& s) { (void)s.m.files.deleteFile(kInstall + "program\\bootstrap.ini"); },
         korvalend::kExitUnresolvedFacts},
        {"noCodeInTheCommand",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", "C:\\LO\\uninstall.exe");
         },
         korvalend::kExitUnresolvedFacts},
        {"noEntry",
         [](SuiteMachine& s) { s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode); },
         0},
    };
    for (const Case& c : cases) {
        SuiteMachine s;
        c.spoil(s);
        EXPECT_EQ(s.run(), c.expected) << c.name;
        EXPECT_TRUE(s.launches().empty()) << c.name;
        EXPECT_TRUE(s.m.files.exists(kDesktop + "LibreOffice Writer.lnk")) << c.name;
    }
}

TEST(Resolution, WhatAnEntryIsToTheSuite) {
    using korvalend::TSuiteEntry;
    struct Case {
        const char* displayName;
        const char* key;
        TSuiteEntry kind;
    };
    const Case cases[] = {
        {"LibreOffice 7.6.4.1", "LibreOffice 7.6", TSuiteEntry::Suite},
        {"LibreOffice 7.6", "LibreOffice 7.6", TSuiteEntry::Suite},
        {"libreoffice 7.6.4.1 (x64)", "LibreOffice 7.6", TSuiteEntry::Suite},
        {"LibreOffice 24.2.0.3 (64-bit)", "LibreOffice", TSuiteEntry::Suite},
        {"LibreOffice 7.6 (German edition)", "LibreOffice 7.6", TSuiteEntry::SuiteOtherwise},
        {"LibreOffice 7.6 beta", "LibreOffice 7.6", TSuiteEntry::SuiteOtherwise},
        {"LibreOffice 7.6 Help Pack (French)", "LibreOffice", TSuiteEntry::HelpPack},
        {"LibreOffice 7.6 Help Pack (German)", "LibreOffice 7.6", TSuiteEntry::HelpPack},
        {"LibreOffice 7.6 Language Pack (German)", "LibreOffice 7.6", TSuiteEntry::LanguagePack},
        {"LibreOffice 7.6 SDK", "LibreOffice 7.6", TSuiteEntry::Sdk},
        {"LibreOffice 7.6.4.1 SDK (x64)", "LibreOffice 7.6", TSuiteEntry::Sdk},
        {"LibreOffice 7.6 SDK(x64)", "LibreOffice 7.6", TSuiteEntry::Sdk},
        {"LibreOffice 7.6.4.1 ()", "LibreOffice 7.6", TSuiteEntry::SuiteOtherwise},  // no tag
        {"LibreOffice ExtensionManager 2", "LibreOffice", TSuiteEntry::SuiteOtherwise},
        {"LibreOfficeDev 24.8", "LibreOffice", TSuiteEntry::Unrelated},
        {"LibreOfficeDev 24.8 Help Pack (German)", "LibreOffice", TSuiteEntry::Unrelated},
        {"LibreOffice 7", "LibreOffice 7.6", TSuiteEntry::Unrelated},
        {"The LibreOffice 7.6", "LibreOffice 7.6", TSuiteEntry::Unrelated},
        {"LibreOffice Extension Grammar", "LibreOffice", TSuiteEntry::Extension},
        {"Collabora Extension Tools", "Collabora Office 23.05", TSuiteEntry::Extension},
    };
    for (const Case& c : cases)
        EXPECT_EQ(korvalend::SUITEENTRYKIND(c.displayName, c.key), c.kind) << c.displayName << " / " << c.key;
}

// A DisplayName that is not text ends the run only where a search for the
// first entry beginning with the key would have read it.
TEST(Resolution, ABrokenDisplayNameEndsTheRunOnlyBeforeTheFirstMatch) {
    struct Case {
        const char* where;
        std::string brokenEntry;
        int expected;
        void (*alsoOnTheMachine)(SuiteMachine&) = nullptr;
    };
    const Case cases[] = {
        {"listed first", "{0000}", 217},
        {"after a help pack listed before the suite", "{0B00}", 0},
        {"after the suite", "{ZZZZ}", 0},
        {"listed first in the 64-bit view, the suite in the 32-bit one", "{0000}", 0,
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, kTdf);
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.addSuite(kTdf, true, kX86, "LibreOffice 7.6", kCode32);
         }},
        {"before a help pack left without its suite", "{0B00}", 0,
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "{0C00}", "LibreOffice 7.5 Help Pack (German)", "MsiExec.exe /I{0C00}");
         }},
    };
    for (const Case& c : cases) {
        SuiteMachine s;
        s.addHelpPack("{0A00}");
        if (c.alsoOnTheMachine) c.alsoOnTheMachine(s);
        s.m.registry.setRaw(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + c.brokenEntry, "DisplayName",
                            platform::kRegBinary, "xx");
        EXPECT_EQ(s.run(), c.expected) << c.where;
        EXPECT_EQ(s.registered(kSuiteCode), c.expected != 0) << c.where;
    }
}

// Install locations as real machines record them (the installed version is
// 7.6.4.1; 9.9 is listed after it), and product keys with trailing blanks.
TEST(Resolution, FactsInRealLayouts) {
    const std::string lo = "c:\\program files\\libreoffice\\";
    struct Case {
        const char* what;
        std::string installed;                 // INSTALLLOCATION of 7.6.4.1
        std::optional<std::string> stale;      // of 9.9; "" for its key without the value
        std::string productKeyLine = "ProductKey=LibreOffice 7.6";  // empty: no bootstrap.ini
        std::string location = "c:\\program files\\libreoffice\\";
        std::string key = "LibreOffice 7.6";
    };
    const Case cases[] = {
        {"no trailing backslash", "C:\\Program Files\\LibreOffice", std::nullopt},
        {"extra terminating NULs", kInstall + std::string(3, '\0'), std::nullopt},
        {"stale version key without location", kInstall, ""},
        {"stale version key, its folder gone", kInstall, "C:\\Old LO\\"},
        {"no folder holds the suite: the last recorded", kInstall, "C:\\Old LO\\", "", "c:\\old lo\\", ""},
        {"no folder holds the suite: the last not empty", kInstall, "", "", lo, ""},
        // Listed first, its help pack would be taken for the suite of a key with its blanks.
        {"quoted product key with trailing blanks", kInstall, std::nullopt, "ProductKey=\"LibreOffice 7.6  \""},
    };
    const std::string versions = "SOFTWARE\\The Document Foundation\\LibreOffice\\";
    for (const Case& c : cases) {
        SuiteMachine s;
        s.addHelpPack("{0A00}");
        s.m.registry.setString(Root::LocalMachine, versions + "7.6.4.1\\" + kUpgrade, "INSTALLLOCATION", c.installed);
        if (c.stale) s.m.registry.addKey(Root::LocalMachine, versions + "9.9\\" + kUpgrade);
        if (c.stale && !c.stale->empty())
            s.m.registry.setString(Root::LocalMachine, versions + "9.9\\" + kUpgrade, "INSTALLLOCATION", *c.stale);
        if (c.productKeyLine.empty()) (void)s.m.files.deleteFile(kInstall + "program\\bootstrap.ini");
        else s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\n" + c.productKeyLine + "\n");
        const korvalend::TSuiteFacts facts = s.resolve().facts;
        EXPECT_EQ(facts.SCHEMOPEN, c.location) << c.what;
        EXPECT_EQ(facts.SVERSOOO, c.key) << c.what;
        EXPECT_EQ(facts.SPRODUCTCODE, c.key.empty() ? "" : kSuiteCode) << c.what;
    }
}

// Packages that cannot be modified record their removal ("/X") instead.
TEST(Resolution, TheCodeFollowsTheMarkerOrTheRemovalSwitchInAnyCase) {
    for (const std::string command : {"msiexec.exe /i", "MsiExec.exe /X", "MSIEXEC.EXE /x"}) {
        SuiteMachine s;
        sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", command + kSuiteCode);
        EXPECT_EQ(s.run(), 0) << command;
        EXPECT_EQ(s.launches(), (Lines{kMsi + "/passive /norestart /x" + kSuiteCode})) << command;
    }
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

TEST(Refusals, StartupShortcutsOfTheRemovedSuiteOnly) {
    const std::vector<std::string> entries = {
        "LibreOffice 7.6.lnk",     "libreoffice quickstart office.lnk", "LibreOfficeDev 24.8.lnk",
        "Collabora Office 24.04.lnk", "ZetaOffice.lnk", "ZetaOffice 7.6.lnk", "My Office Tool.lnk", "LibreOffice.txt",
        "LibreOffice.lnk"};
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"LibreOffice 7.6", {"LibreOffice 7.6.lnk", "libreoffice quickstart office.lnk", "LibreOffice.lnk"}},
        {"Collabora Office 24.04", {"Collabora Office 24.04.lnk"}},
        {"ZetaOffice 7.6", {"ZetaOffice 7.6.lnk", "ZetaOffice.lnk"}},
        {"Accessories", {}},  // a key of no family names no entry
        {"LibreOfficeDev 24.8", {}},
    };
    for (const auto& [key, gone] : cases) {
        SuiteMachine s(Suite{kInstall, key});
        for (const std::string& name : entries) s.m.files.addFile(kStartup + name, "x");
        s.m.files.addDirectory(kStartup + "LibreOffice Office.lnk");
        EXPECT_EQ(s.run(), 0);
        for (const std::string& name : entries) {
            const bool expectGone = std::find(gone.begin(), gone.end(), name) != gone.end();
            EXPECT_EQ(s.m.files.exists(kStartup + name), !expectGone) << key << ": " << name;
        }
        EXPECT_TRUE(s.m.files.isDirectory(kStartup + "LibreOffice Office.lnk")) << key;
        EXPECT_EQ(s.observer.saw("Startup shortcuts, the product key does not begin with the whole name of a family "
                                 "of the suite"),
                  gone.empty())
            << key;
    }
}

// The install folder may hold more than the suite. Shared with other
// programs, it gives up program\ alone (another program's share\ bears a name
// of the layout too); dedicated, the whole layout, and itself once empty.
TEST(Refusals, ASharedInstallFolderKeepsWhatIsNotTheSuites) {
    struct Case {
        std::string other;  // left beside the suite
        bool shared;
        bool folderGoes;
    };
    const Case cases[] = {
        {"", false, true},
        {"notes.txt", true, false},          // a user's file
        {"OtherApp\\app.exe", true, false},  // another program
        {"share", false, false},             // a link named like the layout
        {"Program", false, true},            // the suite's own, in another letter case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.other);
        SuiteMachine s(Suite{"D:\\Tools\\"});
        if (c.other == "share") s.m.files.addFile("D:\\Data\\thesis.doc", "data");
        if (c.other == "share") s.m.files.addJunction("D:\\Tools\\share", "D:\\Data");
        else if (c.other == "Program") s.m.files.find("D:\\Tools\\program")->name = c.other;
        else if (!c.other.empty()) s.m.files.addFile("D:\\Tools\\" + c.other, "theirs");
        // Beside another program or file, another program's share\ and help\ too.
        const Lines theirs = {"D:\\Tools\\share\\other.xcd", "D:\\Tools\\help\\other.html"};
        if (c.shared)
            for (const std::string& path : theirs) s.m.files.addFile(path, "theirs");
        EXPECT_EQ(s.run(), 0);
        EXPECT_EQ(s.m.files.recycled("d:\\tools") != nullptr, c.folderGoes);
        EXPECT_NE(s.m.files.recycled("d:\\tools\\program"), nullptr);
        for (const std::string item : {"CREDITS.fodt", "readmes"}) {
            EXPECT_EQ(s.m.files.recycled("d:\\tools\\" + item) != nullptr, !c.shared) << item;
            EXPECT_EQ(s.observer.saw("d:\\tools\\" + item +
                                     " is named like the suite's layout in a folder shared with other programs"),
                      c.shared) << item;
        }
        for (const std::string& path : theirs) EXPECT_EQ(s.m.files.exists(path), c.shared) << path;
        EXPECT_TRUE(!c.shared || s.m.files.exists("D:\\Tools\\" + c.other));
        EXPECT_TRUE(c.other != "share" || s.m.files.exists("D:\\Data\\thesis.doc"));
        EXPECT_EQ(s.observer.saw("d:\\tools still holds entries that are not the suite's"), !c.folderGoes);
        EXPECT_FALSE(s.observer.saw("d:\\tools\\Program is not part of the suite's layout"));
    }
}

TEST(Refusals, DangerousInstallLocationsAreNotSentAway) {
    for (const std::string location : {"C:\\", "C:\\Program Files\\", "C:\\Users\\User\\", "C:\\Windows\\",
                                       "C:\\Users\\", "C:\\Users\\someone\\", "C:\\ProgramData\\",
                                       "D:\\Users\\bob\\", "D:\\Users\\bob\\Tools\\LO\\"}) {
        SuiteMachine s;
        // Another user's profile on another drive, known only from the machine's list.
        s.m.registry.setString(Root::LocalMachine,
                               "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-7",
                               "ProfileImagePath", "D:\\Users\\bob");
        s.m.registry.setString(Root::LocalMachine,
                               "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                               "INSTALLLOCATION", location);
        s.m.files.addFile(location + "PROGRAM\\bootstrap.ini", "[Bootstrap]\nProductKey=LibreOffice 7.6\n");
        s.m.files.addFile(location + "precious.doc", "data");
        EXPECT_EQ(s.run(), 0) << location;
        EXPECT_FALSE(s.registered(kSuiteCode)) << location;  // the uninstallation itself ran
        EXPECT_TRUE(s.m.files.exists(location + "precious.doc")) << location;
        EXPECT_TRUE(s.m.files.exists(location + "PROGRAM\\bootstrap.ini")) << location;
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
    for (const std::string key : {"..", "..\\..\\Windows", "LibreOffice*", "CON", "a:b", "LibreOffice 7.6\\..\\Other Program"}) {
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
        EXPECT_TRUE(s.m.files.exists(kDesktop + "Other Program.lnk")) << key;
        EXPECT_TRUE(s.m.files.exists(kPrograms + "Other Program\\Other.lnk")) << key;
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
    EXPECT_EQ(s.resolve().facts.SPRODUCTCODE, kSuiteCode);
}

// Listed after the suite's entry, another named with more words: the suite
// named by its version wins, and of two named otherwise the first.
TEST(Resolution, ASuiteNamedWithMoreWordsIsStillFoundPastItsHelpPack) {
    for (const char* name : {"LibreOffice 7.6 (64-bit)", "LibreOffice 7.6 (German edition)"}) {
        SuiteMachine s;
        s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
        sim::scripted::addUninstallEntry(s.m, kSuiteCode, name, "MsiExec.exe /I" + kSuiteCode);
        sim::scripted::addUninstallEntry(s.m, "{FFFFFFFF-BE7A}", "LibreOffice 7.6 beta", "MsiExec.exe /I{FFFFFFFF-BE7A}");
        s.addHelpPack("{00000000-2222-4A4A-9C9C-000000000002}");
        EXPECT_EQ(s.resolve().facts.SPRODUCTCODE, kSuiteCode) << name;
    }
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
    EXPECT_EQ(s.run(), 1603);
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

namespace {

// Every path on the machine's drives and shares, junctions not walked into.
void walk(sim::FileSystem& fs, const std::string& folder, std::set<std::string>& out) {
    for (const std::string& name : fs.list(folder)) {
        const std::string path = folder + "\\" + name;
        out.insert(path);
        if (const sim::FsNode* node = fs.find(path); node->directory && !node->isJunction()) walk(fs, path, out);
    }
}

std::set<std::string> everything(sim::FileSystem& fs) {
    std::set<std::string> out;
    for (const char* root : {"C:", "D:", "E:", "M:", "N:", "\\\\server\\apps"}) walk(fs, root, out);
    return out;
}

bool startsWithCaseless(const std::string& text, const std::string& head) {
    return platform::charUpperBuffA(text.substr(0, head.size())) == platform::charUpperBuffA(head);
}

// Random machines around the suite (where it lies, its product key, the
// layout it left, other people's files beside it): whatever disappears, or
// reaches the Recycle Bin, is the suite's own, and nothing at all leaves a
// place the removal may not take from.
TEST(Property, WhatDisappearsIsTheSuitesOwn) {
    const std::string perUser = "C:\\Users\\bob\\AppData\\Local\\Programs\\";
    const std::vector<std::tuple<std::string, bool, uint32_t>> places = {  // location, may take from it, code page
        {kInstall, true, 1252},           {"D:\\Tools\\", true, 1252},       {perUser, true, 1252},
        {perUser + "LO\\", true, 1252},   {"C:\\Users\\bob\\Documents\\", false, 1252},
        {"D:\\Users\\carol\\LO\\", false, 1252},                            {"N:\\Apps\\LO\\", false, 1252},
        {"E:\\LO\\", false, 1252},            {"M:\\LO\\", false, 1252},
        {"\\\\server\\apps\\LO\\", false, 1252}, {"C:\\Program Files\\\x95\x5C\\", true, 932},
        {"C:\\Users\\\x95\x5C\x8E\xA6\\Tools\\", false, 932},
    };
    const std::vector<std::tuple<std::string, std::string, bool>> keys = {  // key, its family, names things
        {"LibreOffice 7.6", "LibreOffice", true}, {"Collabora Office 24.04", "Collabora Office", true},
        {"ZetaOffice 7.6", "ZetaOffice", true},   {"libreoffice 25.2", "LibreOffice", true},
        {"Accessories", "", false},               {"Startup", "", false},
        {"Administrative Tools", "", false},      {"LibreOffice*", "LibreOffice", false},
        {"LibreOffice|x", "LibreOffice", false},  {"CON", "", false},
        {"LibreOfficeDev 24.8", "", false},       {"LibreOffice(x64)", "LibreOffice", true},
        {"Collabora Office", "Collabora Office", true},
    };
    const Lines layout = {"program", "share", "help", "presets", "readmes", "URE", "CREDITS.fodt", "LICENSE.html",
                          "license.txt", "NOTICE"};
    // In a folder shared with others, these may as well be another program's.
    const Lines extras = {"share\\registry\\main.xcd", "help\\en-US\\text.html", "URE\\bin\\jvm.dll", "NOTICE"};
    const Lines others = {"notes.txt", "OtherApp\\app.exe", "program.old\\soffice.bin", "LICENSE", "readmes.txt"};
    const std::vector<std::pair<std::string, std::string>> startupNames = {  // name, its family
        {"LibreOffice 7.6.lnk", "LibreOffice"}, {"LibreOffice Quickstart.lnk", "LibreOffice"},
        {"LibreOffice.lnk", "LibreOffice"},     {"LibreOfficeDev 24.8.lnk", ""},
        {"Collabora Office 24.04.lnk", "Collabora Office"}, {"ZetaOffice 7.6.lnk", "ZetaOffice"},
        {"ZetaOffice.lnk", "ZetaOffice"},       {"My Office.lnk", ""}};
    const Lines desktopNames = {"LibreOffice Writer.lnk", "LibreOffice Calc.lnk", "LibreOffice Draw.lnk",
                                "LibreOffice Impress.lnk", "LibreOffice Base.lnk", "LibreOffice Math.lnk"};

    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        auto chance = [&rng](unsigned in) { return rng() % in == 0; };
        const auto& [location, mayTake, codePage] = places[rng() % places.size()];
        const auto& [key, family, namesThings] = keys[rng() % keys.size()];
        SCOPED_TRACE("seed " + std::to_string(seed) + ": " + location + " / " + key);
        SuiteMachine s(Suite{location, key, codePage});
        s.m.registry.setString(Root::LocalMachine,
                               "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-9",
                               "ProfileImagePath", "D:\\Users\\carol");
        // A network drive, a removable one, and a user's mapped drive as the
        // system account sees it: the Recycle Bin holds nothing of them.
        for (const auto& [drive, type] : {std::pair{'N', platform::kDriveRemote}, std::pair{'E', platform::kDriveRemovable},
                                          std::pair{'M', platform::kDriveNoRootDir}}) {
            s.m.files.addDirectory(std::string(1, drive) + ":\\");
            s.m.files.setDriveType(drive, type);
        }
        // The location as scripts and repackaging tools record it: with "/",
        // mixed, with "//" (a share's leading pair aside), with a trailing
        // "/." (a folder refused), or as the installer does.
        const unsigned spelling = rng() % 8;
        const std::vector<std::string> parts = fonction::SPLITCOMPONENTS(location, "\\");
        std::string recorded = parts[0];
        for (std::size_t i = 1; i < parts.size(); ++i) {
            const bool leading = parts[0].empty() && i < 3;
            const std::string separators[] = {"/", i % 2 ? "/" : "\\", leading ? "/" : "//", "/", "\\"};
            recorded += separators[std::min(spelling, 4u)] + parts[i];
        }
        const bool dotted = spelling == 3;
        s.m.registry.setString(Root::LocalMachine, kTdf + "\\7.6.4.1\\" + kUpgrade, "INSTALLLOCATION",
                               dotted ? recorded + "." : recorded);
        const bool takes = mayTake && !dotted;
        if (chance(3)) {  // an older version's key names another program's folder, no bootstrap.ini in it
            s.m.registry.setString(Root::LocalMachine, kTdf + "\\9.9\\" + kUpgrade, "INSTALLLOCATION", "D:/Other/");
            for (const char* theirs : {"program\\other.exe", "share\\other.xcd", "help\\other.html"})
                s.m.files.addFile(std::string("D:\\Other\\") + theirs, "theirs");
        }
        bool alone = true;
        for (const std::string& extra : extras)
            if (chance(2)) s.m.files.addFile(location + extra, "suite");
        for (const std::string& other : others) {
            if (!chance(3)) continue;
            alone = false;
            s.m.files.addFile(location + other, "theirs");
        }
        const bool link = chance(6);
        if (link) s.m.files.addJunction(location + "share", "D:\\Users\\carol");
        for (const auto& [name, itsFamily] : startupNames)
            if (chance(2)) s.m.files.addFile(kStartup + name, "lnk");
        for (const char* windows : {"Accessories\\Notepad.lnk", "Startup\\Antivirus.lnk", "CON\\x.lnk"})
            s.m.files.addFile(kPrograms + windows, "windows");
        for (const char* twin : {"Accessories.lnk", "Administrative Tools.lnk", "Startup.lnk"})
            s.m.files.addFile(kDesktop + twin, "windows");
        if (namesThings) s.m.files.addFile(kPrograms + key + "\\Writer.lnk", "lnk");
        if (namesThings) s.m.files.addFile(kDesktop + key + ".lnk", "lnk");
        // The suite runs, and so may other suites' soffice.bin, each from its own folder.
        const uint32_t own = s.m.processes.addImage(location + "program\\soffice.bin");
        std::vector<uint32_t> strangers;
        for (const std::string& image : {std::string("C:\\Program Files (x86)\\OpenOffice 4\\program\\soffice.bin"),
                                         std::string("D:\\LibreOfficeDev 24.8\\program\\soffice.bin"),
                                         location + "program.old\\soffice.bin"}) {
            if (!chance(2)) continue;
            if (!startsWithCaseless(image, location)) s.m.files.addFile(image, "theirs");
            strangers.push_back(s.m.processes.addImage(image));
        }
        s.m.files.addFile(kDesktop + "LibreOfficeDev 24.8.lnk", "another product's");
        s.m.files.addFile(kPrograms + "LibreOfficeDev 24.8\\Writer.lnk", "another product's");
        const std::set<std::string> before = everything(s.m.files);

        ASSERT_EQ(s.run(), 0);
        ASSERT_FALSE(s.registered(kSuiteCode));

        const std::string folder = location.substr(0, location.size() - 1);
        auto under = [](const std::string& path, const std::string& top) {
            return path.size() == top.size() ? startsWithCaseless(path, top) : startsWithCaseless(path, top + "\\");
        };
        auto owned = [&](const std::string& path) {
            if (takes && path.size() == folder.size() && startsWithCaseless(path, folder))
                return alone && !link && location != perUser;
            for (const std::string& name : layout)
                if (takes && (alone || name == "program") && !(link && name == "share") &&
                    under(path, folder + "\\" + name))
                    return true;
            for (const std::string& name : desktopNames)
                if (path == kDesktop + name) return true;
            if (namesThings && (path == kDesktop + key + ".lnk" || under(path, kPrograms + key))) return true;
            for (const auto& [name, itsFamily] : startupNames)
                if (under(path, kStartup + name)) return !family.empty() && itsFamily == family;
            return false;
        };
        const std::set<std::string> after = everything(s.m.files);
        for (const std::string& path : before) {
            if (after.count(path) != 0) continue;
            EXPECT_TRUE(owned(path)) << "disappeared: " << path;
        }
        for (const auto& item : s.m.files.recycleBin)
            EXPECT_TRUE(owned(item.originalPath)) << "recycled: " << item.originalPath;
        EXPECT_EQ(s.m.files.exists(location + "program"), !takes);
        EXPECT_TRUE(s.m.processes.find(own)->terminated);
        for (const uint32_t pid : strangers) EXPECT_TRUE(s.m.processes.find(pid)->running) << pid;
    }
}

}  // namespace
