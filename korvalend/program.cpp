#include "korvalend/program.h"

#include <algorithm>
#include <exception>
#include <set>
#include <utility>

#include "fonction/strings.h"
#include "korvalend/console_probe.h"
#include "korvalend/detection.h"
#include "korvalend/globals.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "korvalend/registered.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "korvalend/session.h"
#include "platform/exception.h"
#include "platform/tregistry.h"
#include "platform/ui.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

bool vendorKeyExists(const std::string& vendorKey, TRegistryView view) {
    platform::TRegistry REG(VIEWACCESS(view, platform::kKeyRead));
    REG.SETROOTKEY(platform::hkeyLocalMachine());
    return REG.KEYEXISTS(vendorKey);
}

// How the preview names a key of a view: the native view's as they are.
std::string inView(const std::string& text, TRegistryView view) {
    return view == TRegistryView::Native ? text : text + " (" + VIEWNAME(view) + " view)";
}

// Every suite the vendor keys record, in their fixed order, each key in the
// native view and then in the 32-bit one, the registry read afresh before
// each. A suite (its product code) is taken once, a location tried once, and
// no more than kSuiteLimit suites are taken: nothing can make the run loop.
void removeSuites(TRemovalRun& run) {
    auto& observer = REMOVALOBSERVER();
    std::set<std::string> codes;
    std::set<std::pair<TRegistryView, std::string>> tried;
    int taken = 0;
    for (const std::string& vendorKey : SVENDOR_KEYS) {
        for (const TRegistryView view : kRegistryViews) {
            if (!vendorKeyExists(vendorKey, view)) continue;
            observer.found("vendor key", inView(vendorKey, view));
            // A location without bootstrap.ini is a key left behind, taken
            // only when the key records nothing better at the first look.
            for (bool firstLook = true;; firstLook = false) {
                const std::vector<std::string> locations = INSTALLLOCATIONS(vendorKey, view);
                if (firstLook && locations.empty()) {
                    run.unresolved.push_back("no install location");
                    observer.skipped("removal", "no install location is recorded below " + inView(vendorKey, view));
                }
                const auto next = std::find_if(locations.begin(), locations.end(), [&](const std::string& at) {
                    return !tried.contains({view, at}) && (firstLook || isFile(at + SBOOTSTRAP_INI));
                });
                if (next == locations.end()) break;
                tried.insert({view, *next});
                const TResolution resolved = RESOLVESUITEFACTS(vendorKey, view, *next);
                const TSuiteFacts& suite = resolved.facts;
                if (!resolved.missing.empty()) {
                    run.unresolved.push_back(resolved.missing);
                    observer.skipped("removal", resolved.missing + ": " + resolved.why);
                    continue;
                }
                if (!codes.insert(fonction::STRUPPER(suite.SPRODUCTCODE)).second) {
                    observer.skipped("removal", "the suite " + suite.SPRODUCTCODE + " is dealt with already");
                    continue;
                }
                if (taken == kSuiteLimit) {
                    run.tooManySuites = true;
                    observer.skipped("removal", "one run removes " + std::to_string(kSuiteLimit) +
                                                    " suites at most: " + suite.displayName + " stays");
                    return;
                }
                observer.removes(suite, ++taken);
                if (SUPP_LIBREOFFICE(suite, run) == TSuiteOutcome::InstallerBusy) return;
            }
        }
    }
}

}  // namespace

void SETPARAM(const std::vector<std::string>& args) {
    SPARAM = SPARAM_PASSIVE;
    if (!args.empty() && args.front() == "/quiet") SPARAM = SPARAM_QUIET;
}

int RUN(const std::vector<std::string>& args) {
    (void)GETCONSOLEHWND();
    SETPARAM(args);
    // A rerun after a partial removal finds the suite by its Uninstall
    // entry: the first removal took the ProgID and AppID the suites share.
    if (!ISLIBREOFFICEINSTALL() && REGISTEREDFAMILY().empty() && PERUSERINSTALLS().empty()) {
        REMOVALOBSERVER().skipped("removal", "no suite of the family is registered");
        REMOVALOBSERVER().concluded(kExitOk, "nothing of the family is registered");
        return kExitOk;
    }
    // Installed for one user: SYSTEM cannot uninstall it, and nothing of it is touched.
    for (const TPerUserInstall& install : PERUSERINSTALLS())
        REMOVALOBSERVER().found("per-user installation", install.displayName + " of the account " + install.sid +
                                                             (install.profile.empty() ? "" : " (" + install.profile + ")") +
                                                             " in " + install.location + ": not removed");
    TRemovalRun run;
    removeSuites(run);
    if (!run.installerBusy) REMOVEORPHANPACKS(run);
    return RUNEXITCODE(run);
}

std::string CURRENTERRORREPORT() {
    try {
        throw;
    } catch (const platform::Exception& e) {
        return std::string(e.className()) + ": " + e.message();
    } catch (const std::exception& e) {
        return std::string("Exception: ") + e.what();
    } catch (...) {
        return "Exception: unknown error";
    }
}

int RUNPROCESS(const std::vector<std::string>& args) {
    std::string report;
    try {
        return RUN(args);
    } catch (...) {
        report = CURRENTERRORREPORT();
    }
    try {
        if (SOMEONECANSEEABOX())
            platform::messageBoxA(report, "Error", platform::kMbOk | platform::kMbIconError | platform::kMbTaskModal);
    } catch (...) {
    }
    return kExitUncaughtError;
}

}  // namespace korvalend
