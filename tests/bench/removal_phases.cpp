// The removal's read-only steps, timed one by one on the machine it runs on:
// run by removal_time.sh in a prepared prefix (suite, help pack, extension,
// soffice.bin running) before korvalend.exe itself runs there. Nothing is
// changed: only probes, lookups and searches are made.
//   removal_phases.exe SLEEPER.EXE   prints "<step>|<median ms>|<runs>" lines
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <functional>
#include <vector>

#include "fonction/deltree.h"
#include "fonction/launch.h"
#include "korvalend/family.h"
#include "korvalend/console_probe.h"
#include "korvalend/detection.h"
#include "korvalend/process_lookup.h"
#include "korvalend/record.h"
#include "korvalend/registered.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"

namespace {

constexpr int kRuns = 7;

void time(const char* step, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s|%.3f|%d\n", step, ms[ms.size() / 2], kRuns);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace korvalend;
    time("console probe", [] { (void)GETCONSOLEHWND(); });
    time("detection", [] { (void)ISLIBREOFFICEINSTALL(); });
    TSuiteFacts suite;
    time("resolution", [&] {
        const std::vector<std::string> at = INSTALLLOCATIONS(SPATH_LIBO_TDF, TRegistryView::Native);
        suite = RESOLVESUITEFACTS(SPATH_LIBO_TDF, TRegistryView::Native, at.empty() ? "" : at.front()).facts;
    });
    if (suite.SPRODUCTCODE.empty()) {
        std::printf("no suite resolved\n");
        return 1;
    }
    time("Uninstall entry check", [&] { (void)CHERCHE_CLE_EXIST(SUNINSTALL_KEY + suite.SPRODUCTCODE); });
    time("registered family, both views", [] { (void)REGISTEREDFAMILY(); });
    time("process snapshot", [] { (void)PROCESSEXISTS("soffice.bin"); });
    time("Uninstall search, whole key", [] { (void)RECH_APPLICATION("Collabora Extension"); });
    // The walks the removal makes: one per pack or extension run and one more,
    // then one for the suite's entry after its uninstaller.
    const auto kindIs = [&suite](std::initializer_list<TSuiteEntry> kinds) {
        return [kinds, &suite](const std::string& text) {
            const TSuiteEntry kind = SUITEENTRYKIND(text, suite.SVERSOOO);
            return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
        };
    };
    time("Uninstall walk, packs and extensions", [&] {
        WALKUNINSTALLVIEWS("DisplayName", kindIs({TSuiteEntry::Extension, TSuiteEntry::HelpPack, TSuiteEntry::LanguagePack}),
                             [](const TUninstallEntry&) { return false; });
    });
    time("Uninstall walk, suite still there", [&] {
        WALKUNINSTALLENTRIES("DisplayName", kindIs({TSuiteEntry::Suite, TSuiteEntry::SuiteOtherwise}),
                             [](const TUninstallEntry& e) { return e.error == nullptr; });
    });
    // Nobody owns the installer's mutex: what each Msiexec.exe run adds.
    time("busy-installer check, free", [] {
        uint64_t budget = kInstallerWaitBudgetMs;
        (void)fonction::WAITFORFREEMUTEX(SINSTALLER_MUTEX, budget);
    });
    // The fixed cost of one uninstaller run: the shell's start of a program
    // that ends at once, and the wait for its end.
    const std::string sleeper = std::string(argc > 1 ? argv[1] : "sleeper.exe");
    time("launch and wait, instant child", [&] { (void)fonction::SHELLEXECANDWAIT(sleeper, "0", "", 1, ""); });
    // A small folder (three files) sent to the Recycle Bin by the shell.
    int n = 0;
    time("shell delete of a small folder", [&] {
        const std::string folder = "C:\\korvalend-bench-" + std::to_string(n++);
        std::filesystem::create_directory(folder);
        for (const char* f : {"\\a.txt", "\\b.txt", "\\c.txt"}) std::ofstream(folder + f) << "x";
        (void)fonction::DELETEDIRECTORY(folder, true);
    });
    // What the run's record adds to a run (/log): the option and its folder's
    // checks (made, or there: its access list read), the file opened, and
    // the 30 lines of the usual removal, one write each.
    int r = 0;
    const std::string logs = PARSELOGOPTION({"/log"}).folder + "-bench-";
    const auto record = [&](const std::string& folder) {
        bool created = false;
        if (ACCEPTLOGFOLDER(folder, created) != TREFUSAL::NONE) std::printf("record folder refused: %s\n", folder.c_str());
        TRunRecord lines(folder);
        lines.begin({"/quiet", "/log"});
        for (int i = 0; i < 26; ++i) lines.found("step", "the line of a usual removal, about as long as theirs " + std::to_string(i));
    };
    time("the run's record, its folder made", [&] { record(logs + std::to_string(r++)); });
    time("the run's record, its folder there", [&] { record(logs + "0"); });
    return 0;
}
