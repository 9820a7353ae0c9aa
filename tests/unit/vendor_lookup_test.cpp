#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "korvalend/vendor_lookup.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"
#include "platform/tregistry.h"

namespace {

using korvalend::CHERCHE_CLE_EXIST;
using korvalend::CHERCHE_LIBREOFFICE;
using korvalend::SCLE_UPGRADE_CODE;
using korvalend::SINSTALLLOCATION;
using sim::Root;

const std::string kVendor = "SOFTWARE\\The Document Foundation\\LibreOffice";
const std::string kVendorPath = "\\" + kVendor + "\\";

// One version subkey: its name, whether it holds the upgrade-code subkey (and
// under which name), and the install location, if any.
struct Version {
    std::string name;
    std::string upgradeKey = SCLE_UPGRADE_CODE;  // empty: none
    const char* location = nullptr;
};

void seed(sim::Machine& m, const std::vector<Version>& versions) {
    m.registry.addKey(Root::LocalMachine, kVendor);
    for (const auto& v : versions) {
        const std::string key = kVendor + "\\" + v.name;
        m.registry.addKey(Root::LocalMachine, key);
        if (v.upgradeKey.empty()) continue;
        m.registry.addKey(Root::LocalMachine, key + "\\" + v.upgradeKey);
        if (v.location) m.registry.setString(Root::LocalMachine, key + "\\" + v.upgradeKey, SINSTALLLOCATION, v.location);
    }
}

TEST(ChercheLibreOffice, TheLastVersionHoldingTheUpgradeKeyDecides) {
    struct Case {
        const char* what;
        std::vector<Version> versions;
        std::string expected;
    };
    const Case cases[] = {
        {"one version", {{"7.6", SCLE_UPGRADE_CODE, "C:\\LO\\"}}, "C:\\LO\\"},
        {"no versions", {}, ""},
        {"no upgrade key", {{"7.6", ""}}, ""},
        {"later listed wins", {{"7.5", SCLE_UPGRADE_CODE, "C:\\Old\\"}, {"7.6", SCLE_UPGRADE_CODE, "C:\\New\\"}}, "C:\\New\\"},
        {"later without value resets", {{"7.5", SCLE_UPGRADE_CODE, "C:\\Old\\"}, {"7.6"}}, ""},
        {"later without upgrade key keeps", {{"7.5", SCLE_UPGRADE_CODE, "C:\\Old\\"}, {"7.6", ""}}, "C:\\Old\\"},
        {"upgrade key in other case", {{"7.6", "{4b17e523-5d91-4e69-bd96-7fd81cfa81bb}", "C:\\LO\\"}}, ""},
        {"listing order, not creation order", {{"b", SCLE_UPGRADE_CODE, "B"}, {"A", SCLE_UPGRADE_CODE, "A"}}, "B"},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        seed(m, c.versions);
        EXPECT_EQ(CHERCHE_LIBREOFFICE(kVendorPath, SINSTALLLOCATION, SCLE_UPGRADE_CODE), c.expected) << c.what;
        EXPECT_EQ(m.registry.openHandles(), 0) << c.what;
    }
}

TEST(ChercheLibreOffice, VendorPathForms) {
    sim::Machine m;
    seed(m, {{"7.6", SCLE_UPGRADE_CODE, "C:\\LO\\"}});
    EXPECT_EQ(CHERCHE_LIBREOFFICE(kVendorPath, SINSTALLLOCATION, SCLE_UPGRADE_CODE), "C:\\LO\\");
    // Without a leading "\" the path still starts at HKEY_LOCAL_MACHINE.
    EXPECT_EQ(CHERCHE_LIBREOFFICE(kVendor + "\\", SINSTALLLOCATION, SCLE_UPGRADE_CODE), "C:\\LO\\");
    // Without the trailing "\" vendor and version run together and nothing is found.
    EXPECT_EQ(CHERCHE_LIBREOFFICE("\\" + kVendor, SINSTALLLOCATION, SCLE_UPGRADE_CODE), "");
    EXPECT_EQ(CHERCHE_LIBREOFFICE("\\SOFTWARE\\Nobody\\", SINSTALLLOCATION, SCLE_UPGRADE_CODE), "");
}

TEST(ChercheLibreOffice, UnopenableKeysAreSkipped) {
    sim::Machine m;
    seed(m, {{"7.5", SCLE_UPGRADE_CODE, "C:\\Old\\"}, {"7.6", SCLE_UPGRADE_CODE, "C:\\New\\"}, {"7.7", SCLE_UPGRADE_CODE, "C:\\Newest\\"}});
    m.registry.findKey(Root::LocalMachine, kVendor + "\\7.6")->openable = false;
    m.registry.findKey(Root::LocalMachine, kVendor + "\\7.7\\" + SCLE_UPGRADE_CODE)->openable = false;
    EXPECT_EQ(CHERCHE_LIBREOFFICE(kVendorPath, SINSTALLLOCATION, SCLE_UPGRADE_CODE), "C:\\Old\\");
    m.registry.findKey(Root::LocalMachine, kVendor)->openable = false;
    EXPECT_EQ(CHERCHE_LIBREOFFICE(kVendorPath, SINSTALLLOCATION, SCLE_UPGRADE_CODE), "");
    EXPECT_EQ(m.registry.openHandles(), 0);
}

TEST(ChercheLibreOffice, NonTextLocationRaises) {
    sim::Machine m;
    seed(m, {{"7.6"}});
    m.registry.setDword(Root::LocalMachine, kVendor + "\\7.6\\" + SCLE_UPGRADE_CODE, SINSTALLLOCATION, 1);
    EXPECT_THROW((void)CHERCHE_LIBREOFFICE(kVendorPath, SINSTALLLOCATION, SCLE_UPGRADE_CODE), platform::ERegistryException);
    EXPECT_EQ(m.registry.openHandles(), 0);
}

TEST(ChercheCleExist, AnyKeyBelowTheMachineRootReadableOrNot) {
    sim::Machine m;
    m.registry.addKey(Root::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{ABC}").writable = false;
    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{ABC}", true},
        {"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{abc}", true},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{ABD}", false},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", true},
    };
    for (const auto& c : cases) EXPECT_EQ(CHERCHE_CLE_EXIST(c.path), c.exists) << c.path;
    EXPECT_EQ(m.registry.openHandles(), 0);
}

TEST(ScriptedInstaller, RemovesTheNamedEntryOrLeavesIt) {
    struct Case {
        std::string params;
        bool leave;
        bool removed;
    };
    const Case cases[] = {
        {"/passive /norestart /x{ABC}", false, true},
        {"/quiet /norestart /X{ABC}", false, true},
        {"/passive /norestart /x{ABC}", true, false},
        {"/passive /norestart /x{OTHER}", false, false},
        {"/passive", false, false},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        sim::scripted::addWindowsInstaller(m, {.runMs = 100, .leaveEntry = c.leave});
        sim::scripted::addUninstallEntry(m, "{ABC}", "Suite");
        sim::ProgramRun run{m, sim::scripted::kSystemInstaller, c.params, "", 0, 0};
        const uint32_t code = m.shell.findProgram(sim::scripted::kSystemInstaller)->body(run);
        EXPECT_EQ(CHERCHE_CLE_EXIST(sim::scripted::kUninstallKey + "\\{ABC}"), !c.removed) << c.params;
        EXPECT_EQ(code == 0, c.removed) << c.params;
    }
}

}  // namespace
