// The Windows Installer's queries through the preview's binding: the
// machine's answers, but a product the plan uninstalled is gone.
#include <gtest/gtest.h>

#include <string>

#include "platform/msi.h"
#include "platform/plan/plan.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"
#include "platform/wintypes.h"

namespace {

const std::u16string kCode = u"{B0B3C1A2-1111-4A4A-9C9C-000000000001}";
const std::u16string kOther = u"{C0C3C1A2-2222-4A4A-9C9C-000000000002}";

// Stands for a run's effects; the queries never reach it.
struct NoEffects : platform::plan::Performer {
    int32_t terminateProcess(platform::Handle, uint32_t) override { return 0; }
    int32_t shellExecuteExA(platform::ShellExecuteInfoA&) override { return 0; }
    bool deleteFileA(const std::string&) override { return false; }
    bool removeDirectoryA(const std::string&) override { return false; }
    bool setFileAttributesA(const std::string&, uint32_t) override { return false; }
    int32_t shFileOperationA(platform::ShFileOpStructA&) override { return 0; }
    uint32_t waitForInputIdle(platform::Handle, uint32_t) override { return 0; }
    uint32_t waitForSingleObject(platform::Handle, uint32_t) override { return 0; }
    bool releaseMutex(platform::Handle) override { return false; }
    bool setConsoleTitleA(const char*) override { return false; }
    void sleepMs(uint32_t) override {}
};

uint32_t localPackage(const std::u16string& code, std::u16string& value) {
    return platform::msiGetProductInfoW(code, u"LocalPackage", value);
}

TEST(PlanMsi, AProductThePlanUninstalledIsGoneAndOnlyThatOne) {
    sim::Machine m;
    for (const std::u16string* code : {&kCode, &kOther})
        sim::scripted::addUninstallEntry(m, std::string(code->begin(), code->end()), "LibreOffice 7.6.4.1");
    platform::plan::Recorder r;
    r.forgetProduct(u"{b0b3c1a2-1111-4a4a-9c9c-000000000001}");  // letter case aside
    EXPECT_EQ(platform::msiQueryProductStateW(kCode), platform::kInstallStateUnknown);
    EXPECT_EQ(platform::msiQueryProductStateW(kOther), platform::kInstallStateDefault);
    std::u16string value = u"untouched";
    EXPECT_EQ(localPackage(kCode, value), static_cast<uint32_t>(platform::kErrorUnknownProduct));
    EXPECT_EQ(platform::msiSourceListGetInfoW(kCode, u"PackageName", value),
              static_cast<uint32_t>(platform::kErrorUnknownProduct));
    EXPECT_EQ(value, u"untouched");
    EXPECT_EQ(localPackage(kOther, value), 0u);
    EXPECT_EQ(m.installer.stateQueries("{B0B3C1A2-1111-4A4A-9C9C-000000000001}"), 1);  // asked all the same
    // What the installer could not answer, it still cannot.
    m.installer.libraryLoads = false;
    EXPECT_EQ(platform::msiQueryProductStateW(kCode), std::nullopt);
    EXPECT_EQ(localPackage(kCode, value), static_cast<uint32_t>(platform::kErrorModNotFound));
}

TEST(PlanMsi, WithAPerformerTheMachineItselfAnswers) {
    sim::Machine m;
    sim::scripted::addUninstallEntry(m, std::string(kCode.begin(), kCode.end()), "LibreOffice 7.6.4.1");
    platform::plan::Recorder r;
    NoEffects performer;
    r.performer = &performer;
    r.forgetProduct(kCode);
    EXPECT_EQ(platform::msiQueryProductStateW(kCode), platform::kInstallStateDefault);
}

}  // namespace
