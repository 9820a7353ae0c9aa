// The preview over the simulated machine: for each removal case, the plan
// leaves the machine as it was, and the run it announces (the same procedure
// with its effects made) starts the same command lines in the same order,
// ends with the same exit code, takes nothing the plan did not name and
// leaves nothing the plan said it would take.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/folders.h"
#include "platform/plan/plan.h"
#include "platform/sim/machine.h"
#include "platform/text.h"
#include "platform/wintypes.h"
#include "preview/output.h"
#include "korvalend/removal.h"
#include "preview/report.h"
#include "support/suite_machine.h"

namespace {

using namespace suite;
using platform::plan::Effect;

// Makes each effect on the simulated machine: the run the plan announces.
class BackendPerformer : public platform::plan::Performer {
    int32_t terminateProcess(platform::Handle p, uint32_t code) override {
        return platform::backend::terminateProcess(p, code);
    }
    int32_t shellExecuteExA(platform::ShellExecuteInfoA& info) override {
        return platform::backend::shellExecuteExA(info);
    }
    bool deleteFileA(const std::string& path) override { return platform::backend::deleteFileA(path); }
    bool removeDirectoryA(const std::string& path) override { return platform::backend::removeDirectoryA(path); }
    bool setFileAttributesA(const std::string& path, uint32_t a) override {
        return platform::backend::setFileAttributesA(path, a);
    }
    int32_t shFileOperationA(platform::ShFileOpStructA& op) override { return platform::backend::shFileOperationA(op); }
    uint32_t waitForInputIdle(platform::Handle p, uint32_t ms) override {
        return platform::backend::waitForInputIdle(p, ms);
    }
    uint32_t waitForSingleObject(platform::Handle h, uint32_t ms) override {
        return platform::backend::waitForSingleObject(h, ms);
    }
    bool releaseMutex(platform::Handle h) override { return platform::backend::releaseMutex(h); }
    bool setConsoleTitleA(const char* title) override { return platform::backend::setConsoleTitleA(title); }
    void sleepMs(uint32_t ms) override { platform::backend::sleepMs(ms); }
};

// Every file, folder, key and value of the machine, with its content.
std::map<std::string, std::string> contents(sim::Machine& m) {
    std::map<std::string, std::string> out;
    std::function<void(const std::string&)> walkFolder = [&](const std::string& folder) {
        for (const std::string& name : m.files.list(folder)) {
            const std::string path = folder + "\\" + name;
            const sim::FsNode* node = m.files.find(path);
            out[platform::charUpperBuffA(path)] = node->content + "|" + std::to_string(node->attributes);
            if (node->directory && !node->isJunction()) walkFolder(path);
        }
    };
    for (const char* drive : {"C:", "D:"}) walkFolder(drive);
    std::function<void(const sim::RegKey&, const std::string&)> walkKey = [&](const sim::RegKey& key,
                                                                            const std::string& path) {
        for (const auto& v : key.values) out[path + "|" + platform::wideToAnsi(v.name)] = v.data;
        for (const auto& [name, sub] : key.subkeys) walkKey(*sub, path + "\\" + platform::wideToAnsi(sub->name));
    };
    walkKey(*m.registry.rootKey(Root::LocalMachine), "HKLM");
    return out;
}


Lines planned(const korvalend::TPlanReport& r, Effect::Kind kind) {
    Lines out;
    for (const Effect& e : r.effects) {
        if (e.kind != kind) continue;
        if (kind == Effect::Kind::Launch) out.push_back(e.path + "|" + e.parameters);
        else if (kind == Effect::Kind::ShellDelete) out.insert(out.end(), e.paths.begin(), e.paths.end());
        else out.push_back(e.path);
    }
    return out;
}

// True when PATH is one of the planned paths or lies inside one.
bool covered(const std::string& path, const Lines& plannedPaths) {
    const std::u16string p = platform::plan::foldPath(path);
    for (const std::string& planned : plannedPaths) {
        const std::u16string q = platform::plan::foldPath(planned);
        if (p == q || p.rfind(q + u"\\", 0) == 0) return true;
    }
    return false;
}

const std::string kOrphan = "{7C0E4A1B-7621-4B1E-9D2C-0000000000F1}";
const std::string kOpenOffice = "C:\\Program Files (x86)\\OpenOffice 4\\program\\soffice.bin";

struct Case {
    const char* name;
    std::function<void(SuiteMachine&)> setup;
    Lines args;
    Lines says = {};         // in the plan's text
    bool asSystem = false;  // planned with --system; the run is made as SYSTEM
    // The installer's own failure, which the plan cannot know: the exit code
    // and what is deleted differ.
    bool installerAnswers = false;
};

const std::string kSystemProfile = "C:\\Windows\\system32\\config\\systemprofile";
const std::string kSystemStartup = kSystemProfile + kStartup.substr(std::string("C:\\Users\\User").size());

// The local system account's profile, as the machine lists it.
void systemProfile(SuiteMachine& s) {
    s.m.registry.setString(Root::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-18",
                           "ProfileImagePath", "%systemroot%\\system32\\config\\systemprofile", 2);
    s.m.files.addDirectory(kSystemProfile);
}

void runAsSystem(SuiteMachine& s) {
    s.m.accountName = "NT AUTHORITY\\SYSTEM";
    s.m.accountSid = "S-1-5-18";
    s.m.files.setSpecialFolder(platform::kCsidlStartup, kSystemStartup);
}

// The command lines the shell started, as "file|parameters".
Lines started(const SuiteMachine& s) {
    Lines out;
    for (const auto& l : s.m.shell.launches)
        if (l.succeeded) out.push_back(l.file.value_or("") + "|" + l.parameters.value_or(""));
    return out;
}

void location(SuiteMachine& s, const std::string& folder) {
    s.m.registry.setString(Root::LocalMachine, "SOFTWARE\\The Document Foundation\\LibreOffice\\7.6.4.1\\" + kUpgrade,
                           "INSTALLLOCATION", folder);
    s.m.files.addFile(folder + "PROGRAM\\bootstrap.ini", "[Bootstrap]\nProductKey=LibreOffice 7.6\n");
    s.m.files.addFile(folder + "precious.doc", "data");
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"full",
         [](SuiteMachine& s) {
             s.addHelpPack();
             s.addExtension("ext-lo", "LibreOffice Extension Grammar");
             s.addExtension("ext-co", "Collabora Extension Tools");
             s.m.processes.addImage(kInstall + "program\\soffice.bin");
             s.m.files.addFile(kOpenOffice, "image");
             s.m.processes.addImage(kOpenOffice);
             s.m.processes.add("soffice.bin");  // its image cannot be read
             s.m.processes.add("notepad.exe");
             s.m.files.addFile(kStartup + "LibreOffice 7.6.lnk", "x");
             s.m.files.addFile(kStartup + "My Office Tool.lnk", "x");
         },
         {}},
        {"quiet", [](SuiteMachine& s) { s.addHelpPack(); }, {"/quiet"}},
        {"helpPackWithoutCommand",
         [](SuiteMachine& s) { sim::scripted::addUninstallEntry(s.m, "{HELP}", "LibreOffice 7.6 Help Pack (French)"); },
         {}},
        {"noEntryForTheCode",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             sim::scripted::addUninstallEntry(s.m, "x", "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kSuiteCode);
             s.m.processes.add("soffice.bin");
         },
         {}},
        {"installerFails",
         [](SuiteMachine& s) { sim::scripted::addWindowsInstaller(s.m, {.leaveEntry = true}); },
         {},
         {},
         false,
         true},
        {"installerMissing",
         [](SuiteMachine& s) {
             s.addHelpPack();
             s.m.files.systemDirectory = "C:\\Windows\\nowhere";
         },
         {},
         {"could not be started: C:\\Windows\\nowhere\\Msiexec.exe /passive /norestart /x" + kSuiteCode + "\r\n"
          "       C:\\Windows\\nowhere\\Msiexec.exe does not exist"}},
        {"extensionUninstallerGone",
         [](SuiteMachine& s) {
             s.addExtension("ext-lo", "LibreOffice Extension Grammar");
             (void)s.m.files.deleteFile("C:\\Program Files\\Ext\\ext-lo\\unins000.exe");
         },
         {},
         {"C:\\Program Files\\Ext\\ext-lo\\unins000.exe does not exist"}},
        {"extensionByAppPaths",
         [](SuiteMachine& s) {
             sim::scripted::addExtensionUninstaller(s.m, "C:\\Tools\\ext tool.exe", "ext-tool");
             sim::scripted::addUninstallEntry(s.m, "ext-tool", "LibreOffice Extension Tool", "ext-tool.exe");
             s.m.registry.setString(Root::LocalMachine,
                                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ext-tool.exe", "",
                                    "\"C:\\Tools\\ext tool.exe\"");
         },
         {},
         {"  1. run ext-tool.exe /verysilent\r\n     and wait"}},
        {"shortcutsThatStay",
         [](SuiteMachine& s) {
             s.m.files.addFile(kDesktop + "LibreOffice Calc.lnk", "lnk", platform::kFileAttributeReadonly);
             s.m.files.addDirectory(kDesktop + "LibreOffice Draw.lnk");
         },
         {},
         {kDesktop + "LibreOffice Calc.lnk is read-only: kept", kDesktop + "LibreOffice Draw.lnk is a folder, not a shortcut: kept"}},
        {"asSystem",
         [](SuiteMachine& s) {
             systemProfile(s);
             s.m.files.addFile(kStartup + "LibreOffice 7.6.lnk", "x");
             s.m.files.addFile(kSystemStartup + "LibreOffice Quickstart.lnk", "x");
         },
         {},
         {"Per-user folders: those of SYSTEM, read from its profile " + kSystemProfile + "\r\n",
          "delete " + kSystemStartup + "LibreOffice Quickstart.lnk"},
         true},
        // The run uninstalls the entry of the suite's own view, and so does the plan.
        {"aNativeEntryRepeatsThe32BitSuitesCode",
         [](SuiteMachine& s) {
             const std::string code = "{32323232-1111-4A4A-9C9C-000000000032}";
             s.m.registry.removeKey(Root::LocalMachine, kTdf);
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.addSuite(kTdf, true, "C:\\Program Files (x86)\\LibreOffice\\", "LibreOffice 7.6", code);
             sim::scripted::addUninstallEntry(s.m, code, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + code);
         },
         {},
         {"send to the Recycle Bin: c:\\program files (x86)\\libreoffice\\program"}},
        {"orphanBeforeTheSuite",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6.2.1", "MsiExec.exe /I" + kOrphan);
             s.m.installer.forget(kOrphan);
         },
         {},
         {"orphaned entry: LibreOffice 7.6.2.1 (" + kOrphan + ", 64-bit view): the Windows Installer no longer holds it"}},
        {"packagesGone",
         [](SuiteMachine& s) {
             s.addHelpPack(kOrphan);
             sim::scripted::removeCachedPackage(s.m, kOrphan);
             // Its source closed to the preview (and to the run: one machine here).
             s.m.files.find("C:\\Packages\\7c0e4a1b76214b1e9d2c0000000000f1")->unreadable = true;
             sim::scripted::removeCachedPackage(s.m, kSuiteCode);
             sim::scripted::removeSourcePackage(s.m, kSuiteCode);
         },
         {},
         {"the uninstall will fail with 1612", "cannot be read here"}},
        {"programFilesItself", [](SuiteMachine& s) { location(s, "C:\\Program Files\\"); }, {}},
        {"profile", [](SuiteMachine& s) { location(s, "C:\\Users\\User\\"); }, {}},
        // Code page 932: the second byte of the folder's name is 0x5C.
        {"doubleByteFolder",
         [](SuiteMachine& s) {
             s.m.codePage = 932;
             location(s, "C:\\\x95\x5C\\");
         },
         {}},
        {"junction",
         [](SuiteMachine& s) {
             s.m.files.addFile("D:\\Data\\thesis.doc", "data");
             s.m.files.addJunction("C:\\LO", "D:\\Data");
             location(s, "C:\\LO\\");
         },
         {}},
        {"collaboraKey",
         [](SuiteMachine& s) {
             s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\nProductKey=Collabora Office 23.05\n");
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "Collabora Office 23.05.4", "MsiExec.exe /I" + kSuiteCode);
             s.m.files.addFile(kDesktop + "Collabora Office Calc.lnk", "lnk");
         },
         {}},
        {"productKeyNotAName",
         [](SuiteMachine& s) {
             s.m.files.addFile(kInstall + "program\\bootstrap.ini", "[Bootstrap]\nProductKey=..\\..\\Windows\n");
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "..\\..\\Windows suite", "MsiExec.exe /I" + kSuiteCode);
         },
         {}},
        {"noSpecialFolders",
         [](SuiteMachine& s) {
             for (int32_t csidl : {platform::kCsidlCommonDesktopDirectory, platform::kCsidlCommonPrograms,
                                   platform::kCsidlStartup})
                 s.m.files.makeUnresolvable(csidl);
         },
         {}},
        // The run's record: the plan shows the installer's own log on each
        // Msiexec.exe line, or why the folder is refused; it writes nothing.
        {"record",
         [](SuiteMachine& s) {
             s.addHelpPack();
             s.m.files.addDirectory("C:\\Windows\\Logs");
         },
         {"/quiet", "/log"},
         {"  run's record: C:\\Windows\\Logs\\Korvalend\\korvalend.log (its folder created for it)\r\n",
          "/x" + kSuiteCode + " /L*v \"C:\\Windows\\Logs\\Korvalend\\msiexec-" + kSuiteCode + ".log\"\r\n"}},
        {"recordRefused", [](SuiteMachine&) {}, {"/log=C:/Users/Public/Logs"},
         {"     - the run's record in C:\\Users\\Public\\Logs: skipped, is inside a user's profile\r\n",
          "/x" + kSuiteCode + "\r\n"}},
        {"noSuite",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, "Software\\Classes\\AppID\\{82154420-0FBF-11d4-8313-005004526AB4}");
         },
         {}},
    };
    return table;
}

