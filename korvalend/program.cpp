#include "korvalend/program.h"

#include <exception>
#include <optional>

#include "korvalend/console_probe.h"
#include "korvalend/detection.h"
#include "korvalend/globals.h"
#include "korvalend/installer.h"
#include "korvalend/observer.h"
#include "korvalend/outcome.h"
#include "korvalend/record.h"
#include "korvalend/registered.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "korvalend/session.h"
#include "platform/exception.h"
#include "platform/ui.h"
#include "platform/wintypes.h"

namespace korvalend {
void SETPARAM(const std::vector<std::string>& args) {
    SPARAM = SPARAM_PASSIVE;
    if (!args.empty() && args.front() == "/quiet") SPARAM = SPARAM_QUIET;
}

namespace {

// The run once its options are set.
int removeAll() {
    auto& observer = REMOVALOBSERVER();
    const TInstallerRun installer;  // what the Windows Installer holds, asked once until an uninstaller runs
    // A rerun after a partial removal finds the suite by its Uninstall
    // entry: the first removal took the ProgID and AppID the suites share.
    if (!ISLIBREOFFICEINSTALL() && REGISTEREDFAMILY().empty() && PERUSERINSTALLS().empty()) {
        observer.skipped("removal", TSKIP::NOTHINGREGISTERED);
        observer.concluded(NOTHINGREGISTERED());
        return kExitOk;
    }
    // Installed for one user: SYSTEM cannot uninstall it, and nothing of it is touched.
    for (const TPerUserInstall& install : PERUSERINSTALLS())
        observer.found("per-user installation", install.displayName + " of the account " + install.sid +
                                                    (install.profile.empty() ? "" : " (" + install.profile + ")") +
                                                    " in " + install.location + ": not removed");
    TRemovalRun run;
    TSuiteWalk walk(run);
    while (const std::optional<TSuiteFacts> suite = walk.next()) {
        observer.removes(*suite, walk.taken());
        if (SUPP_LIBREOFFICE(*suite, run) == TSuiteOutcome::InstallerBusy) break;
    }
    if (!run.installerBusy) REMOVEORPHANPACKS(run);
    const TOutcome outcome = RUNOUTCOME(run);
    observer.concluded(outcome);
    return outcome.code;
}

}  // namespace

int RUN(const std::vector<std::string>& args) {
    // Outside the handler's reach, so that the record still listens when
    // the error is told.
    std::optional<TRecordScope> record;
    try {
        (void)GETCONSOLEHWND();
        SETPARAM(args);
        record.emplace(args);
        return removeAll();
    } catch (...) {
        REMOVALOBSERVER().failed(CURRENTERRORREPORT());
        throw;
    }
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
