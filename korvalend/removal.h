// Removing one suite: close it, remove its extensions, help packs and
// language packs, uninstall it, then delete what the uninstallation left
// behind. What a run needs from one suite's removal to the next, and what
// decides its exit code, is kept in TRemovalRun.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "korvalend/registered.h"
#include "korvalend/suite.h"

namespace korvalend {

inline const std::string SUNINSTALL_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const std::string SINSTALLER = "Msiexec.exe";
// The Windows Installer's execution mutex; "Global\" reaches the service's
// from any session.
inline const std::u16string SINSTALLER_MUTEX = u"Global\\_MSIExecute";
// How long one run waits for a busy Windows Installer, all Msiexec.exe runs
// together; then it gives up.
constexpr uint64_t kInstallerWaitBudgetMs = 10 * 60 * 1000;
// How long it waits for one uninstaller that is not Msiexec.exe.
constexpr uint64_t kUninstallerWaitMs = 10 * 60 * 1000;
// All the run's own waits together (a busy installer, uninstallers other
// than Msiexec.exe): the run ends well within a deployment tool's hour.
constexpr uint64_t kRunWaitBudgetMs = 30 * 60 * 1000;

// The exit code of a run that leaves the suite installed when the installer
// gave none of its own (ERROR_INSTALL_FAILURE).
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
// One run removes this many suites at most, so that nothing can make it loop.
constexpr int kSuiteLimit = 8;

// Every occurrence of FROM in S, compared with the ANSI upper-casing,
// replaced by TO.
[[nodiscard]] std::string STRREPLACEALLCASELESS(const std::string& S, const std::string& FROM, const std::string& TO);

// A help or language pack's installer parameters from its uninstall command
// ("/i" becomes SPARAM + " /x"; a command with "/x" only gets SPARAM before
// it), or, when it has none or no such switch, from its entry's key name.
[[nodiscard]] std::string HELPPACKPARAMETERS(const std::string& SUNINST_HELP, const std::string& SKEYNAME);

// An uninstall the Windows Installer ran that failed: what it should have
// removed, and the code it answered.
struct TInstallerFailure {
    TRegistryView view = TRegistryView::Native;
    std::string entry;       // the Uninstall entry's name
    std::string productKey;  // a suite's, which also names it; "" for a pack
    int exitCode = kExitInstallFailure;
};

// What one run keeps from one step and one suite to the next.
struct TRemovalRun {
    uint64_t installerWaitBudgetMs = kInstallerWaitBudgetMs;
    uint64_t waitBudgetMs = kRunWaitBudgetMs;
    // Uninstall entries already dealt with (view, upper-cased name): one that
    // fails or leaves its entry cannot make the removal loop.
    std::set<std::pair<TRegistryView, std::string>> entriesRun;
    std::set<std::string> extensionCommands;  // upper-cased: one run per command
    // What decides the exit code.
    bool installerBusy = false;                    // the wait ran out: nothing more is started
    std::vector<TInstallerFailure> failures;       // in the order they happened
    bool restartPending = false;                   // an uninstaller answered 3010 or 1641
    bool timedOut = false;                         // an uninstaller did not end in time
    std::vector<std::string> unresolved;           // suites whose facts were not found, and what is missing
    bool tooManySuites = false;                    // a suite past the limit of one run was left
    // What of the family the registry held after the last uninstaller, when
    // nothing has been started since: the next step need not read it again.
    std::optional<std::vector<TRegisteredEntry>> staying;
};

// How one suite's removal ended.
enum class TSuiteOutcome {
    Removed,          // uninstalled; its leftovers deleted as far as the refusals allow
    NotRegistered,    // its Uninstall entry is missing: nothing done
    StillRegistered,  // its uninstaller ran and it stays: nothing deleted
    NotStarted,       // the installer could not be started: nothing deleted
    InstallerBusy,    // the Windows Installer stayed busy: nothing more is started
    TimedOut,         // an extension's uninstaller did not end in time: the rest skipped
};

// Removes the suite SUITE as the removal's steps go: ends its running
// soffice.bin, its extensions, help packs and language packs, uninstalls it
// and, once neither it nor a pack of it is registered, deletes what it left.
[[nodiscard]] TSuiteOutcome SUPP_LIBREOFFICE(const TSuiteFacts& SUITE, TRemovalRun& RUN);

// Help and language packs of the family whose suite is no longer registered:
// each is uninstalled by its own entry. Leaves in RUN.staying what stays.
void REMOVEORPHANPACKS(TRemovalRun& RUN);

// The run's exit code from what stays registered once it is done, in this
// order (what stays: RUN.staying, or the registry as it is now): 1618 when
// the installer stayed busy; 0, or 3010 when a restart
// completes the removal, when nothing of the family stays; the installer's
// own code when what it should have removed stays; 1603 when an entry the
// run uninstalled stays all the same; then the program's own codes. Told,
// with its case in words, to REMOVALOBSERVER().
[[nodiscard]] int RUNEXITCODE(const TRemovalRun& RUN);

// The 32 bits of a Windows exit code as the process ends with them: 0 means
// 1603 (the installer said nothing), and 1641 becomes 3010, since the run
// promised no restart.
[[nodiscard]] int INSTALLEREXITCODE(uint32_t code);

}  // namespace korvalend