TEST(Plan, EachRemovalCaseIsPlannedWithoutChangeAndAnnouncesItsRun) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        SuiteMachine previewed;
        c.setup(previewed);
        previewed.m.console.attached = true;
        previewed.m.console.title = "Administrator: cmd";
        const auto before = contents(previewed.m);
        const uint64_t startMs = previewed.m.nowMs;
        const korvalend::TPlanReport plan = korvalend::PLANREMOVAL(c.args, nullptr, c.asSystem);
        EXPECT_EQ(contents(previewed.m), before);
        EXPECT_TRUE(previewed.m.shell.launches.empty());
        EXPECT_TRUE(previewed.m.processes.terminateRequests.empty());
        EXPECT_TRUE(previewed.m.files.fileOps.empty());
        EXPECT_EQ(previewed.m.console.titleChanges, 0);
        EXPECT_EQ(previewed.m.nowMs, startMs) << "the preview paused";
        const std::string text = korvalend::FORMATPLANTEXT(plan);
        for (const std::string& line : c.says) EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

        SuiteMachine removed;
        c.setup(removed);
        if (c.asSystem) runAsSystem(removed);
        BackendPerformer performer;
        const korvalend::TPlanReport run = korvalend::PLANREMOVAL(c.args, &performer);
        if (!c.installerAnswers) {
            EXPECT_EQ(plan.exitCode, run.exitCode);
        }
        // The installers' and uninstallers' command lines, in order.
        EXPECT_EQ(planned(plan, Effect::Kind::Launch), started(removed));
        EXPECT_EQ(planned(run, Effect::Kind::Launch), started(removed));
        EXPECT_EQ(planned(plan, Effect::Kind::Terminate).size(), removed.m.processes.terminateRequests.size());
        // Everything the run took away, the plan named, and all it named is gone.
        Lines named = planned(plan, Effect::Kind::ShellDelete);
        for (const std::string& p : planned(plan, Effect::Kind::DeleteFile)) named.push_back(p);
        for (const sim::RecycledItem& item : removed.m.files.recycleBin)
            EXPECT_TRUE(covered(item.originalPath, named)) << item.originalPath;
        const auto after = contents(removed.m);
        for (const auto& [path, content] : before)
            if (path.rfind("HKLM", 0) != 0 && after.count(path) == 0) {
                EXPECT_TRUE(covered(path, named)) << path;
            }
        for (const std::string& path : named)
            if (!c.installerAnswers) {
                EXPECT_FALSE(removed.m.files.exists(path)) << path;
            }
    }
}

