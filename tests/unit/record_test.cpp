// The run's record (/log): the option, which folders may hold it, the lines
// it writes, and that nothing the record meets changes the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "korvalend/program.h"
#include "korvalend/record.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"
#include "platform/wintypes.h"
#include "support/suite_machine.h"

namespace {

using namespace suite;
using korvalend::TREFUSAL;

const std::string kLogs = "C:\\Windows\\Logs\\Korvalend";
const std::string kRecord = kLogs + "\\korvalend.log";
const std::string kBom = "\xEF\xBB\xBF";
const std::string kMsi = "C:\\Windows\\system32\\Msiexec.exe|";

// The record's lines, without the byte-order mark and the line breaks.
Lines recordLines(sim::Machine& m, const std::string& path = kRecord) {
    std::string text = m.files.read(path).value_or("");
    if (text.starts_with(kBom)) text.erase(0, kBom.size());
    Lines out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        out.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return out;
}

// Counts every event the run tells.
struct EventCounter : korvalend::TRemovalObserver {
    int events = 0;
    void found(const std::string&, const std::string&) override { ++events; }
    void kept(const std::string&, const korvalend::TReason&) override { ++events; }
    void skipped(const std::string&, const korvalend::TReason&) override { ++events; }
    void waits(const std::string&) override { ++events; }
    void waited(const std::string&, uint64_t) override { ++events; }
    void removes(const korvalend::TSuiteFacts&, int) override { ++events; }
    void launches(const korvalend::TLaunch&) override { ++events; }
    void launchEnded(const korvalend::TLaunch&, const korvalend::TLaunchEnd&) override { ++events; }
    void processEnded(uint32_t, const std::string&, bool) override { ++events; }
    void removed(const std::string&, korvalend::TRemoval, bool) override { ++events; }
    void concluded(const korvalend::TOutcome&) override { ++events; }
    void failed(const std::string&) override { ++events; }
};

TEST(RecordOption, TakenAnywhereWrittenExactlySo) {
    struct Case {
        std::vector<std::string> args;
        bool given;
        std::string folder;
    };
    const Case cases[] = {
        {{}, false, ""},
        {{"/quiet", "/log"}, true, kLogs},
        {{"/log", "/quiet"}, true, kLogs},
        {{"/LOG"}, false, ""},
        {{"/logs"}, false, ""},
        {{"log"}, false, ""},
        {{"/log=D:\\Logs\\"}, true, "D:\\Logs"},
        {{"/log=\"D:\\My Logs\""}, true, "D:\\My Logs"},
        {{"/log=%ProgramData%/Microsoft//IntuneManagementExtension/Logs"}, true,
         "C:\\ProgramData\\Microsoft\\IntuneManagementExtension\\Logs"},
        {{"/log="}, true, ""},
        {{"/log=\"\""}, true, ""},
        {{"/log=D:\\a", "/log=E:\\b", "/log"}, true, "D:\\a"},
        {{"/log=%NOSUCHVARIABLE%\\x"}, true, "%NOSUCHVARIABLE%\\x"},
    };
    for (const Case& c : cases) {
        sim::Machine m;
        const korvalend::TLogOption option = korvalend::PARSELOGOPTION(c.args);
        EXPECT_EQ(option.given, c.given) << ::testing::PrintToString(c.args);
        EXPECT_EQ(option.folder, c.folder) << ::testing::PrintToString(c.args);
    }
}

// The default folder's parent, as Windows has it.
void windowsLogs(sim::Machine& m) { m.files.addDirectory("C:\\Windows\\Logs"); }

TEST(RecordFolder, OnlyWhereNoStandardUserCanPlantAnything) {
    const std::string tight = "O:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
    struct Case {
        const char* what;
        std::string folder;
        void (*seed)(sim::Machine&);
        TREFUSAL refusal;
    };
    const Case cases[] = {
        {"the default, created", kLogs, windowsLogs, TREFUSAL::NONE},
        {"empty", "", nullptr, TREFUSAL::NOTAFULLPATH},
        {"relative", "Logs\\Korvalend", nullptr, TREFUSAL::NOTAFULLPATH},
        {"device path", "\\\\?\\C:\\Logs", nullptr, TREFUSAL::ODDNAME},
        {"share", "\\\\server\\share\\Logs", [](sim::Machine& m) { m.files.addDirectory("\\\\server\\share\\Logs"); },
         TREFUSAL::NOTFIXEDDRIVE},
        {"mapped drive", "Z:\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("Z:\\Logs");
             m.files.setDriveType('Z', platform::kDriveRemote);
         },
         TREFUSAL::NOTFIXEDDRIVE},
        {"a profile", "C:\\Users\\Bob\\Logs", [](sim::Machine& m) { m.files.addDirectory("C:\\Users\\Bob"); },
         TREFUSAL::INPROFILE},
        {"Public", "C:\\Users\\Public\\Logs", nullptr, TREFUSAL::INPROFILE},
        {"Windows' temporary folder", "C:\\Windows\\Temp\\Logs",
         [](sim::Machine& m) { m.files.addDirectory("C:\\Windows\\Temp"); }, TREFUSAL::TEMPFOLDER},
        {"ProgramData itself", "C:\\ProgramData", nullptr, TREFUSAL::WELLKNOWN},
        {"Intune's logs, tight", "C:\\ProgramData\\Microsoft\\IntuneManagementExtension\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("C:\\ProgramData\\Microsoft\\IntuneManagementExtension\\Logs");
             m.files.setSecurity("C:\\ProgramData\\Microsoft\\IntuneManagementExtension\\Logs",
                                 "O:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
         },
         TREFUSAL::NONE},
        {"a junction on the way", "C:\\Tools\\Logs\\Korvalend",
         [](sim::Machine& m) {
             m.files.addDirectory("D:\\Elsewhere");
             m.files.addJunction("C:\\Tools\\Logs", "D:\\Elsewhere");
         },
         TREFUSAL::LINK},
        {"a junction itself", "C:\\Tools\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("D:\\Elsewhere");
             m.files.addJunction("C:\\Tools\\Logs", "D:\\Elsewhere");
         },
         TREFUSAL::LINK},
        {"a file in its place", "C:\\Tools\\Logs", [](sim::Machine& m) { m.files.addFile("C:\\Tools\\Logs", "x"); },
         TREFUSAL::NOTAFOLDER},
        {"missing parent", "C:\\Tools\\Logs\\Korvalend", nullptr, TREFUSAL::NOPARENT},
        {"Users may write", "C:\\Tools\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("C:\\Tools\\Logs");
             m.files.setSecurity("C:\\Tools\\Logs", "O:SYD:PAI(A;OICI;FA;;;SY)(A;OICI;0x1301bf;;;BU)");
         },
         TREFUSAL::OPENACCESS},
        {"Authenticated Users may add folders", "C:\\Tools\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("C:\\Tools\\Logs");
             m.files.setSecurity("C:\\Tools\\Logs", "O:SYD:(A;;FA;;;SY)(A;;0x4;;;AU)");
         },
         TREFUSAL::OPENACCESS},
        {"no access list", "C:\\Tools\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("C:\\Tools\\Logs");
             m.files.setSecurity("C:\\Tools\\Logs", "O:SYD:NO_ACCESS_CONTROL");
         },
         TREFUSAL::OPENACCESS},
        {"a deny entry and the running account's own write", "C:\\Tools\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("C:\\Tools\\Logs");
             m.files.setSecurity("C:\\Tools\\Logs",
                                 "O:BAD:(D;;FA;;;BU)(A;;FA;;;SY)(A;;FA;;;" + m.accountSid + ")(A;OICIIO;FA;;;BU)");
         },
         TREFUSAL::NONE},
        {"owned by a user", "C:\\Tools\\Logs",
         [](sim::Machine& m) {
             m.files.addDirectory("C:\\Tools\\Logs");
             m.files.setSecurity("C:\\Tools\\Logs", "O:S-1-5-21-1-2-3-1002D:PAI(A;OICI;FA;;;SY)");
         },
         TREFUSAL::FOREIGNOWNER},
    };
    for (const Case& c : cases) {
        sim::Machine m;
        m.files.addDirectory("C:\\Tools");
        if (c.seed) c.seed(m);
        bool created = false;
        EXPECT_EQ(korvalend::ACCEPTLOGFOLDER(c.folder, created), c.refusal) << c.what;
        EXPECT_EQ(created, c.folder == kLogs) << c.what;
    }
    // The folder the run makes grants what it checks for, and passes the check.
    sim::Machine m;
    windowsLogs(m);
    bool created = false;
    ASSERT_EQ(korvalend::ACCEPTLOGFOLDER(kLogs, created), TREFUSAL::NONE);
    EXPECT_EQ(m.files.find(kLogs)->security, "O:" + m.accountSid + "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)");
}

