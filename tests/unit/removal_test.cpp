// The whole run on a simulated machine with the suite installed: resolution,
// every step of the removal in order, each stopping point and each refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "korvalend/globals.h"
#include "korvalend/observer.h"
#include "korvalend/program.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "platform/folders.h"
#include "platform/sim/machine.h"
#include "platform/text.h"
#include "platform/sim/scripted.h"
#include "platform/wintypes.h"

namespace {

using sim::Root;
using Lines = std::vector<std::string>;

const std::string kSuiteCode = "{B0B3C1A2-1111-4A4A-9C9C-000000000001}";
const std::string kHelpCode = "{C0C3C1A2-2222-4A4A-9C9C-000000000002}";
const std::string kUpgrade = "{4B17E523-5D91-4E69-BD96-7FD81CFA81BB}";
const std::string kInstall = "C:\\Program Files\\LibreOffice\\";
const std::string kDesktop = "C:\\Users\\Public\\Desktop\\";
const std::string kPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\";
const std::string kStartup = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\";

const std::string kTdf = "SOFTWARE\\The Document Foundation\\LibreOffice";

// Where the suite lies, under which product key, on a machine of which code page.
struct Suite {
    std::string location = kInstall;
    std::string productKey = "LibreOffice 7.6";
    uint32_t codePage = 1252;
};

// What the removal tells its observer, as the preview prints it.
struct Recorder : korvalend::TRemovalObserver {
    Lines told;
    void kept(const std::string& path, const std::string& reason) override { told.push_back(path + " " + reason); }
    void skipped(const std::string& step, const std::string& reason) override { told.push_back(step + ", " + reason); }
    [[nodiscard]] bool saw(const std::string& line) const { return std::count(told.begin(), told.end(), line) > 0; }
};

// A machine as the suite's installer leaves it, with the Windows Installer
// and the extensions' uninstallers scripted.
struct SuiteMachine {
    sim::Machine m;
    std::string productKey;
    Recorder observer;

    explicit SuiteMachine(const std::string& vendorKey = kTdf, const std::string& appId = "LibreOffice Service Manager")
        : SuiteMachine(Suite{}, vendorKey, appId) {}
    explicit SuiteMachine(const Suite& suite, const std::string& vendorKey = kTdf,
                          const std::string& appId = "LibreOffice Service Manager")
        : productKey(suite.productKey) {
        korvalend::SETREMOVALOBSERVER(&observer);
        m.codePage = suite.codePage;
        const std::string& at = suite.location;
        m.registerProgId("com.sun.star.ServiceManager.1", "{82154420-0FBF-11D4-8313-005004526AB4}");
        m.registry.setString(Root::LocalMachine,
                             "Software\\Classes\\AppID\\{82154420-0FBF-11d4-8313-005004526AB4}", "", appId);
        m.registry.setString(Root::LocalMachine, vendorKey + "\\7.6.4.1\\" + kUpgrade, "INSTALLLOCATION", at);
        m.files.addFile(at + "program\\bootstrap.ini", "[Bootstrap]\r\nProductKey=" + productKey + "\r\n");
        m.files.addFile(at + "program\\soffice.bin", "binary");
        m.files.addFile(at + "program\\user-leftover.txt", "left behind");
        m.files.addFile(at + "CREDITS.fodt", "credits");
        m.files.addFile(at + "readmes\\readme_en-US.txt", "read me");
        sim::scripted::addUninstallEntry(m, kSuiteCode, productKey + ".4.1", "MsiExec.exe /I" + kSuiteCode);
        sim::scripted::addWindowsInstaller(m);
        for (const char* name : {"LibreOffice Writer.lnk", "LibreOffice Calc.lnk", "LibreOffice Draw.lnk",
                                 "LibreOffice Impress.lnk", "LibreOffice Base.lnk", "LibreOffice Math.lnk",
                                 "LibreOffice 7.6.lnk"})
            m.files.addFile(kDesktop + name, "lnk");
        m.files.addFile(kDesktop + "Other Program.lnk", "lnk");
        m.files.addFile(kPrograms + "LibreOffice 7.6\\LibreOffice Writer.lnk", "lnk");
        m.files.addFile(kPrograms + "Other Program\\Other.lnk", "lnk");
    }

    ~SuiteMachine() { korvalend::SETREMOVALOBSERVER(nullptr); }
    SuiteMachine(const SuiteMachine&) = delete;
    SuiteMachine& operator=(const SuiteMachine&) = delete;