// Unelevated, the local system account's profile is closed to the preview,
// while the run, as that account, reads it: the plan cannot say what is there.
TEST(Plan, AProfileClosedToThePreviewIsUnreadNotEmpty) {
    SuiteMachine s;
    systemProfile(s);
    s.m.files.addFile(kSystemStartup + "LibreOffice 7.6.lnk", "x");
    s.m.files.find(kSystemProfile)->unreadable = true;
    const std::string text = korvalend::FORMATPLANTEXT(korvalend::PLANREMOVAL({}, nullptr, true));
    EXPECT_NE(text.find("Startup shortcuts: skipped, the folder could not be read"), std::string::npos) << text;
    EXPECT_EQ(text.find("delete " + kSystemStartup), std::string::npos) << text;
}

// A program name as the shell reads it before a launch: where the machine
// cannot settle it, the start is assumed, never refused.
TEST(Plan, AProgramNameIsReadAsTheShellReadsIt) {
    using Outcome = platform::plan::LaunchCheck::Outcome;
    sim::Machine m;
    m.files.addFile("C:\\Tools\\run.exe");
    m.files.addFile("C:\\Windows\\system32\\find.exe");
    m.files.addDirectory("C:\\Tools\\folder.exe");
    m.files.addDirectory("C:\\Locked").unreadable = true;
    m.shell.setEnv("TOOLS", "C:\\Tools");
    struct Row {
        std::string file;
        Outcome outcome;
    };
    for (const Row& row : std::vector<Row>{{"\"%TOOLS%\\run.exe\"", Outcome::Starts},
                                           {"find.exe", Outcome::Starts},
                                           {"C:\\Tools\\gone.exe", Outcome::Fails},
                                           {"C:\\Tools\\run.exe /verysilent", Outcome::Fails},  // one name, with a blank
                                           {"C:\\Tools\\run", Outcome::Assumed},
                                           {"C:\\Tools\\folder.exe", Outcome::Assumed},
                                           {"Tools\\run.exe", Outcome::Assumed},
                                           {"nowhere.exe", Outcome::Assumed},  // the current folder may hold it
                                           {"C:\\Locked\\run.exe", Outcome::Assumed}}) {
        const platform::plan::LaunchCheck check = platform::plan::checkLaunch(row.file, true);
        EXPECT_EQ(check.outcome, row.outcome) << row.file;
        EXPECT_EQ(check.reason.empty(), row.outcome == Outcome::Starts) << row.file;
    }
}