// A removal that fails, whose display name holds what could break a line,
// read back as the log viewer reads it.
TEST(Record, AFailingRemovalLineByLine) {
    SuiteMachine s;
    windowsLogs(s.m);
    s.m.timeZoneBiasMinutes = -60;
    sim::scripted::addUninstallEntry(s.m, kSuiteCode, "LibreOffice 7.6.4.1\r\n]LOG]!><time=\xE9",
                                     "MsiExec.exe /I" + kSuiteCode);
    sim::scripted::addWindowsInstaller(s.m, {.leaveEntry = true, .exitCode = 1603});
    EventCounter counter;
    korvalend::SETREMOVALOBSERVER(&counter);

    EXPECT_EQ(s.run({"/quiet", "/log"}), 1603);

    EXPECT_TRUE(s.m.files.read(kRecord).value_or("").starts_with(kBom));
    const Lines lines = recordLines(s.m);
    // The version, the arguments, the account, the installer options; then one line per event.
    ASSERT_EQ(lines.size(), 4u + static_cast<std::size_t>(counter.events));
    const std::regex cmtrace(
        "<!\\[LOG\\[(.*)\\]LOG\\]!><time=\"09:3\\d:\\d\\d\\.\\d{3}-060\" date=\"03-14-2024\" "
        "component=\"korvalend\" context=\"\" type=\"([123])\" thread=\"4343\" file=\"\">");
    int failures = 0;
    for (const std::string& line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, cmtrace)) << line;
        EXPECT_EQ(m[1].str().find("]LOG]!>"), std::string::npos) << line;
        if (m[2] == "3" && m[1].str().find(kSuiteCode) != std::string::npos &&
            m[1].str().find("exit code 1603") != std::string::npos)
            ++failures;
    }
    EXPECT_EQ(failures, 1) << "the suite's uninstall, as a failure with its code";
    EXPECT_NE(lines[0].find("korvalend 1.0.0"), std::string::npos);
    EXPECT_NE(lines[1].find("Arguments: /quiet /log"), std::string::npos);
    const std::string name = "LibreOffice 7.6.4.1  ]LOG]!)<time=\xC3\xA9";
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(name) != std::string::npos; }));
    EXPECT_TRUE(lines.back().starts_with("<![LOG[Exit code 1603: ")) << lines.back();
    EXPECT_NE(lines.back().find("type=\"3\""), std::string::npos);
}

