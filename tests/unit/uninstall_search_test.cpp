#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvalend/uninstall_search.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace {

using namespace korvalend;
using sim::Root;
using sim::scripted::addUninstallEntry;
using sim::scripted::kUninstallKey;

std::string entryKey(const std::string& name) { return kUninstallKey + "\\" + name; }

// Entries are listed sorted by key name, without regard to case.
TEST(UninstallSearch, DisplayTextComparison) {
    struct Case {
        std::string search;
        std::vector<std::pair<std::string, std::string>> entries;  // key name, DisplayName
        std::string expectedEntry;                                  // empty: none
        bool application = !expectedEntry.empty();
    };
    const Case cases[] = {
        {"LibreOffice", {{"A", "LibreOffice 7.6.4.1"}}, "A"},
        {"LibreOffice", {{"A", "The LibreOffice X"}}, ""},
        {"libreoffice extension", {{"A", "LibreOffice Extension X"}}, "A"},
        {"LibreOffice 7.6", {{"A", "LibreOffice 7"}}, ""},  // shorter display text
        {"LibreOffice", {{"A", "Other"}, {"B", "LibreOffice 1"}, {"C", "LibreOffice 2"}}, "B"},
        {"", {{"A", "anything"}, {"B", "more"}}, "A"},
        {"", {{"A", ""}}, "A", false},  // found, but an empty display name is no application
        // The ANSI upper-casing folds letters outside ASCII too: é and É.
        {"caf\xE9", {{"A", "CAF\xC9 Suite"}}, "A"},
        {"x", {}, ""},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        for (const auto& [key, display] : c.entries) addUninstallEntry(m, key, display, "\"C:\\u\\" + key + ".exe\"");
        EXPECT_EQ(RECUP_CLE(c.search, "DisplayName", "DisplayName"), c.expectedEntry) << c.search;
        EXPECT_EQ(RECH_APPLICATION(c.search), c.application) << c.search;
        EXPECT_EQ(m.registry.openHandles(), 0);
    }
}

TEST(UninstallSearch, FirstListedMatchWinsEvenWhenItLacksTheWantedValue) {
    sim::Machine m;
    // The help pack is listed before the suite and matches the suite's product key.
    addUninstallEntry(m, "{1111}", "LibreOffice 7.6 Help Pack (French)", "MsiExec.exe /I{1111}");
    addUninstallEntry(m, "{2222}", "LibreOffice 7.6.4.1", "MsiExec.exe /I{2222}");
    EXPECT_EQ(RECH_PROG("LibreOffice 7.6", "DisplayName", "UninstallString"), "MsiExec.exe /I{1111}");

    addUninstallEntry(m, "{0000}", "LibreOffice 7.6 without command");
    EXPECT_EQ(RECH_PROG("LibreOffice 7.6", "DisplayName", "UninstallString"), "");
    EXPECT_EQ(RECUP_CLE("LibreOffice 7.6", "DisplayName", "UninstallString"), "");
    EXPECT_EQ(RECUP_CLE("LibreOffice 7.6", "DisplayName", "DisplayName"), "{0000}");
    EXPECT_TRUE(RECH_APPLICATION("LibreOffice 7.6"));
}

TEST(UninstallSearch, ValueNameIsComparedExactlyButTheWantedValueIsNot) {
    sim::Machine m;
    m.registry.setString(Root::LocalMachine, entryKey("A"), "displayname", "LibreOffice lower");
    m.registry.setString(Root::LocalMachine, entryKey("A"), "UninstallString", "a.exe");
    m.registry.setString(Root::LocalMachine, entryKey("B"), "DisplayName", "LibreOffice upper");
    m.registry.setString(Root::LocalMachine, entryKey("B"), "UNINSTALLSTRING", "b.exe");
    EXPECT_EQ(RECH_PROG("LibreOffice", "DisplayName", "UninstallString"), "b.exe");
    EXPECT_EQ(RECUP_CLE("LibreOffice", "DisplayName", "uninstallstring"), "B");
}

TEST(UninstallSearch, EveryDoubleQuoteIsRemoved) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"C:\\Program Files\\X\\unins000.exe\"", "C:\\Program Files\\X\\unins000.exe"},
        {"\"C:\\X\\u.exe\" /arg \"two\"", "C:\\X\\u.exe /arg two"},
        {"C:\\X\"\"\\u.exe\"", "C:\\X\\u.exe"},
        {"\"", ""},
        {"\"\"\"", ""},
        {"MsiExec.exe /I{ABC}", "MsiExec.exe /I{ABC}"},
    };
    for (const auto& [stored, expected] : cases) {
        sim::Machine m;
        addUninstallEntry(m, "E", "Ext", stored);
        EXPECT_EQ(RECH_PROG("Ext", "DisplayName", "UninstallString"), expected) << stored;
    }
}