    void addHelpPack(const std::string& code = kHelpCode) {
        sim::scripted::addUninstallEntry(m, code, productKey + " Help Pack (French)", "MsiExec.exe /I" + code);
    }
    void addExtension(const std::string& entry, const std::string& displayName) {
        const std::string exe = "C:\\Program Files\\Ext\\" + entry + "\\unins000.exe";
        sim::scripted::addExtensionUninstaller(m, exe, entry);
        sim::scripted::addUninstallEntry(m, entry, displayName, "\"" + exe + "\"");
    }
    bool registered(const std::string& entry) {
        return m.registry.findKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + entry) != nullptr;
    }
    // Every command line started, as "file|parameters".
    Lines launches() const {
        Lines out;
        for (const auto& l : m.shell.launches) out.push_back(l.file.value_or("") + "|" + l.parameters.value_or(""));
        return out;
    }
    int run(const std::vector<std::string>& args = {}) { return korvalend::RUNPROCESS(args); }
};

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

TEST(Refusals, StartupShortcutsOfTheRemovedSuiteOnly) {
    const std::vector<std::string> entries = {
        "LibreOffice 7.6.lnk",     "libreoffice quickstart office.lnk", "LibreOfficeDev 24.8.lnk",
        "Collabora Office 24.04.lnk", "ZetaOffice.lnk", "ZetaOffice 7.6.lnk", "My Office Tool.lnk", "LibreOffice.txt"};
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"LibreOffice 7.6", {"LibreOffice 7.6.lnk", "libreoffice quickstart office.lnk"}},
        {"Collabora Office 24.04", {"Collabora Office 24.04.lnk"}},
        {"ZetaOffice 7.6", {"ZetaOffice 7.6.lnk"}},
        {"Accessories", {}},  // a key of no family names no entry
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
    }
}

// The install folder may hold more than the suite: only the suite's own
// layout leaves it, and the folder itself only once nothing else is there.
TEST(Refusals, ASharedInstallFolderKeepsWhatIsNotTheSuites) {
    // Left beside the suite: nothing, a user's file, another program, a link named like the layout.
    for (const std::string other : {"", "notes.txt", "OtherApp\\app.exe", "share"}) {
        SuiteMachine s(Suite{"D:\\Tools\\"});
        if (other == "share") s.m.files.addFile("D:\\Data\\thesis.doc", "data");
        if (other == "share") s.m.files.addJunction("D:\\Tools\\share", "D:\\Data");
        else if (!other.empty()) s.m.files.addFile("D:\\Tools\\" + other, "theirs");
        EXPECT_EQ(s.run(), 0);
        EXPECT_EQ(s.m.files.recycled("d:\\tools") != nullptr, other.empty()) << other;
        for (const char* item : {"program", "CREDITS.fodt", "readmes"})
            EXPECT_NE(s.m.files.recycled(std::string("d:\\tools\\") + item), nullptr) << other << item;
        EXPECT_TRUE(other.empty() || s.m.files.exists("D:\\Tools\\" + other)) << other;
        EXPECT_TRUE(other != "share" || s.m.files.exists("D:\\Data\\thesis.doc"));
        EXPECT_TRUE(other.empty() || s.observer.saw("d:\\tools still holds entries that are not the suite's")) << other;
    }
}