TEST(Record, TheTimeZonesBiasAsConfigurationManagersClientWritesIt) {
    for (const auto& [bias, text] : {std::pair{0, "+000"}, std::pair{300, "+300"}, std::pair{-60, "-060"},
                                     std::pair{-345, "-345"}}) {
        platform::LocalTime at{2024, 3, 14, 9, 5, 7, 42, bias};
        EXPECT_EQ(korvalend::CMTRACELINE("x", korvalend::TLogType::Info, at, 7),
                  std::string("<![LOG[x]LOG]!><time=\"09:05:07.042") + text +
                      "\" date=\"03-14-2024\" component=\"korvalend\" context=\"\" type=\"1\" thread=\"7\" file=\"\">");
    }
}

// The error nothing caught: its message is the record's, then its exit code.
TEST(Record, TheMessageOfA217) {
    SuiteMachine s;
    windowsLogs(s.m);
    s.m.registry.setDword(Root::LocalMachine, "Software\\Classes\\AppID\\{82154420-0FBF-11d4-8313-005004526AB4}", "", 1);
    EXPECT_EQ(s.run({"/quiet", "/log"}), 217);
    EXPECT_EQ(s.m.messageBoxes.size(), 1u);
    const Lines lines = recordLines(s.m);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines[lines.size() - 2].starts_with("<![LOG[Error: ERegistryException: ")) << lines[lines.size() - 2];
    EXPECT_TRUE(lines.back().starts_with("<![LOG[Exit code 217: ")) << lines.back();
}

// Each Msiexec.exe uninstall writes the installer's own log beside the
// record, named after its entry; an extension's uninstaller gets nothing.
TEST(Record, TheInstallersOwnLogBesideTheRecord) {
    SuiteMachine s;
    windowsLogs(s.m);
    const std::string odd = "{HELP}/:*?<>|\x01";
    s.addHelpPack(odd);
    s.addExtension("ext-lo", "LibreOffice Extension Grammar");
    EXPECT_EQ(s.run({"/quiet", "/log"}), 0);
    EXPECT_EQ(s.launches(),
              (Lines{"C:\\Program Files\\Ext\\ext-lo\\unins000.exe| /verysilent",
                     "C:\\Windows\\system32\\Msiexec.exe|/quiet /norestart /x" + odd + " /L*v \"" + kLogs +
                         "\\msiexec-{HELP}________.log\"",
                     "C:\\Windows\\system32\\Msiexec.exe|/quiet /norestart /x" + kSuiteCode + " /L*v \"" + kLogs +
                         "\\msiexec-" + kSuiteCode + ".log\""}));
}