TEST(Plan, TheErrorTheRunWouldMeetEndsThePlanWith217) {
    SuiteMachine s;
    s.m.registry.setDword(Root::LocalMachine, "Software\\Classes\\AppID\\{82154420-0FBF-11d4-8313-005004526AB4}", "", 7);
    s.m.console.attached = true;
    EXPECT_EQ(korvalend::RUNPLANPROCESS({"--json"}), 217);
    EXPECT_NE(s.m.console.bytes[0].find("\"exitCode\": 217"), std::string::npos);
    EXPECT_EQ(s.m.console.bytes[1], "ERegistryException: Invalid registry data type: \"\"\r\n");
    EXPECT_TRUE(s.m.messageBoxes.empty());
}

TEST(Plan, OptionsComeInAnyOrderAndOnlyTheExactOnesCount) {
    struct Row {
        Lines args;
        bool quiet, json;
        std::string unknown;
        bool system = false;
        std::string log = "";
    };
    for (const Row& row : std::vector<Row>{{{}, false, false, ""},
                                           {{"--json", "/quiet"}, true, true, ""},
                                           {{"/quiet", "--json"}, true, true, ""},
                                           {{"/QUIET"}, false, false, "/QUIET"},
                                           {{"--json", "-json"}, false, true, "-json"},
                                           {{"--system", "/quiet"}, true, false, "", true},
                                           {{"/log=D:\\Logs", "/quiet"}, true, false, "", false, "/log=D:\\Logs"},
                                           {{"/log"}, false, false, "", false, "/log"},
                                           {{"/Log"}, false, false, "/Log"}}) {
        const korvalend::TPlanOptions o = korvalend::PARSEPLANOPTIONS(row.args);
        EXPECT_EQ(o.system, row.system);
        EXPECT_EQ(o.quiet, row.quiet);
        EXPECT_EQ(o.json, row.json);
        EXPECT_EQ(o.unknown, row.unknown);
        EXPECT_EQ(o.log, row.log);
    }
    SuiteMachine s;
    s.m.console.attached = true;
    EXPECT_EQ(korvalend::RUNPLANPROCESS({"/Quiet"}), 87);
    EXPECT_TRUE(s.m.shell.launches.empty());
}

