#include "korvalend/outcome.h"

#include <algorithm>

#include "korvalend/family.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"

namespace korvalend {
namespace {

// What the uninstall should have removed is still registered in its view:
// the entry, or for a suite an entry that is the suite by its name.
// Unrelated entries whose DisplayName is not text are passed over.
bool stillRegistered(const TInstallerFailure& target) {
    if (CHERCHE_CLE_EXIST(SUNINSTALL_KEY + target.entry.name, target.entry.view)) return true;
    if (target.productKey.empty()) return false;
    const auto isSuite = [&](const std::string& text) { return ISNAMEDASSUITE(text, target.productKey); };
    bool found = false;
    WALKUNINSTALLENTRIES("DisplayName", isSuite, [&](const TUninstallEntry& e) {
        found = e.error == nullptr;  // an unrelated broken entry is passed over
        return found;
    }, target.entry.view);
    return found;
}

TOutcome outcome(int code, TOutcomeCase what, std::string words) { return TOutcome{code, what, std::move(words)}; }

}  // namespace

int INSTALLEREXITCODE(uint32_t code) {
    if (code == 0) return kExitInstallFailure;
    if (code == kRestartInitiated) return kExitRestartRequired;
    // The 32 bits of a Windows exit code, codes above 0x7FFFFFFF included.
    return static_cast<int>(code);
}

bool ISRESTARTCODE(uint32_t code) { return code == kExitRestartRequired || code == kRestartInitiated; }

bool TOutcome::removed() const {
    return what == TOutcomeCase::NothingRegistered || what == TOutcomeCase::Removed ||
           what == TOutcomeCase::RemovedRestart;
}

TOutcome NOTHINGREGISTERED() {
    return outcome(kExitOk, TOutcomeCase::NothingRegistered, "nothing of the family is registered");
}

TOutcome UNEXPECTEDERROR() { return outcome(kExitUncaughtError, TOutcomeCase::UnexpectedError, "an unexpected error"); }

TOutcome DECIDEOUTCOME(const TOutcomeFacts& FACTS, const std::vector<TRegisteredEntry>& STAYING,
                       const std::vector<TPerUserInstall>& PERUSER) {
    if (FACTS.installerBusy)
        return outcome(kExitInstallerBusy, TOutcomeCase::InstallerBusy,
                       "the Windows Installer stayed busy past the run's 10 minutes of waiting: nothing was started "
                       "or deleted, retry later");
    const auto failed = std::find_if(FACTS.failures.begin(), FACTS.failures.end(), stillRegistered);
    if (STAYING.empty() && PERUSER.empty() && failed == FACTS.failures.end()) {
        if (FACTS.restartPending)
            return outcome(kExitRestartRequired, TOutcomeCase::RemovedRestart,
                           "nothing of the family remains registered; an uninstaller asked for a restart, which "
                           "completes the removal");
        // An AppID or ProgID left behind without any entry is nothing to remove.
        if (FACTS.entriesRun.empty())
            return outcome(kExitOk, TOutcomeCase::NothingRegistered,
                           "no Uninstall entry of the family is registered: nothing to remove");
        return outcome(kExitOk, TOutcomeCase::Removed, "nothing of the family remains registered");
    }
    if (failed != FACTS.failures.end())
        return outcome(failed->exitCode, TOutcomeCase::InstallerCode,
                       failed->entry.name + " is still registered after its uninstaller: the installer's own exit code");
    // On purpose by name alone, whatever view: the Windows Installer
    // registers a product once, whatever view its entry went to, so a product
    // code the run uninstalled that stays in either view stays installed.
    for (const TRegisteredEntry& r : STAYING)
        for (const TEntryId& run : FACTS.entriesRun)
            if (SAMEKEYNAME(run.name, r.name))
                return outcome(kExitInstallFailure, TOutcomeCase::StillRegistered,
                               r.displayName + " (" + r.name + ", " + VIEWNAME(r.view) +
                                   " view) is still registered after its uninstaller ran");
    // The program's own codes: the case alone, the preview and the check
    // name what stays.
    if (!FACTS.unresolved.empty())
        return outcome(kExitUnresolvedFacts, TOutcomeCase::UnresolvedFacts, MISSINGTEXT(FACTS.unresolved.front()));
    if (!PERUSER.empty())
        return outcome(kExitPerUserInstall, TOutcomeCase::PerUserInstall,
                       "installed for the account " + PERUSER.front().sid + " alone");
    if (FACTS.tooManySuites)
        return outcome(kExitTooManySuites, TOutcomeCase::TooManySuites, "more suites than one run removes (" + std::to_string(kSuiteLimit) + ")");
    if (FACTS.timedOut)
        return outcome(kExitUninstallerTimeout, TOutcomeCase::UninstallerTimeout, "an uninstaller did not end in time");
    return outcome(kExitUnresolvedFacts, TOutcomeCase::UnresolvedFacts,
                   "no install location (no vendor key of the family records one)");
}

}  // namespace korvalend