// A record that cannot be opened or written leaves the run as it is without
// the option: same exit code, same command lines. Without the option the
// record's services are never called.
TEST(Record, NothingItMeetsChangesTheRun) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        void (*seed)(sim::Machine&);
        bool installerLogs;
    };
    const Case cases[] = {
        {"without the option", {"/quiet"}, nullptr, false},
        {"/log first: passive, with a record", {"/log", "/quiet"}, nullptr, true},
        {"refused folder", {"/quiet", "/log=C:\\Users\\Public\\Logs"}, nullptr, false},
        {"read-only record", {"/quiet", "/log"},
         [](sim::Machine& m) { m.files.addFile(kRecord, "old", platform::kFileAttributeReadonly); }, false},
        {"held without write sharing", {"/quiet", "/log"},
         [](sim::Machine& m) {
             m.files.addFile(kRecord, "old");
             m.files.hold(kRecord, 1);
         },
         false},
        {"full disk", {"/quiet", "/log"}, [](sim::Machine& m) { m.files.fillDisk('C'); }, true},
    };
    for (const Case& c : cases) {
        SuiteMachine s;
        windowsLogs(s.m);
        s.addHelpPack();
        if (c.seed) c.seed(s.m);
        EXPECT_EQ(s.run(c.args), 0) << c.what;
        const std::string options = c.args.front() == "/quiet" ? "/quiet /norestart" : "/passive /norestart";
        const auto logged = [&](const std::string& code) {
            return c.installerLogs ? " /L*v \"" + kLogs + "\\msiexec-" + code + ".log\"" : std::string();
        };
        EXPECT_EQ(s.launches(), (Lines{kMsi + options + " /x" + kHelpCode + logged(kHelpCode),
                                       kMsi + options + " /x" + kSuiteCode + logged(kSuiteCode)}))
            << c.what;
        EXPECT_FALSE(s.registered(kSuiteCode)) << c.what;
        EXPECT_EQ(s.m.files.openAppends(), 0) << c.what;
        if (c.args.size() == 1) {
            EXPECT_EQ(s.m.recordCalls, 0);
        }
    }
}

TEST(Record, RotatedOverOneMegabyteUnlessHeld) {
    struct Case {
        const char* what;
        std::size_t size;
        std::optional<uint32_t> heldShare;
        bool rotated;
    };
    const Case cases[] = {
        {"at 1 MB", 1024 * 1024, std::nullopt, false},
        {"over 1 MB", 1024 * 1024 + 1, std::nullopt, true},
        {"over 1 MB, held without delete sharing", 1024 * 1024 + 1, 3u, false},
    };
    for (const Case& c : cases) {
        SuiteMachine s;
        windowsLogs(s.m);
        s.m.files.addFile(kRecord, std::string(c.size, 'x'));
        s.m.files.addFile(kLogs + "\\korvalend.lo_", "older");
        if (c.heldShare) s.m.files.hold(kRecord, *c.heldShare);
        EXPECT_EQ(s.run({"/quiet", "/log"}), 0) << c.what;
        const std::string record = s.m.files.read(kRecord).value_or("");
        EXPECT_EQ(s.m.files.read(kLogs + "\\korvalend.lo_").value_or("").size(), c.rotated ? c.size : 5u) << c.what;
        EXPECT_EQ(record.starts_with(kBom + "<![LOG[korvalend "), c.rotated) << c.what;
        EXPECT_EQ(record.starts_with(std::string(c.size, 'x') + "<![LOG[korvalend "), !c.rotated) << c.what;
    }
}

// Two runs at once append to one file: each keeps all its lines, whole.
TEST(Record, TwoWritersKeepAllTheirLines) {
    sim::Machine m;
    windowsLogs(m);
    m.files.addDirectory(kLogs);
    korvalend::TRunRecord first(kLogs), second(kLogs);
    ASSERT_TRUE(first.opened() && second.opened());
    for (int i = 0; i < 3; ++i) {
        first.found("first", std::to_string(i));
        second.found("second", std::to_string(i));
    }
    const Lines lines = recordLines(m);
    ASSERT_EQ(lines.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(lines[i].starts_with("<![LOG[Found " + std::string(i % 2 ? "second: " : "first: ") +
                                         std::to_string(i / 2) + "]LOG]!>"))
            << lines[i];
    EXPECT_EQ(m.files.read(kRecord)->rfind(kBom), 0u) << "the mark once, by the run that created the file";
}

}  // namespace
