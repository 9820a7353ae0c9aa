// How a run ends: every exit code of the removal, the rule for the Windows
// Installer's own code, and the one decision that turns what the run met and
// what stays registered into the exit code and its case. The run, the
// preview's plan and the compliance check all ask this decision; none
// restates it.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "korvalend/entry.h"
#include "korvalend/reasons.h"
#include "korvalend/registered.h"

namespace korvalend {

constexpr int kExitOk = 0;
constexpr int kExitUncaughtError = 217;
// A run that leaves the suite installed when the installer gave no code of
// its own (ERROR_INSTALL_FAILURE).
constexpr int kExitInstallFailure = 1603;
constexpr int kExitInstallerBusy = 1618;        // ERROR_INSTALL_ALREADY_RUNNING
constexpr int kExitRestartRequired = 3010;      // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr uint32_t kRestartInitiated = 1641;    // ERROR_SUCCESS_REBOOT_INITIATED
// The program's own codes, outside every code Windows or its installer
// returns: a suite of the family stays installed, and this run could not or
// would not remove it.
constexpr int kExitUnresolvedFacts = 70001;     // its install location, product key or product code is not found
constexpr int kExitPerUserInstall = 70002;      // installed for one user: not the machine's to uninstall
constexpr int kExitTooManySuites = 70003;       // more suites than one run removes
constexpr int kExitUninstallerTimeout = 70004;  // an uninstaller did not end in time

// The 32 bits of a Windows exit code as the process ends with them: 0 means
// 1603 (the installer said nothing), and 1641 becomes 3010, since the run
// promised no restart.
[[nodiscard]] int INSTALLEREXITCODE(uint32_t code);
// An uninstaller's answer that a restart completes the removal: 3010 or 1641.
[[nodiscard]] bool ISRESTARTCODE(uint32_t code);

// An uninstall the Windows Installer ran that failed: what it should have
// removed, and the code it answered.
struct TInstallerFailure {
    TEntryId entry;          // the Uninstall entry
    std::string productKey;  // a suite's, which also names it; "" for a pack
    int exitCode = kExitInstallFailure;
    bool started = true;     // false: Msiexec.exe could not be started
};

// Why one suite the run met stays, as far as the run knows it: a suite it
// could not resolve, one past the limit, one whose removal stopped. What the
// run could not find of it stays empty; a vendor key left behind without a
// location is a case of no suite at all.
struct TSuiteCase {
    TRegistryView view = TRegistryView::Native;
    std::string entry;        // its Uninstall entry's key name, "" when unknown
    std::string displayName;  // "" when unknown
    std::string productKey;   // "" when unknown
    int code = kExitUnresolvedFacts;
    std::string words;        // its case in words ("no product code")

    // The suite registered as R: by its entry, its name, or a name of its key, in its view.
    [[nodiscard]] bool names(const TRegisteredEntry& r) const;
};

// What a run met that decides its exit code.
struct TOutcomeFacts {
    bool installerBusy = false;                // the wait ran out: nothing more is started
    std::vector<TInstallerFailure> failures;   // in the order they happened
    bool restartPending = false;               // an uninstaller answered 3010 or 1641
    // Suites left, and why, in the order the run met them: one past the
    // limit of a run (70003), one whose uninstaller did not end in time (70004).
    std::vector<TSuiteCase> cases;
    // Uninstall entries already dealt with: one that fails or leaves its
    // entry cannot make the removal loop.
    std::set<TEntryId> entriesRun;
};

// The case an exit code stands for.
enum class TOutcomeCase {
    NothingRegistered,   // 0: nothing of the family was registered
    Removed,             // 0: nothing of the family remains registered
    RemovedRestart,      // 3010: the same, and a restart completes it
    InstallerBusy,       // 1618
    InstallerCode,       // what an uninstall should have removed stays: the installer's own code
    StillRegistered,     // 1603: an entry the run uninstalled stays all the same
    UnresolvedFacts,     // 70001
    PerUserInstall,      // 70002
    TooManySuites,       // 70003
    UninstallerTimeout,  // 70004
    UnexpectedError,     // 217
};

struct TOutcome {
    int code = kExitOk;
    TOutcomeCase what = TOutcomeCase::NothingRegistered;
    std::string words;  // the case in words, as the preview and the check print it
    // Each suite that stays registered, with its own case (the code and
    // words of why it stays), in the order the registry lists them.
    std::vector<TSuiteCase> staying;

    // Nothing of the family stays registered: 0, or 3010 when a restart
    // completes the removal.
    [[nodiscard]] bool removed() const;
};

// The run's outcome, in this order: 1618 when the installer stayed busy; 0,
// or 3010 when a restart completes the removal, when nothing of the family
// stays (STAYING: what of the family the registry lists once the run is
// done; PERUSER: the other accounts' own installations); the installer's own
// code when what it should have removed stays; 1603 when an entry the run
// uninstalled stays all the same; then the program's own codes, each only for
// a suite that stays registered for that case: 70001 (its facts not found),
// 70002 (another account's own installation), 70003, 70004.
[[nodiscard]] TOutcome DECIDEOUTCOME(const TOutcomeFacts& FACTS, const std::vector<TRegisteredEntry>& STAYING,
                                     const std::vector<TPerUserInstall>& PERUSER);

// A run that found nothing of the family; and one ended by an error nothing caught.
[[nodiscard]] TOutcome NOTHINGREGISTERED();
[[nodiscard]] TOutcome UNEXPECTEDERROR();

}  // namespace korvalend