// What the run found, as the removal told it, and each step with its exact
// command line.
TEST(Plan, TextNamesEachStepAndItsExactCommandLine) {
    SuiteMachine s;
    s.addHelpPack();
    s.addExtension("ext-lo", "LibreOffice Extension Grammar");
    const std::string soffice = std::to_string(s.m.processes.addImage(kInstall + "program\\soffice.bin"));
    s.m.files.addFile(kOpenOffice, "image");
    const std::string openOffice = std::to_string(s.m.processes.addImage(kOpenOffice));
    const std::string text = korvalend::FORMATPLANTEXT(korvalend::PLANREMOVAL({"/quiet"}));
    for (const std::string& line : Lines{
             "Per-user folders: those of USER-PC\\User, who runs this preview (deployment tools run korvalend.exe "
             "as SYSTEM: see --system)\r\nAssumed: every uninstaller that starts succeeds",
             "Found:\r\n"
             "  AppID: LibreOffice Service Manager\r\n"
             "  vendor key: \\SOFTWARE\\The Document Foundation\\LibreOffice\\\r\n"
             "  install location: c:\\program files\\libreoffice\\\r\n"
             "  product key: LibreOffice 7.6\r\n"
             "  product code: " + kSuiteCode + "\r\n"
             "  suite: 1st to be removed: LibreOffice 7.6.4.1 (64-bit view) in c:\\program files\\libreoffice\\\r\n"
             "  running process: " + kInstall + "program\\soffice.bin (process " + soffice + ")\r\n"
             "  running process: " + kOpenOffice + " (process " + openOffice + ")\r\n"
             "  extension: LibreOffice Extension Grammar (ext-lo)\r\n"
             "  help pack: LibreOffice 7.6 Help Pack (French) (" + kHelpCode + ")\r\n\r\n",
             "Steps:\r\n"
             "  1. end process soffice.bin (id " + soffice + ")\r\n"
             "     - " + kOpenOffice + " is another program's soffice.bin (process " + openOffice + "): kept\r\n"
             "  2. run \"C:\\Program Files\\Ext\\ext-lo\\unins000.exe\" /verysilent\r\n"
             "     and wait for it to end\r\n"
             "     - then waits, if need be, for a busy Windows Installer (Global\\_MSIExecute)\r\n"
             "  3. run C:\\Windows\\system32\\Msiexec.exe /quiet /norestart /x" + kHelpCode + "\r\n",
             "run C:\\Windows\\system32\\Msiexec.exe /quiet /norestart /x" + kSuiteCode,
             "delete " + kDesktop + "LibreOffice Writer.lnk",
             std::string("send to the Recycle Bin: c:\\program files\\libreoffice\\program\r\n"),
             std::string("Exit code of the real run: 0 (nothing of the family remains registered)\r\n")})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST(Plan, JsonIsAsciiWithEveryOtherCharacterEscaped) {
    korvalend::TPlanReport report;
    report.events.push_back({korvalend::TPlanEvent::Kind::Found, "product key", std::string("Caf\xE9 \"1\"\\\x01\0", 11), 0});
    report.events.push_back({korvalend::TPlanEvent::Kind::Kept, "C:\\", "is a drive root", 0});
    const std::string json = korvalend::FORMATPLANJSON(report);
    for (const char c : json) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_NE(json.find(R"({"what": "product key", "text": "Caf\u00e9 \"1\"\\\u0001\u0000"})"), std::string::npos)
        << json;
    EXPECT_NE(json.find(R"({"path": "C:\\", "reason": "is a drive root"})"), std::string::npos) << json;
}

TEST(Plan, TextGoesOutInTheConsolesCodePage) {
    struct Row {
        bool console;
        uint32_t codePage;
        std::string bytes;
        std::u16string written;
    };
    for (const Row& row : std::vector<Row>{{false, 1252, "Caf\xE9", u""}, {false, 850, "Caf?", u""},
                                           {true, 850, "", u"Caf\u00e9"}}) {
        sim::Machine m;
        m.console.attached = true;
        m.console.streamsAreConsole = row.console;
        m.console.outputCodePage = row.codePage;
        korvalend::WRITEPLANOUTPUT(platform::StdStream::Output, "Caf\xE9");
        EXPECT_EQ(m.console.bytes[0], row.bytes);
        EXPECT_EQ(m.console.written[0], row.written);
    }
}

}  // namespace

