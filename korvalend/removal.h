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

#include "korvalend/outcome.h"
#include "korvalend/registered.h"
#include "korvalend/suite.h"

namespace korvalend {

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

// Every occurrence of FROM in S, compared with the ANSI upper-casing,
// replaced by TO.
[[nodiscard]] std::string STRREPLACEALLCASELESS(const std::string& S, const std::string& FROM, const std::string& TO);

// A help or language pack's installer parameters from its uninstall command
// ("/i" becomes SPARAM + " /x"; a command with "/x" only gets SPARAM before
// it), or, when it has none or no such switch, from its entry's key name.
[[nodiscard]] std::string HELPPACKPARAMETERS(const std::string& SUNINST_HELP, const std::string& SKEYNAME);

// What one run keeps from one step and one suite to the next; what decides
// its exit code is kept in the outcome's facts it holds.
struct TRemovalRun : TOutcomeFacts {
    uint64_t installerWaitBudgetMs = kInstallerWaitBudgetMs;
    uint64_t waitBudgetMs = kRunWaitBudgetMs;
    std::set<std::string> extensionCommands;  // upper-cased: one run per command
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

// The run's outcome once it is done: what stays is RUN.staying, or the
// registry as it is now.
[[nodiscard]] TOutcome RUNOUTCOME(const TRemovalRun& RUN);

}  // namespace korvalend
