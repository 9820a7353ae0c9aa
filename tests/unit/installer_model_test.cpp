// The simulated Windows Installer: which Uninstall entries register a
// product, what the scripted installer does with a product code it is told
// to remove, and what the queries answer when the installer cannot.
#include <gtest/gtest.h>

#include <string>

#include "platform/msi.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace {

using sim::scripted::addUninstallEntry;

const std::string kCode = "{B0B3C1A2-1111-4A4A-9C9C-000000000001}";

std::u16string wide(const std::string& s) { return platform::ansiToWide(s); }

std::string info(const std::string& code, const char16_t* property, bool source = false) {
    std::u16string value;
    const uint32_t rc = source ? platform::msiSourceListGetInfoW(wide(code), property, value)
                               : platform::msiGetProductInfoW(wide(code), property, value);
    return rc == 0 ? platform::wideToAnsi(value) : "error " + std::to_string(rc);
}

uint32_t uninstall(sim::Machine& m, const std::string& target) {
    sim::ProgramRun run{m, sim::scripted::kSystemInstaller, "/passive /norestart /x" + target, "", 1, m.nowMs, 0};
    return m.shell.findProgram(sim::scripted::kSystemInstaller)->body(run);
}

TEST(InstallerModel, AWindowsInstallerEntryRegistersItsProductWithItsPackages) {
    struct Case {
        std::string entry, uninstallString, registered;
    };
    std::string lower = kCode;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const Case cases[] = {
        {kCode, "MsiExec.exe /I" + kCode, kCode},
        {kCode, "", kCode},
        {"LibreOffice", "MsiExec.exe /X" + kCode + "extra /qn", kCode},
        {"LibreOffice", "\"C:\\Windows\\system32\\msiexec.exe\" /x " + lower, lower},
        {"LibreOffice", "MsiExec.exe /I" + kCode.substr(0, 37), ""},
        {"LibreOffice", "MsiExec.exe /qn " + kCode, ""},
        {"{0DE}", "MsiExec.exe /I{0DE}", ""},
        {"ext", "C:\\ext\\unins000.exe", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry + " " + c.uninstallString);
        sim::Machine m;
        addUninstallEntry(m, c.entry, "LibreOffice 7.6.4.1", c.uninstallString);
        EXPECT_EQ(platform::msiQueryProductStateW(wide(kCode)),
                  c.registered.empty() ? platform::kInstallStateUnknown : platform::kInstallStateDefault);
        if (c.registered.empty()) continue;
        const std::string cached = info(kCode, u"LocalPackage");
        EXPECT_EQ(cached.rfind("C:\\Windows\\Installer\\", 0), 0u) << cached;
        EXPECT_TRUE(m.files.exists(cached));
        EXPECT_TRUE(m.files.exists(info(kCode, u"LastUsedSource", true) + info(kCode, u"PackageName", true)));
    }
}

TEST(InstallerModel, TheScriptedInstallerRemovesOnlyWhatItHoldsAndCanReach) {
    struct Case {
        const char* what;
        void (*wear)(sim::Machine&);
        uint32_t exit;
        bool removed;
    };
    const Case cases[] = {
        {"held", [](sim::Machine&) {}, 0, true},
        {"orphan", [](sim::Machine& m) { (void)m.installer.forget(kCode); }, platform::kErrorUnknownProduct, false},
        {"cached package gone, source kept", [](sim::Machine& m) { sim::scripted::removeCachedPackage(m, kCode); }, 0,
         true},
        {"source gone, cached package kept", [](sim::Machine& m) { sim::scripted::removeSourcePackage(m, kCode); }, 0,
         true},
        {"both gone",
         [](sim::Machine& m) {
             sim::scripted::removeSourcePackage(m, kCode);
             sim::scripted::removeCachedPackage(m, kCode);
         },
         platform::kErrorInstallSourceAbsent, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::Machine m;
        sim::scripted::addWindowsInstaller(m);
        addUninstallEntry(m, kCode, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kCode);
        c.wear(m);
        const bool held = m.installer.find(kCode) != nullptr;
        EXPECT_EQ(uninstall(m, kCode), c.exit);
        EXPECT_EQ(m.installer.find(kCode) != nullptr, held && !c.removed);
        EXPECT_EQ(m.registry.findKey(sim::Root::LocalMachine, sim::scripted::kUninstallKey + "\\" + kCode) != nullptr,
                  !c.removed);
    }
}

TEST(InstallerModel, AnInstallerThatCannotAnswer) {
    sim::Machine m;
    addUninstallEntry(m, kCode, "LibreOffice 7.6.4.1", "MsiExec.exe /I" + kCode);
    m.installer.error = platform::kErrorAccessDenied;
    EXPECT_EQ(info(kCode, u"LocalPackage"), "error 5");
    EXPECT_EQ(info(kCode, u"PackageName", true), "error 5");
    EXPECT_EQ(platform::msiQueryProductStateW(wide(kCode)), platform::kInstallStateDefault);
    EXPECT_EQ(m.installer.stateQueries(kCode), 1);
    m.installer.libraryLoads = false;
    EXPECT_EQ(platform::msiQueryProductStateW(wide(kCode)), std::nullopt);
    EXPECT_EQ(info(kCode, u"LocalPackage"), "error 126");
    EXPECT_EQ(platform::msiLibraryPath(), u"");
    EXPECT_EQ(m.installer.stateQueries(kCode), 1);  // a library that never loaded was asked nothing
}

}  // namespace