TEST(UninstallSearch, ExpandStringsAreReadUnexpanded) {
    sim::Machine m;
    m.registry.setString(Root::LocalMachine, entryKey("E"), "DisplayName", "Ext");
    m.registry.setString(Root::LocalMachine, entryKey("E"), "UninstallString", "%ProgramFiles%\\E\\u.exe", 2);
    EXPECT_EQ(RECH_PROG("Ext", "DisplayName", "UninstallString"), "%ProgramFiles%\\E\\u.exe");
}

TEST(UninstallSearch, EntriesThatCannotBeOpenedAreSkipped) {
    sim::Machine m;
    addUninstallEntry(m, "A", "LibreOffice locked", "a.exe");
    addUninstallEntry(m, "B", "LibreOffice open", "b.exe");
    m.registry.findKey(Root::LocalMachine, entryKey("A"))->openable = false;
    // Nor does an entry that does not match end the search when its value
    // names cannot be listed: they are listed only to confirm a match.
    addUninstallEntry(m, "0", "Other", "o.exe");
    m.registry.findKey(Root::LocalMachine, entryKey("0"))->enumError = 1359;
    EXPECT_EQ(RECH_PROG("LibreOffice", "DisplayName", "UninstallString"), "b.exe");
    EXPECT_EQ(m.registry.openHandles(), 0);
}

TEST(UninstallSearch, NoUninstallKeyMeansNothingFound) {
    sim::Machine m;
    EXPECT_EQ(RECH_PROG("", "DisplayName", "UninstallString"), "");
    EXPECT_EQ(RECUP_CLE("", "DisplayName", "DisplayName"), "");
    EXPECT_FALSE(RECH_APPLICATION(""));
    EXPECT_TRUE(SUPP_APPLICATION("", " /verysilent"));
    EXPECT_TRUE(m.shell.launches.empty());
}

TEST(UninstallSearch, DisplayNameOfWrongTypeRaises) {
    struct Case {
        uint32_t type;
        std::string data;
        bool raises;
    };
    const Case cases[] = {
        {platform::kRegDword, std::string("\x01\0\0\0", 4), true},
        {platform::kRegBinary, "ab", true},
        {platform::kRegMultiSz, std::string("a\0\0\0\0\0", 6), true},
        {platform::kRegBinary, "", false},  // no data reads as the empty text
    };
    for (const auto& c : cases) {
        sim::Machine m;
        m.registry.setRaw(Root::LocalMachine, entryKey("A"), "DisplayName", c.type, c.data);
        addUninstallEntry(m, "B", "LibreOffice", "b.exe");
        if (c.raises) {
            EXPECT_THROW((void)RECH_PROG("LibreOffice", "DisplayName", "UninstallString"), platform::ERegistryException);
            EXPECT_THROW((void)SUPP_APPLICATION("LibreOffice", " /verysilent"), platform::ERegistryException);
        } else {
            EXPECT_EQ(RECH_PROG("LibreOffice", "DisplayName", "UninstallString"), "b.exe");
        }
        EXPECT_EQ(m.registry.openHandles(), 0) << "key handles closed on the way out";
    }
}

TEST(UninstallSearch, AValueNamedOtherwiseIsNeverReadSoItsTypeDoesNotMatter) {
    sim::Machine m;
    m.registry.setDword(Root::LocalMachine, entryKey("A"), "displayname", 7);
    m.registry.setString(Root::LocalMachine, entryKey("A"), "UninstallString", "a.exe");
    addUninstallEntry(m, "B", "LibreOffice", "b.exe");
    EXPECT_EQ(RECH_PROG("", "DisplayName", "UninstallString"), "b.exe");
    EXPECT_THROW((void)RECH_PROG("", "displayname", "UninstallString"), platform::ERegistryException);
}

TEST(UninstallSearch, WantedValueOfWrongTypeRaisesOnlyForTheMatch) {
    sim::Machine m;
    addUninstallEntry(m, "A", "Other");
    m.registry.setDword(Root::LocalMachine, entryKey("A"), "UninstallString", 7);
    addUninstallEntry(m, "B", "LibreOffice");
    m.registry.setDword(Root::LocalMachine, entryKey("B"), "UninstallString", 7);
    EXPECT_THROW((void)RECH_PROG("LibreOffice", "DisplayName", "UninstallString"), platform::ERegistryException);
    // The key name answer never reads the value.
    EXPECT_EQ(RECUP_CLE("LibreOffice", "DisplayName", "UninstallString"), "B");
}