namespace {

// The compliance check: its one line and exit code, and, after the real
// run, that the run ended with 0 exactly when the check then answers 0.
TEST(Plan, CheckSaysWhatIsInstalledInOneLine) {
    struct Row {
        const char* what;
        std::function<void(SuiteMachine&)> setup;
        Lines args;
        int exitCode;
        std::string line;  // what the line holds
    };
    const std::string kUsual = "LibreOffice 7.6.4.1 (64-bit) in c:\\program files\\libreoffice\\: korvalend.exe would remove it";
    const Row rows[] = {
        {"the usual suite", [](SuiteMachine&) {}, {"--check"}, 1, kUsual + ", exit 0"},
        {"options repeated, in any order", [](SuiteMachine&) {}, {"/quiet", "--check", "--check"}, 1, kUsual + ", exit 0"},
        {"a suite in each view",
         [](SuiteMachine& s) {
             s.addSuite(kTdf, true, "C:\\Program Files (x86)\\LibreOffice\\", "LibreOffice 7.6", "{32}", "LibreOffice 7.6.5.2");
         },
         {"--check"}, 1,
         kUsual + "; LibreOffice 7.6.5.2 (32-bit) in c:\\program files (x86)\\libreoffice\\: korvalend.exe would remove it, exit 0"},
        {"facts that cannot be resolved",
         [](SuiteMachine& s) { (void)s.m.files.deleteFile(kInstall + "program\\bootstrap.ini"); }, {"--check"}, 1,
         "LibreOffice 7.6.4.1 (64-bit): korvalend.exe would leave it (no product key): exit 70001, no product key"},
        {"each entry in its own view, each suite left with its own case",
         [](SuiteMachine& s) {
             s.addSuite(kTdf, true, "C:\\Program Files (x86)\\LibreOffice\\", "LibreOffice 7.6", "{32}", "LibreOffice 7.6.5.2");
             sim::scripted::addUninstallEntry(s.m, "{32}", "LibreOffice 7.6.5.2", "C:\\LO\\uninstall.exe", true);
             sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kSuiteCode, true);
         },
         {"--check"}, 1,
         kUsual + "; LibreOffice 7.6.5.2 (32-bit): korvalend.exe would leave it (no product code); LibreOffice "
                  "7.6.4.1 (32-bit): korvalend.exe would leave it: exit 70001, no product code"},
        {"an orphan alone",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.m.registry.removeKey(Root::LocalMachine, "Software\\Classes\\AppID");
             sim::scripted::addUninstallEntry(s.m, kOrphan, "LibreOffice 7.6.2.1", "MsiExec.exe /I" + kOrphan);
             s.m.installer.forget(kOrphan);
         },
         {"--check"}, 0,
         "Nothing of the family is installed (orphaned entries left: LibreOffice 7.6.2.1): korvalend.exe would do "
         "nothing, exit 0"},
        {"a package gone with its source",
         [](SuiteMachine& s) {
             sim::scripted::removeCachedPackage(s.m, kSuiteCode);
             sim::scripted::removeSourcePackage(s.m, kSuiteCode);
         },
         {"--check"}, 1,
         "would leave it (its cached package and the package it was installed from are gone (exit code 1612)): exit 1612"},
        {"a display name holding CR, LF and TAB",
         [](SuiteMachine& s) { sim::scripted::addUninstallEntry(s.m, "{CTL}", "LibreOffice 7.6 (\r\nx\t)"); },
         {"--check"}, 1, "; LibreOffice 7.6 (  x ) (64-bit): korvalend.exe would leave it"},
        {"an AppID and a ProgID left behind",
         [](SuiteMachine& s) { s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode); },
         {"--check"}, 0, "Nothing of the family is installed: korvalend.exe would do nothing, exit 0"},
        {"the Uninstall key refused",
         [](SuiteMachine& s) { s.m.registry.findKey(Root::LocalMachine, sim::scripted::kUninstallKey)->openable = false; },
         {"--check"}, 217,
         "korvalend-plan --check: cannot read HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall (64-bit "
         "view): Access is denied."},
        {"the 32-bit Uninstall key refused",
         [](SuiteMachine& s) { s.m.registry.addKey(Root::LocalMachine, sim::scripted::kUninstallKey32).openable = false; },
         {"--check"}, 217, "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall (32-bit view): Access is denied."},
        {"a help pack left without its suite",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.addHelpPack();
         },
         {"--check"}, 1, "LibreOffice 7.6 Help Pack (French) (64-bit): korvalend.exe would remove it, exit 0"},
        {"another user's installation alone",
         [](SuiteMachine& s) {
             s.m.registry.removeKey(Root::LocalMachine, "Software\\Classes\\AppID");
             s.m.registry.removeKey(Root::LocalMachine, kTdf);
             s.m.registry.removeKey(Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kSuiteCode);
             s.addPerUserInstall("S-1-5-21-7", "0123", "LibreOffice 7.6.4.1");
         },
         {"--check"}, 1, "would leave it: exit 70002, installed for the account S-1-5-21-7 alone"},
        {"a name too long for a detection script",
         [](SuiteMachine& s) {
             sim::scripted::addUninstallEntry(s.m, "{LONG}", "LibreOffice 7.6.0.1 (" + std::string(3000, 'x') + ")");
         },
         {"--check"}, 1, " (...)"},
        {"with --json", [](SuiteMachine&) {}, {"--check", "--json"}, 87, ""},
        {"the record's option is no concern of the check", [](SuiteMachine&) {}, {"--check", "/log=relative"}, 1,
         kUsual + ", exit 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SuiteMachine s;
        row.setup(s);
        s.m.console.attached = true;
        const int checked = korvalend::RUNPLANPROCESS(row.args);
        EXPECT_EQ(checked, row.exitCode);
        const std::string out = s.m.console.bytes[0];
        EXPECT_NE(out.find(row.line), std::string::npos) << out;
        if (checked == 87) continue;
        EXPECT_LE(out.size(), korvalend::kCheckLineMax + 2);
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_TRUE(s.m.shell.launches.empty());
        if (checked == 217) continue;
        BackendPerformer performer;  // the real run
        const int ran = korvalend::PLANREMOVAL({}, &performer).exitCode;
        s.m.console.bytes[0].clear();
        EXPECT_EQ(ran == 0, korvalend::RUNPLANPROCESS({"--check"}) == 0) << ran << ": " << s.m.console.bytes[0];
    }
}

}  // namespace
