// The simulated machine with the suite installed as its installer leaves it,
// shared by the removal's tests and the preview's.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "korvalend/observer.h"
#include "korvalend/program.h"
#include "korvalend/resolution.h"
#include "korvalend/suite.h"
#include "platform/sim/machine.h"
#include "platform/sim/scripted.h"

namespace suite {

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
struct ToldObserver : korvalend::TRemovalObserver {
    Lines told;
    std::vector<korvalend::TSuiteFacts> suites;  // each removal begun, in order
    std::string why;                             // the case of the exit code
    void kept(const std::string& path, const korvalend::TReason& reason) override {
        told.push_back(path + " " + reason.text());
    }
    void skipped(const std::string& step, const korvalend::TReason& reason) override {
        told.push_back(step + ", " + reason.text());
    }
    void removes(const korvalend::TSuiteFacts& suite, int) override { suites.push_back(suite); }
    void concluded(const korvalend::TOutcome& outcome) override { why = outcome.words; }
    [[nodiscard]] bool saw(const std::string& line) const { return std::count(told.begin(), told.end(), line) > 0; }
};

// A machine as the suite's installer leaves it, with the Windows Installer
// and the extensions' uninstallers scripted.
struct SuiteMachine {
    sim::Machine m;
    std::string productKey;
    ToldObserver observer;

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
        // The installer's mutex exists and is free: every run must give back
        // what its wait takes, or the installer refuses with 1618.
        m.mutexes.add(sim::scripted::kInstallerMutex);
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

    // Another suite of the family beside the first, as its installer leaves
    // it: its vendor record, its files and its Uninstall entry, in a view.
    void addSuite(const std::string& vendorKey, bool wow32, const std::string& location, const std::string& key,
                  const std::string& code, const std::string& displayName = "") {
        const std::string node = wow32 ? "SOFTWARE\\WOW6432Node\\" : "SOFTWARE\\";
        m.registry.setString(Root::LocalMachine, node + vendorKey.substr(9) + "\\" + key + "\\" + kUpgrade,
                             "INSTALLLOCATION", location);
        m.files.addFile(location + "program\\bootstrap.ini", "[Bootstrap]\r\nProductKey=" + key + "\r\n");
        m.files.addFile(location + "program\\soffice.bin", "binary");
        sim::scripted::addUninstallEntry(m, code, displayName.empty() ? key + ".4.1" : displayName,
                                         "MsiExec.exe /I" + code, wow32);
    }
    void addHelpPack(const std::string& code = kHelpCode) {
        sim::scripted::addUninstallEntry(m, code, productKey + " Help Pack (French)", "MsiExec.exe /I" + code);
    }
    void addExtension(const std::string& entry, const std::string& displayName, uint64_t runMs = 500) {
        const std::string exe = "C:\\Program Files\\Ext\\" + entry + "\\unins000.exe";
        sim::scripted::addExtensionUninstaller(m, exe, entry, runMs);
        sim::scripted::addUninstallEntry(m, entry, displayName, "\"" + exe + "\"");
    }
    // A suite or pack the Windows Installer recorded for the account SID, in the usual folder.
    void addPerUserInstall(const std::string& sid, const std::string& product, const std::string& displayName,
                           const std::string& location = kInstall) {
        const std::string at = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\" + sid +
                               "\\Products\\" + product + "\\InstallProperties";
        m.registry.setString(Root::LocalMachine, at, "DisplayName", displayName);
        m.registry.setString(Root::LocalMachine, at, "InstallLocation", location);
    }
    // The running account's own installation, in its profile, with its quickstart shortcut.
    void addOwnInstall(const std::string& displayName, const std::string& shortcut, const std::string& product = "0124") {
        const std::string profile = "C:\\Users\\User";
        m.registry.setString(Root::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" +
                             m.accountSid, "ProfileImagePath", profile);
        addPerUserInstall(m.accountSid, product, displayName, profile + "\\AppData\\Local\\Programs\\LibreOffice\\");
        m.files.addFile(kStartup + shortcut, "lnk");
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
    // The facts of the suite the first removal took (empty when none began).
    korvalend::TSuiteFacts first() const { return observer.suites.empty() ? korvalend::TSuiteFacts{} : observer.suites.front(); }
    // The facts the usual vendor key's first location resolves to, in the native view.
    korvalend::TResolution resolve(const std::string& vendorKey = korvalend::SPATH_LIBO_TDF) const {
        const std::vector<std::string> at = korvalend::INSTALLLOCATIONS(vendorKey, korvalend::TRegistryView::Native);
        return korvalend::RESOLVESUITEFACTS(vendorKey, korvalend::TRegistryView::Native, at.empty() ? "" : at.front());
    }
};

}  // namespace suite