// The walk hands over what it wants, and broken values for the caller to
// judge; it stops when the visitor says so.
TEST(UninstallSearch, WalkHandsOverWhatItWantsAndBrokenValuesOnly) {
    sim::Machine m;
    addUninstallEntry(m, "{1}", "LibreOffice 7.6 Help Pack (French)", "MsiExec.exe /I{1}");
    addUninstallEntry(m, "{2}", "Other");
    m.registry.setDword(Root::LocalMachine, entryKey("{3}"), "DisplayName", 7);
    addUninstallEntry(m, "{4}", "collabora extension X");
    addUninstallEntry(m, "{5}", "LibreOffice 7.6.4.1", "MsiExec.exe /I{5}");
    std::vector<std::string> visited;
    const auto wanted = [](const std::string& text) {
        return DISPLAYBEGINSWITH(text, "LibreOffice 7.6") || DISPLAYBEGINSWITH(text, "Collabora Extension");
    };
    WALKUNINSTALLENTRIES("DisplayName", wanted, [&](const TUninstallEntry& e) {
        visited.push_back(e.name + (e.error ? " broken" : " " + e.valueText("UninstallString")));
        return e.name == "{4}";
    });
    EXPECT_EQ(visited, (std::vector<std::string>{"{1} MsiExec.exe /I{1}", "{3} broken", "{4} "}));
    EXPECT_EQ(m.registry.openHandles(), 0);
}

TEST(UninstallSearch, EachCallSeesTheRegistryAsItIsNow) {
    sim::Machine m;
    addUninstallEntry(m, "E", "Ext", "C:\\E\\u.exe");
    EXPECT_TRUE(RECH_APPLICATION("Ext"));
    m.registry.removeKey(Root::LocalMachine, entryKey("E"));
    EXPECT_FALSE(RECH_APPLICATION("Ext"));
}

TEST(SuppApplication, RunsTheWholeCommandWithTheCallersParameters) {
    sim::Machine m;
    sim::scripted::addExtensionUninstaller(m, "C:\\Ext\\unins000.exe", "Ext_is1");
    addUninstallEntry(m, "Ext_is1", "LibreOffice Extension Grammar", "\"C:\\Ext\\unins000.exe\"");
    addUninstallEntry(m, "Zext_is1", "LibreOffice Extension Later", "\"C:\\Zext\\unins000.exe\"");
    EXPECT_TRUE(SUPP_APPLICATION("libreoffice extension", " /verysilent"));
    ASSERT_EQ(m.shell.launches.size(), 1u);  // only the first match runs
    const auto& r = m.shell.launches[0];
    EXPECT_EQ(r.file, std::optional<std::string>("C:\\Ext\\unins000.exe"));
    EXPECT_EQ(r.parameters, std::optional<std::string>(" /verysilent"));
    EXPECT_EQ(r.verb, std::nullopt);
    EXPECT_EQ(r.directory, std::nullopt);
    EXPECT_EQ(r.show, 1);
    // The uninstaller removed its entry while the call waited; the next one is found now.
    EXPECT_EQ(m.registry.findKey(Root::LocalMachine, entryKey("Ext_is1")), nullptr);
    EXPECT_EQ(RECUP_CLE("LibreOffice Extension", "DisplayName", "DisplayName"), "Zext_is1");
}

TEST(SuppApplication, ResultTellsOnlyWhetherTheLaunchFailed) {
    struct Case {
        const char* what;
        std::string uninstall;  // empty: no UninstallString
        bool registerProgram;
        uint32_t exitCode;
        bool expected;
    };
    const Case cases[] = {
        {"no entry command", "", false, 0, true},
        {"missing program", "C:\\Gone\\u.exe", false, 0, false},
        {"arguments inside the command", "C:\\E\\u.exe /S", true, 0, false},
        {"program fails", "C:\\E\\u.exe", true, 5, true},
        {"unknown variable", "%NO_SUCH_DIR%\\u.exe", true, 0, false},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        if (c.registerProgram) {
            sim::Program p;
            p.runMs = 10;
            const uint32_t code = c.exitCode;
            p.body = [code](sim::ProgramRun&) { return code; };
            m.shell.addProgram("C:\\E\\u.exe", p);
        }
        addUninstallEntry(m, "E", "Ext", c.uninstall);
        EXPECT_EQ(SUPP_APPLICATION("Ext", " /verysilent"), c.expected) << c.what;
        EXPECT_EQ(m.processes.openHandles(), 0) << c.what;
    }
}

}  // namespace
