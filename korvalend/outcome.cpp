#include "korvalend/outcome.h"

#include <algorithm>

#include "korvalend/family.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/wintypes.h"

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

TOutcome outcome(int code, TOutcomeCase what, std::string words) {
    TOutcome out;
    out.code = code;
    out.what = what;
    out.words = std::move(words);
    return out;
}

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

bool TSuiteCase::names(const TRegisteredEntry& r) const {
    if (r.view != view) return false;
    if (!entry.empty()) return SAMEKEYNAME(entry, r.name);
    if (!displayName.empty()) return displayName == r.displayName;
    return !productKey.empty() && ISNAMEDASSUITE(r.displayName, productKey);
}

namespace {

std::string failureWords(const TInstallerFailure& f) {
    if (!f.started) return "its uninstaller could not be started (exit code 1603)";
    if (f.exitCode == platform::kErrorInstallSourceAbsent)
        return "its cached package and the package it was installed from are gone (exit code 1612)";
    return "still registered after its uninstaller (exit code " + std::to_string(static_cast<uint32_t>(f.exitCode)) + ")";
}

// Why the registered suite R stays, from what the run met.
TSuiteCase caseOf(const TRegisteredEntry& r, const TOutcomeFacts& facts, const std::vector<TPerUserInstall>& perUser) {
    TSuiteCase out{r.view, r.name, r.displayName, {}, kExitUnresolvedFacts, {}};
    for (const TInstallerFailure& f : facts.failures)
        if (f.entry == r.id() || (!f.productKey.empty() && f.entry.view == r.view && ISNAMEDASSUITE(r.displayName, f.productKey))) {
            out.code = f.exitCode;
            out.words = failureWords(f);
            return out;
        }
    for (const TEntryId& run : facts.entriesRun)
        if (SAMEKEYNAME(run.name, r.name)) {
            out.code = kExitInstallFailure;
            out.words = "still registered after its uninstaller ran";
            return out;
        }
    // Another account's own installation, which the installer may also list
    // among the machine's entries (Wine does).
    for (const TPerUserInstall& install : perUser)
        if (!install.productCode.empty() && SAMEKEYNAME(install.productCode, r.name)) {
            out.code = kExitPerUserInstall;
            out.words = "installed for the account " + install.sid + " alone";
            return out;
        }
    for (const TSuiteCase& c : facts.cases)
        if (c.names(r)) {
            out.code = c.code;
            out.words = c.words;
            return out;
        }
    if (facts.installerBusy) {
        out.code = kExitInstallerBusy;
        out.words = "the Windows Installer stayed busy";
        return out;
    }
    // A suite no vendor key leads to: what the run could not find on the way
    // (a vendor key without a location, a location without a product key)
    // is the likeliest reason.
    for (const TSuiteCase& c : facts.cases)
        if (c.entry.empty() && c.displayName.empty() && c.productKey.empty()) {
            out.words = c.words;
            return out;
        }
    out.words = "no install location (no vendor key of the family records one)";
    return out;
}

}  // namespace

TOutcome DECIDEOUTCOME(const TOutcomeFacts& FACTS, const std::vector<TRegisteredEntry>& STAYING,
                       const std::vector<TPerUserInstall>& PERUSER) {
    TOutcome out;
    for (const TRegisteredEntry& r : STAYING)
        if (r.what.kind == TFamilyKind::Suite) out.staying.push_back(caseOf(r, FACTS, PERUSER));
    const auto decided = [&out](int code, TOutcomeCase what, std::string words) {
        out.code = code;
        out.what = what;
        out.words = std::move(words);
        return out;
    };
    if (FACTS.installerBusy)
        return decided(kExitInstallerBusy, TOutcomeCase::InstallerBusy,
                       "the Windows Installer stayed busy past the run's 10 minutes of waiting: nothing was started "
                       "or deleted, retry later");
    const auto failed = std::find_if(FACTS.failures.begin(), FACTS.failures.end(), stillRegistered);
    if (STAYING.empty() && PERUSER.empty() && failed == FACTS.failures.end()) {
        if (FACTS.restartPending)
            return decided(kExitRestartRequired, TOutcomeCase::RemovedRestart,
                           "nothing of the family remains registered; an uninstaller asked for a restart, which "
                           "completes the removal");
        // An AppID or ProgID left behind without any entry is nothing to remove.
        if (FACTS.entriesRun.empty())
            return decided(kExitOk, TOutcomeCase::NothingRegistered,
                           "no Uninstall entry of the family is registered: nothing to remove");
        return decided(kExitOk, TOutcomeCase::Removed, "nothing of the family remains registered");
    }
    if (failed != FACTS.failures.end())
        return decided(failed->exitCode, TOutcomeCase::InstallerCode,
                       failed->entry.name + " is still registered after its uninstaller: the installer's own exit code");
    // On purpose by name alone, whatever view: the Windows Installer
    // registers a product once, whatever view its entry went to, so a product
    // code the run uninstalled that stays in either view stays installed.
    for (const TRegisteredEntry& r : STAYING)
        for (const TEntryId& run : FACTS.entriesRun)
            if (SAMEKEYNAME(run.name, r.name))
                return decided(kExitInstallFailure, TOutcomeCase::StillRegistered,
                               r.displayName + " (" + r.name + ", " + VIEWNAME(r.view) +
                                   " view) is still registered after its uninstaller ran");
    // The program's own codes, each for a suite that stays for that case: the
    // case alone, the preview and the check name what stays.
    const auto stays = [&out](int code) {
        return std::find_if(out.staying.begin(), out.staying.end(), [code](const TSuiteCase& c) { return c.code == code; });
    };
    if (const auto c = stays(kExitUnresolvedFacts); c != out.staying.end())
        return decided(kExitUnresolvedFacts, TOutcomeCase::UnresolvedFacts, c->words);
    if (!PERUSER.empty())
        return decided(kExitPerUserInstall, TOutcomeCase::PerUserInstall,
                       "installed for the account " + PERUSER.front().sid + " alone");
    const auto met = [&FACTS](int code) {
        return std::any_of(FACTS.cases.begin(), FACTS.cases.end(), [code](const TSuiteCase& c) { return c.code == code; });
    };
    if (met(kExitTooManySuites))
        return decided(kExitTooManySuites, TOutcomeCase::TooManySuites,
                       "more suites than one run removes (" + std::to_string(kSuiteLimit) + ")");
    if (met(kExitUninstallerTimeout))
        return decided(kExitUninstallerTimeout, TOutcomeCase::UninstallerTimeout, "an uninstaller did not end in time");
    return decided(kExitUnresolvedFacts, TOutcomeCase::UnresolvedFacts,
                   "no install location (no vendor key of the family records one)");
}

}  // namespace korvalend
