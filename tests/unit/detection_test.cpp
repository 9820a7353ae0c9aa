// Detection of an installed suite, the installer options and the end of the
// process, on the simulated machine.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fonction/strings.h"
#include "korvalend/detection.h"
#include "korvalend/globals.h"
#include "korvalend/program.h"
#include "platform/sim/machine.h"
#include "platform/wintypes.h"

namespace {

using sim::Root;

const std::string kProgId = "com.sun.star.ServiceManager.1";
const std::string kAppIdPath = "Software\\Classes\\AppID\\{82154420-0FBF-11d4-8313-005004526AB4}";
constexpr int32_t kClassNotRegistered = static_cast<int32_t>(0x80040154u);

class DetectionTest : public ::testing::Test {
protected:
    void registerProgId() { m.registerProgId(kProgId, "{00000000-0000-0000-0000-000000000001}"); }
    void setAppId(const std::string& text) { m.registry.setString(Root::LocalMachine, kAppIdPath, "", text); }
    // Counts only what detection itself reads: the ProgID lookup is answered
    // without touching the registry.
    void answerProgId(int32_t hr) { m.progIdResults[std::u16string(kProgId.begin(), kProgId.end())] = hr; }

    sim::Machine m;
};

TEST_F(DetectionTest, UnregisteredProgIdEndsDetectionBeforeAnyRegistryRead) {
    answerProgId(kClassNotRegistered);
    setAppId("LibreOffice");
    m.registry.addKey(Root::LocalMachine, "SOFTWARE\\LibreOffice\\LibreOffice\\7.6");
    EXPECT_FALSE(korvalend::ISLIBREOFFICEINSTALL());
    ASSERT_EQ(m.progIdLookups.size(), 1u);
    EXPECT_EQ(m.progIdLookups[0], u"com.sun.star.ServiceManager.1");
    EXPECT_EQ(m.registry.keyOpens, 0);
    EXPECT_EQ(m.registry.valueReads, 0);
}

TEST_F(DetectionTest, ProgIdFoundThroughClassesRoot) {
    registerProgId();
    setAppId("LibreOffice");
    EXPECT_TRUE(korvalend::ISLIBREOFFICEINSTALL());
    m.registry.removeKey(Root::LocalMachine, "Software\\Classes\\" + kProgId);
    EXPECT_FALSE(korvalend::ISLIBREOFFICEINSTALL());
}

struct AppIdCase {
    const char* label;
    std::optional<std::string> value;  // nullopt: the AppID key has no default value
    bool detected;
    int tests;  // TESTLIBREOFFICE calls made: one key open each
};

TEST_F(DetectionTest, AppIdDefaultValueDecides) {
    const std::vector<AppIdCase> cases = {
        {"exact", "LibreOffice", true, 1},
        {"followed by a version", "LibreOffice 7.6.4.1", true, 1},
        {"lower case", "libreoffice", true, 1},
        {"mixed case", "lIBREoFFICE x", true, 1},
        {"second name", "Collabora Office 23.05", true, 2},
        {"second name, upper case", "COLLABORA", true, 2},
        {"third name", "ZetaOffice", true, 3},
        {"shorter than every name", "Libre", false, 3},
        {"one byte short", "LibreOffic", false, 3},
        {"empty", "", false, 3},
        {"leading blank", " LibreOffice", false, 3},
        {"other product", "OpenOffice.org 4", false, 3},
        {"embedded NUL", std::string("Libre\0Office", 12), false, 3},
        // Only ASCII letters fold: a Latin-1 look-alike is another byte.
        {"non-ASCII O", "Libre\xD6" "ffice", false, 3},
        {"absent default value", std::nullopt, false, 3},
    };
    registerProgId();
    for (const auto& c : cases) {
        m.registry.removeKey(Root::LocalMachine, kAppIdPath);
        if (c.value) setAppId(*c.value);
        else m.registry.addKey(Root::LocalMachine, kAppIdPath);
        answerProgId(0);
        const int opensBefore = m.registry.keyOpens;
        EXPECT_EQ(korvalend::ISLIBREOFFICEINSTALL(), c.detected) << c.label;
        EXPECT_EQ(m.registry.keyOpens - opensBefore, c.tests) << c.label;
        EXPECT_EQ(m.registry.openHandles(), 0) << c.label;
    }
}

TEST_F(DetectionTest, AppIdKeyMissingOrClosed) {
    answerProgId(0);
    EXPECT_FALSE(korvalend::ISLIBREOFFICEINSTALL());
    setAppId("LibreOffice");
    m.registry.findKey(Root::LocalMachine, kAppIdPath)->openable = false;
    EXPECT_FALSE(korvalend::ISLIBREOFFICEINSTALL());
    m.registry.findKey(Root::LocalMachine, kAppIdPath)->openable = true;
    m.registry.findKey(Root::LocalMachine, kAppIdPath)->writable = false;
    EXPECT_TRUE(korvalend::ISLIBREOFFICEINSTALL());
}

TEST_F(DetectionTest, AppIdValueOfOtherShapes) {
    answerProgId(0);
    struct Case {
        const char* label;
        uint32_t type;
        std::string data;
        bool detected;
    };
    const std::vector<Case> cases = {
        {"REG_EXPAND_SZ", platform::kRegExpandSz, std::string("Z\0e\0t\0a\0O\0f\0f\0i\0c\0e\0\0\0", 22), true},
        {"unterminated", platform::kRegSz, std::string("Z\0e\0t\0a\0O\0f\0f\0i\0c\0e\0", 20), true},
        {"odd length", platform::kRegSz, std::string("Z\0e\0t\0a\0O\0f\0f\0i\0c\0e\0\x01", 21), true},
        {"empty REG_BINARY", platform::kRegBinary, "", false},
        {"empty REG_DWORD", platform::kRegDword, "", false},
    };
    for (const auto& c : cases) {
        m.registry.setRaw(Root::LocalMachine, kAppIdPath, "", c.type, c.data);
        EXPECT_EQ(korvalend::ISLIBREOFFICEINSTALL(), c.detected) << c.label;
    }
}

TEST_F(DetectionTest, ProductNameComparedWithAsciiFoldingOnly) {
    answerProgId(0);
    setAppId("caf\xE9 au lait");
    EXPECT_TRUE(korvalend::TESTLIBREOFFICE("CAF\xE9"));
    EXPECT_FALSE(korvalend::TESTLIBREOFFICE("CAF\xC9"));
    EXPECT_TRUE(korvalend::TESTLIBREOFFICE(""));  // an empty prefix matches anything present
    struct Case {
        std::string value, prefix;
        bool match;
    };
    const std::vector<Case> cases = {
        {"abc", "ABC", true},       {"ABC", "abc", true},      {"ab", "abc", false},
        {"", "a", false},           {"", "", true},            {"@[`{", "@[`{", true},
        {"@", "`", false},          {"[", "{", false},         {"\xE9", "\xC9", false},
        {"\x9A", "\x8A", false},    {"\xFF", "\x9F", false},   {std::string("a\0", 2), std::string("A\0", 2), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fonction::STARTSWITHASCIICASELESS(c.value, c.prefix), c.match) << c.value << " / " << c.prefix;
}

TEST_F(DetectionTest, NonStringAppIdEndsTheRunWith217AndAnErrorBox) {
    registerProgId();
    m.registry.setDword(Root::LocalMachine, kAppIdPath, "", 1);
    EXPECT_EQ(korvalend::RUNPROCESS({}), 217);
    ASSERT_EQ(m.messageBoxes.size(), 1u);
    const auto& box = m.messageBoxes[0];
    EXPECT_EQ(box.caption, "Error");
    EXPECT_NE(box.text.find("ERegistryException"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Invalid registry data type: \"\""), std::string::npos) << box.text;
    EXPECT_EQ(m.registry.openHandles(), 0);

    m.messageBoxes.clear();
    m.registry.setRaw(Root::LocalMachine, kAppIdPath, "", platform::kRegBinary, "LibreOffice");
    EXPECT_EQ(korvalend::RUNPROCESS({"/quiet"}), 217);
    EXPECT_EQ(m.messageBoxes.size(), 1u);

    // Nobody could click the box in session 0 (even on a station that says it
    // is visible) or on an invisible station: 217 without waiting.
    for (const auto& [session, visible] : {std::pair{0u, true}, std::pair{1u, false}, std::pair{0u, false}}) {
        m.messageBoxes.clear();
        m.sessionId = session;
        m.windowStationVisible = visible;
        EXPECT_EQ(korvalend::RUNPROCESS({}), 217);
        EXPECT_TRUE(m.messageBoxes.empty()) << session << " " << visible;
    }
}

TEST_F(DetectionTest, RunEndsWithZeroWithAndWithoutSuite) {
    EXPECT_EQ(korvalend::RUNPROCESS({}), 0);
    registerProgId();
    setAppId("LibreOffice");
    EXPECT_EQ(korvalend::RUNPROCESS({}), 0);
    EXPECT_TRUE(m.messageBoxes.empty());
    EXPECT_EQ(m.registry.openHandles(), 0);
    EXPECT_TRUE(m.installer.queries.empty());  // nothing of the family: the Windows Installer is asked nothing
}

TEST_F(DetectionTest, RunProbesTheConsoleFirstAndRestoresItsTitle) {
    m.console.attached = true;
    m.console.title = "Administrator: deploy";
    answerProgId(kClassNotRegistered);
    const uint64_t before = m.nowMs;
    EXPECT_EQ(korvalend::RUNPROCESS({}), 0);
    EXPECT_EQ(m.console.title, "Administrator: deploy");
    EXPECT_EQ(m.console.titleChanges, 2);
    EXPECT_EQ(m.nowMs - before, 40u);
}

TEST(Param, FirstArgumentExactlyQuietSelectsQuiet) {
    struct Case {
        std::vector<std::string> args;
        const std::string& expected;
    };
    const std::string& passive = korvalend::SPARAM_PASSIVE;
    const std::string& quiet = korvalend::SPARAM_QUIET;
    const std::vector<Case> cases = {
        {{}, passive},
        {{"/quiet"}, quiet},
        {{"/quiet", "/passive"}, quiet},
        {{"/quiet", "anything", "else"}, quiet},
        {{"/Quiet"}, passive},
        {{"/QUIET"}, passive},
        {{"-quiet"}, passive},
        {{"quiet"}, passive},
        {{"/quiet "}, passive},
        {{" /quiet"}, passive},
        {{"/q"}, passive},
        {{std::string("/quiet\0", 7)}, passive},
        {{""}, passive},
        {{"", "/quiet"}, passive},
        {{"x", "/quiet"}, passive},
    };
    for (const auto& c : cases) {
        korvalend::SPARAM = "left over";
        korvalend::SETPARAM(c.args);
        EXPECT_EQ(korvalend::SPARAM, c.expected) << (c.args.empty() ? "(none)" : c.args[0]);
    }
    EXPECT_EQ(passive, "/passive /norestart");
    EXPECT_EQ(quiet, "/quiet /norestart");
}

TEST(Param, AbsurdCommandLinesEndNormally) {
    sim::Machine m;
    std::vector<std::string> many(100000, "/quiet");
    EXPECT_EQ(korvalend::RUNPROCESS(many), 0);
    EXPECT_EQ(korvalend::SPARAM, korvalend::SPARAM_QUIET);
    many[0] = "x";
    EXPECT_EQ(korvalend::RUNPROCESS(many), 0);
    EXPECT_EQ(korvalend::SPARAM, korvalend::SPARAM_PASSIVE);
    EXPECT_EQ(korvalend::RUNPROCESS({std::string(1 << 20, 'q')}), 0);
    EXPECT_EQ(korvalend::SPARAM, korvalend::SPARAM_PASSIVE);
    EXPECT_TRUE(m.messageBoxes.empty());
}

}  // namespace