// The Recycle Bin holds nothing of a network drive: the shell would delete
// for good. Such folders stay, and nothing in them is deleted either.
TEST(Refusals, FoldersOffAFixedLocalDriveStay) {
    for (const auto& [location, type] : std::vector<std::pair<std::string, uint32_t>>{
             {"N:\\Apps\\LO\\", platform::kDriveRemote}, {"E:\\LO\\", platform::kDriveRemovable},
             {"M:\\LO\\", platform::kDriveNoRootDir},  // a user's mapped drive, seen by the system account
             {"\\\\server\\apps\\LO\\", platform::kDriveRemote}}) {
        SuiteMachine s(Suite{location});
        if (location[1] == ':') s.m.files.setDriveType(location[0], type);
        EXPECT_EQ(s.run(), 0) << location;
        EXPECT_TRUE(s.m.files.exists(location + "program\\user-leftover.txt")) << location;
        EXPECT_TRUE(s.m.files.exists(location + "CREDITS.fodt")) << location;
        const std::string folder = platform::charLowerBuffA(location.substr(0, location.size() - 1));
        EXPECT_TRUE(s.observer.saw(folder + " lies on a network, removable or unknown drive")) << location;
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
    for (const std::string key : {"..", "..\\..\\Windows", "LibreOffice*", "CON", "a:b", "LibreOffice|x",
                                  "Administrative Tools", "Accessories", "Windows PowerShell"}) {
        SuiteMachine s;
        s.productKey = key;
        s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\nProductKey=" + key + "\n");
        sim::scripted::addUninstallEntry(s.m, kSuiteCode, key + " suite", "MsiExec.exe /I" + kSuiteCode);
        s.m.files.addFile(kPrograms + "keep.lnk", "x");
        // Where a key names a folder of Windows, that folder and its desktop twin.
        const bool named = key.find_first_of("\\*:.|") == std::string::npos;
        if (named) s.m.files.addFile(kPrograms + key + "\\Tool.lnk", "x");
        if (named) s.m.files.addFile(kDesktop + key + ".lnk", "x");
        EXPECT_EQ(s.run(), 0) << key;
        EXPECT_FALSE(s.registered(kSuiteCode)) << key;
        EXPECT_TRUE(s.m.files.exists(kPrograms + "keep.lnk")) << key;
        EXPECT_TRUE(s.m.files.exists("C:\\Windows")) << key;
        EXPECT_TRUE(s.m.files.exists(kPrograms + "LibreOffice 7.6")) << key;  // named by no plain key
        const bool family = key.rfind("LibreOffice", 0) == 0;
        EXPECT_TRUE(s.observer.saw("Start-menu folder, the product key " +
                                   std::string(family ? "is not a plain file name"
                                                      : "does not begin with a name of the suite's family")))
            << key;
        if (named) {
            EXPECT_TRUE(s.m.files.exists(kPrograms + key + "\\Tool.lnk")) << key;
            EXPECT_TRUE(s.m.files.exists(kDesktop + key + ".lnk")) << key;
        }
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
    for (const char* root : {"C:", "D:", "N:", "\\\\server\\apps"}) walk(fs, root, out);
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
        {"\\\\server\\apps\\LO\\", false, 1252}, {"C:\\Program Files\\\x95\x5C\\", true, 932},
        {"C:\\Users\\\x95\x5C\x8E\xA6\\Tools\\", false, 932},
    };
    const std::vector<std::tuple<std::string, std::string, bool>> keys = {  // key, its family, names things
        {"LibreOffice 7.6", "LibreOffice", true}, {"Collabora Office 24.04", "Collabora", true},
        {"ZetaOffice 7.6", "ZetaOffice", true},   {"libreoffice 25.2", "LibreOffice", true},
        {"Accessories", "", false},               {"Startup", "", false},
        {"Administrative Tools", "", false},      {"LibreOffice*", "LibreOffice", false},
        {"LibreOffice|x", "LibreOffice", false},  {"CON", "", false},
    };
    const Lines layout = {"program", "share", "help", "presets", "readmes", "URE", "CREDITS.fodt", "LICENSE.html",
                          "license.txt", "NOTICE"};
    const Lines extras = {"share\\registry\\main.xcd", "help\\en-US\\text.html", "URE\\bin\\jvm.dll", "NOTICE"};
    const Lines others = {"notes.txt", "OtherApp\\app.exe", "program.old\\soffice.bin", "LICENSE", "readmes.txt"};
    const Lines startupNames = {"LibreOffice 7.6.lnk", "LibreOffice Quickstart.lnk", "LibreOfficeDev 24.8.lnk",
                                "Collabora Office 24.04.lnk", "ZetaOffice 7.6.lnk", "ZetaOffice.lnk", "My Office.lnk"};
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
        s.m.files.addDirectory("N:\\");
        s.m.files.setDriveType('N', platform::kDriveRemote);
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
        for (const std::string& name : startupNames)
            if (chance(2)) s.m.files.addFile(kStartup + name, "lnk");
        for (const char* windows : {"Accessories\\Notepad.lnk", "Startup\\Antivirus.lnk", "CON\\x.lnk"})
            s.m.files.addFile(kPrograms + windows, "windows");
        if (namesThings) s.m.files.addFile(kPrograms + key + "\\Writer.lnk", "lnk");
        if (namesThings) s.m.files.addFile(kDesktop + key + ".lnk", "lnk");
        const std::set<std::string> before = everything(s.m.files);

        ASSERT_EQ(s.run(), 0);
        ASSERT_FALSE(s.registered(kSuiteCode));

        const std::string folder = location.substr(0, location.size() - 1);
        auto under = [](const std::string& path, const std::string& top) {
            return path.size() == top.size() ? startsWithCaseless(path, top) : startsWithCaseless(path, top + "\\");
        };
        auto owned = [&](const std::string& path) {
            if (mayTake && path.size() == folder.size() && startsWithCaseless(path, folder))
                return alone && !link && location != perUser;
            for (const std::string& name : layout)
                if (mayTake && !(link && name == "share") && under(path, folder + "\\" + name)) return true;
            for (const std::string& name : desktopNames)
                if (path == kDesktop + name) return true;
            if (namesThings && (path == kDesktop + key + ".lnk" || under(path, kPrograms + key))) return true;
            return startsWithCaseless(path, kStartup) && !family.empty() &&
                   startsWithCaseless(path.substr(kStartup.size()), family + " ");
        };
        const std::set<std::string> after = everything(s.m.files);
        for (const std::string& path : before) {
            if (after.count(path) != 0) continue;
            EXPECT_TRUE(owned(path)) << "disappeared: " << path;
        }
        for (const auto& item : s.m.files.recycleBin)
            EXPECT_TRUE(owned(item.originalPath)) << "recycled: " << item.originalPath;
        EXPECT_EQ(s.m.files.exists(location + "program"), !mayTake);
    }
}

}  // namespace
