#include "korvalend/removal.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "fonction/folders.h"
#include "fonction/launch.h"
#include "fonction/strings.h"
#include "korvalend/family.h"
#include "korvalend/globals.h"
#include "korvalend/installer.h"
#include "korvalend/leftovers.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "korvalend/process_lookup.h"
#include "korvalend/record.h"
#include "korvalend/registered.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

const std::string SDELETION_STEP = "deletion of what the uninstallation left";
const std::string SINSTALLER_WAIT_STEP = "the wait for a busy Windows Installer";

// What goes before the suite, in this order: the LibreOffice extensions, the
// Collabora ones, the French help pack, the other help packs, the language
// packs, the older packs and SDKs left in its folder, its SDK; within each, in
// listing order, the native view first.
enum class TPart { LibreOfficeExtension, CollaboraExtension, FrenchHelpPack, HelpPack, LanguagePack, OlderPack, Sdk };

struct TPartEntry {
    TPart part;
    TRegistryView view;
    std::string entry;
    std::string displayName;
    std::string command;
    std::exception_ptr commandError;  // raised when this entry's turn comes, as reading it always did
};

bool isExtension(TPart part) { return part == TPart::LibreOfficeExtension || part == TPart::CollaboraExtension; }

// How the run names a pack or an SDK of the family.
const char* PARTNAME(TFamilyKind kind) {
    return kind == TFamilyKind::Sdk ? "SDK" : kind == TFamilyKind::LanguagePack ? "language pack" : "help pack";
}

std::optional<TPart> partOf(const std::string& displayName, const std::string& SVERSOOO) {
    const std::string upper = platform::charUpperBuffA(displayName);
    switch (SUITEENTRYKIND(displayName, SVERSOOO)) {
        case TSuiteEntry::Extension:
            return upper.starts_with(platform::charUpperBuffA(SEXTENSION_LIBREOFFICE)) ? TPart::LibreOfficeExtension
                                                                                        : TPart::CollaboraExtension;
        case TSuiteEntry::HelpPack:
            return upper.find(platform::charUpperBuffA(SHELP_PACK_SUFFIX)) != std::string::npos ? TPart::FrenchHelpPack
                                                                                                 : TPart::HelpPack;
        case TSuiteEntry::LanguagePack:
            return TPart::LanguagePack;
        case TSuiteEntry::Sdk:
            return TPart::Sdk;
        default:
            return std::nullopt;
    }
}

// What the registry says of the others while a suite is removed: whose
// extensions and packs are this suite's to take.
// The registry is read for them only when a step asks: the suites that are
// installed do not change while extensions and packs go.
struct TOthers {
    explicit TOthers(const TSuiteFacts& removed) : suite(removed) {}
    const TSuiteFacts& suite;

    bool otherSuiteOfFamily(const std::string& family) const {
        return std::any_of(registered().begin(), registered().end(), [&](const TRegisteredEntry& r) {
            return r.what.kind == TFamilyKind::Suite && r.what.family == family && !isThisSuite(r);
        });
    }
    // A pack listed in another view belongs to the suite of its product key
    // there, when that view has one.
    bool otherViewsSuite(TRegistryView view) const {
        return view != suite.view && std::any_of(registered().begin(), registered().end(), [&](const TRegisteredEntry& r) {
                   return r.view == view && ISSUITEOF(r, suite.SVERSOOO);
               });
    }
    const std::vector<TRegisteredEntry>& registered() const {
        if (!registered_) registered_ = REGISTEREDFAMILY();
        return *registered_;
    }
    bool isThisSuite(const TRegisteredEntry& r) const { return r.id() == TEntryId{suite.view, suite.SPRODUCTCODE}; }
    // Each suite takes its own family's extensions, and those of a family no
    // other installed suite has: Collabora Office alone still takes the
    // "LibreOffice Extension" ones.
    bool takes(TPart part) const {
        const std::string& family = part == TPart::LibreOfficeExtension ? SFAMILY_LIBREOFFICE : SFAMILY_COLLABORA;
        return FAMILYOF(suite.SVERSOOO) == family || !otherSuiteOfFamily(family);
    }

private:
    mutable std::optional<std::vector<TRegisteredEntry>> registered_;
};

// The next entry to remove before the suite, from the Uninstall key as it is
// now; none when all are dealt with. An uninstaller changes the key, so each
// call reads it afresh; entries already run are passed over, so one that fails
// or leaves its entry cannot make the removal loop. An unrelated entry whose
// DisplayName is not text is passed over too.
std::optional<TPartEntry> nextPart(const TOthers& others, const TRemovalRun& run) {
    const std::string& SVERSOOO = others.suite.SVERSOOO;
    std::optional<TPartEntry> next;
    const auto isPart = [&](const std::string& text) {
        return partOf(text, SVERSOOO).has_value() || ISSUITEPART(FAMILYNAME(text).kind);
    };
    WALKUNINSTALLVIEWS("DisplayName", isPart, [&](const TUninstallEntry& e) {
        if (e.error || run.entriesRun.contains(TEntryId{e.view, e.name})) return false;
        std::optional<TPart> own = partOf(e.text, SVERSOOO);
        if (!own && !ISOLDERPARTOF(TRegisteredEntry{e.view, e.name, e.text, FAMILYNAME(e.text)}, others.suite,
                                   others.registered()))
            return false;
        const TPart part = own.value_or(TPart::OlderPack);
        // No product to uninstall, an extension's included: its MsiExec.exe would answer 1605.
        if (e.orphanTold()) return false;
        if (isExtension(part) ? !others.takes(part) : others.otherViewsSuite(e.view)) return false;
        if (next && next->part <= part) return false;
        next = TPartEntry{part, e.view, e.name, e.text, {}, nullptr};
        try {
            next->command = e.valueText("UninstallString");
        } catch (const platform::ERegistryException&) {
            next->commandError = std::current_exception();
        }
        return part == TPart::LibreOfficeExtension;  // nothing goes before it
    });
    return next;
}

// Msiexec.exe refuses with 1618 (or, with /passive, may show a box nobody
// answers) while another installation runs: wait until nobody owns the
// installer's mutex, within what is left of the run's budgets. False when it
// stayed busy: then nothing more is started.
bool waitForIdleInstaller(TRemovalRun& run) {
    auto& observer = REMOVALOBSERVER();
    const std::string what = "a busy Windows Installer (Global\\_MSIExecute)";
    observer.waits(what);
    const uint64_t allowed = std::min(run.installerWaitBudgetMs, run.waitBudgetMs);
    uint64_t left = allowed;
    const fonction::TMutexWait outcome = fonction::WAITFORFREEMUTEX(SINSTALLER_MUTEX, left);
    run.installerWaitBudgetMs -= allowed - left;
    run.waitBudgetMs -= allowed - left;
    if (outcome == fonction::TMutexWait::Released || outcome == fonction::TMutexWait::OutOfTime)
        observer.waited(what, allowed - left);
    switch (outcome) {
        case fonction::TMutexWait::OutOfTime:
            run.installerBusy = true;
            observer.skipped(SINSTALLER_WAIT_STEP, TReason(TSKIP::INSTALLERBUSY, {}, kInstallerWaitBudgetMs / 60000));
            return false;
        case fonction::TMutexWait::Unknown:
            observer.skipped(SINSTALLER_WAIT_STEP, TSKIP::MUTEXUNKNOWN);
            return true;
        default:
            return true;
    }
}

// Msiexec.exe answered 1605 (ERROR_UNKNOWN_PRODUCT) for ENTRY, which stays:
// an orphan from now on. True when it is one.
bool UNKNOWNPRODUCT(uint32_t code, const TEntryId& entry, const std::string& displayName) {
    if (code != static_cast<uint32_t>(platform::kErrorUnknownProduct) || !ISPRODUCTCODE(entry.name) ||
        !CHERCHE_CLE_EXIST(SUNINSTALL_KEY + entry.name, entry.view))
        return false;
    MARKORPHAN(entry.name);
    TELLORPHAN(entry.view, entry.name, displayName);
    return true;
}

// Tells the launch and how it ended; the outcome is the launch's.
fonction::TLaunchOutcome launch(const TLaunch& what, uint64_t limitMs) {
    auto& observer = REMOVALOBSERVER();
    observer.launches(what);
    PRODUCTSMAYCHANGE();
    const fonction::TLaunchOutcome outcome =
        fonction::SHELLEXECANDWAITFOR(what.program, what.parameters, "", platform::kSwShowNormal, "", limitMs);
    TLaunchEnd end;
    end.waitedMs = outcome.waitedMs;
    switch (outcome.kind) {
        case fonction::TLaunchOutcome::Kind::NotStarted:
            end.kind = TLaunchEnd::Kind::NotStarted;
            end.why = platform::systemErrorMessage(outcome.error);
            break;
        case fonction::TLaunchOutcome::Kind::StillRunning: end.kind = TLaunchEnd::Kind::LeftRunning; break;
        case fonction::TLaunchOutcome::Kind::Ended:
            end.kind = TLaunchEnd::Kind::Ended;
            end.exitCode = outcome.exitCode;
            break;
    }
    observer.launchEnded(what, end);
    return outcome;
}

// Msiexec.exe on the entry ENTRY with PARAMETERS. The installer's exit code;
// none when it could not be started or the installer stayed busy
// (RUN.installerBusy).
std::optional<uint32_t> runInstaller(const std::string& parameters, const TEntryId& entry,
                                     std::vector<std::string> vendorRecords, TRemovalRun& run) {
    const std::string system = fonction::GETWINDOWSSYSTEMFOLDER();
    // "\Msiexec.exe" would be whatever lies at the root of the current drive.
    if (system.empty()) return std::nullopt;
    // The uninstall is always attempted; where the installer's package is
    // gone, and the one it was installed from too, it will answer 1612.
    const std::string code = ISPRODUCTCODE(entry.name) ? entry.name : std::string();
    const TPackage package = PACKAGEOF(code);
    if (package.kind != TPackage::Kind::Cached && !package.why.empty() && !code.empty())
        REMOVALOBSERVER().found("Windows Installer package", package.why +
                                                                 (package.kind == TPackage::Kind::Gone
                                                                      ? ": the uninstall will fail with 1612"
                                                                      : ""));
    if (!waitForIdleInstaller(run)) return std::nullopt;
    run.staying.reset();  // what the installer changes is read again
    // With a record, the installer writes its own log of the uninstall beside it.
    const std::string logged = SLOGFOLDER.empty() ? parameters : parameters + MSIEXECLOGPARAMETERS(SLOGFOLDER, entry.name);
    TLaunch what{inFolder(system, SINSTALLER), logged, entry, code, std::move(vendorRecords)};
    if (package.kind == TPackage::Kind::Gone) what.expectedExitCode = static_cast<uint32_t>(platform::kErrorInstallSourceAbsent);
    const fonction::TLaunchOutcome outcome = launch(what, fonction::kNoTimeLimit);
    if (outcome.kind == fonction::TLaunchOutcome::Kind::NotStarted) return std::nullopt;
    return outcome.exitCode;
}

// The uninstaller is the Windows Installer itself, whatever folder or letter
// case the command names it with: it is waited for to its end, since
// stopping it would leave the machine half uninstalled.
bool runsMsiexec(const std::string& command) {
    const std::string upper = fonction::STRUPPER(command);
    const std::string name = fonction::STRUPPER(SINSTALLER);
    for (std::size_t at = upper.find(name); at != std::string::npos; at = upper.find(name, at + 1)) {
        const bool start = at == 0 || upper[at - 1] == '\\' || upper[at - 1] == '/' || upper[at - 1] == '"';
        const std::size_t end = at + name.size();
        if (start && (end == upper.size() || upper[end] == ' ' || upper[end] == '"')) return true;
    }
    return false;
}

// False when its uninstaller did not end in time: the rest of the suite's
// removal is then skipped.
bool removeExtension(const TPartEntry& part, TRemovalRun& run) {
    const std::string step = "extension " + part.displayName;
    if (part.command.empty()) {
        REMOVALOBSERVER().skipped(step, TSKIP::NOCOMMAND);
        return true;
    }
    // Two entries may record the same uninstaller.
    if (!run.extensionCommands.insert(fonction::STRUPPER(part.command)).second) {
        REMOVALOBSERVER().skipped(step, TSKIP::COMMANDRUN);
        return true;
    }
    const bool installer = runsMsiexec(part.command);
    // With nothing left to wait, an uninstaller started now would be left
    // running past the run's end.
    if (!installer && run.waitBudgetMs == 0) {
        REMOVALOBSERVER().skipped(step, TReason(TSKIP::WAITSPENT, {}, kRunWaitBudgetMs / 60000));
        return false;
    }
    const uint64_t limit = installer ? fonction::kNoTimeLimit : std::min(kUninstallerWaitMs, run.waitBudgetMs);
    run.staying.reset();
    // The command is not split: the whole text is the program.
    const fonction::TLaunchOutcome outcome = launch(TLaunch{part.command, " /verysilent", {part.view, part.entry}, {}, {}}, limit);
    if (limit != fonction::kNoTimeLimit) run.waitBudgetMs -= std::min(outcome.waitedMs, run.waitBudgetMs);
    switch (outcome.kind) {
        case fonction::TLaunchOutcome::Kind::NotStarted:
            REMOVALOBSERVER().skipped(step, TSKIP::COMMANDNOTSTARTED);
            return true;
        case fonction::TLaunchOutcome::Kind::StillRunning:
                REMOVALOBSERVER().skipped(step, TReason(TSKIP::UNINSTALLERTIMEOUT, {}, limit / 60000));
            return false;
        case fonction::TLaunchOutcome::Kind::Ended:
            return true;
    }
    return true;
}

// Runs the Windows Installer on a pack by its entry and tells whether it
// went: a pack that stays registered after its uninstaller is a failure of
// the run. False when the installer stayed busy.
bool removePack(const std::string& what, const TEntryId& entry, const std::string& command, TRemovalRun& run) {
    const std::optional<uint32_t> code = runInstaller(HELPPACKPARAMETERS(command, entry.name), entry, {}, run);
    if (run.installerBusy) return false;
    if (!code) REMOVALOBSERVER().skipped(what, TSKIP::INSTALLERNOTSTARTED);
    if (code && UNKNOWNPRODUCT(*code, entry, what)) return true;  // an orphan: nothing of it stays
    if (CHERCHE_CLE_EXIST(SUNINSTALL_KEY + entry.name, entry.view)) {
        run.failures.push_back(TInstallerFailure{entry, {}, code ? INSTALLEREXITCODE(*code) : kExitInstallFailure, code.has_value()});
        if (code) REMOVALOBSERVER().skipped(what, TReason(TSKIP::PACKSTAYS, {}, static_cast<uint32_t>(run.failures.back().exitCode)));
    } else if (code && ISRESTARTCODE(*code)) {
        run.restartPending = true;
    }
    return true;
}

// Extensions, help packs and language packs. False when the rest of the
// suite's removal is not to run (an uninstaller did not end in time, or the
// installer stayed busy).
bool removeParts(const TOthers& others, TRemovalRun& run) {
    while (const std::optional<TPartEntry> next = nextPart(others, run)) {
        const TPartEntry& part = *next;
        run.entriesRun.insert(TEntryId{part.view, part.entry});
        if (part.commandError) std::rethrow_exception(part.commandError);
        const char* what = isExtension(part.part)             ? "extension"
                           : part.part == TPart::OlderPack      ? PARTNAME(FAMILYNAME(part.displayName).kind)
                           : part.part == TPart::LanguagePack   ? "language pack"
                           : part.part == TPart::Sdk            ? "SDK"
                                                                : "help pack";
        REMOVALOBSERVER().found(what, part.displayName + " (" + part.entry + ")");
        if (isExtension(part.part) ? !removeExtension(part, run)
                                   : !removePack(std::string(what) + " " + part.displayName, {part.view, part.entry},
                                                 part.command, run))
            return false;
    }
    return true;
}

}  // namespace

std::string STRREPLACEALLCASELESS(const std::string& S, const std::string& FROM, const std::string& TO) {
    if (FROM.empty()) return S;
    const std::string upperS = fonction::STRUPPER(S);
    const std::string upperFrom = fonction::STRUPPER(FROM);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = upperS.find(upperFrom, pos)) != std::string::npos; pos = hit + FROM.size())
        out.append(S, pos, hit - pos).append(TO);
    return out.append(S, pos, std::string::npos);
}

std::string HELPPACKPARAMETERS(const std::string& SUNINST_HELP, const std::string& SKEYNAME) {
    const std::string arguments = fonction::STRAFTER(" ", SUNINST_HELP);
    const bool install = fonction::STRIPOS("/i", arguments) != 0;
    // Msiexec.exe without a removal switch shows its usage box and waits for
    // a click: a command that is not the installer's goes by the entry's name.
    if (!install && fonction::STRIPOS("/x", arguments) == 0) return SPARAM + " /x" + SKEYNAME;
    // A package that cannot be modified records "MsiExec.exe /X{code}": left
    // as it is, the installer would ask for a confirmation nobody can give.
    if (!install) return STRREPLACEALLCASELESS(arguments, "/x", SPARAM + " /x");
    return STRREPLACEALLCASELESS(arguments, "/i", SPARAM + " /x");
}

TSuiteOutcome SUPP_LIBREOFFICE(const TSuiteFacts& SUITE, TRemovalRun& RUN) {
    auto& observer = REMOVALOBSERVER();
    const std::string SPATH_CLE = SUNINSTALL_KEY + SUITE.SPRODUCTCODE;
    if (!CHERCHE_CLE_EXIST(SPATH_CLE, SUITE.view)) {
        RUN.cases.push_back(TSuiteCase{SUITE.view, {}, SUITE.displayName, SUITE.SVERSOOO, kExitUnresolvedFacts,
                                       MISSINGTEXT(TMISSING::UNINSTALLENTRY)});
        observer.skipped("removal", TReason(TSKIP::NOSUITEENTRY, SUITE.SPRODUCTCODE));
        return TSuiteOutcome::NotRegistered;
    }

    // At this suite's turn, its own soffice.bin only.
    (void)CLOSESUITEPROCESSES(SUITE.SCHEMOPEN);

    const TOthers others(SUITE);
    if (!removeParts(others, RUN)) {
        if (RUN.installerBusy) return TSuiteOutcome::InstallerBusy;
        RUN.cases.push_back(TSuiteCase{SUITE.view, SUITE.SPRODUCTCODE, SUITE.displayName, SUITE.SVERSOOO,
                                       kExitUninstallerTimeout, "an uninstaller did not end in time"});
        return TSuiteOutcome::TimedOut;
    }

    TSuiteFacts suite = SUITE;
    std::vector<TRegisteredEntry> staying;
    for (;;) {
        const TEntryId entry{suite.view, suite.SPRODUCTCODE};
        RUN.entriesRun.insert(entry);
        const std::optional<uint32_t> code = runInstaller(SPARAM + " /x" + suite.SPRODUCTCODE, entry, suite.vendorRecords, RUN);
        if (RUN.installerBusy) return TSuiteOutcome::InstallerBusy;
        TInstallerFailure target{entry, suite.SVERSOOO, kExitInstallFailure};
        if (!code) {
            target.started = false;
            RUN.failures.push_back(target);
            observer.skipped(SDELETION_STEP, TSKIP::SUITENOTSTARTED);
            return TSuiteOutcome::NotStarted;
        }
        // The Windows Installer does not know the product after all: its entry
        // is an orphan from now on, and keeps nothing registered by itself.
        const bool orphaned = UNKNOWNPRODUCT(*code, entry, suite.displayName);
        // Whatever the installer answered, the registration decides: the entry
        // of its product code, or one named as the suite, in its view.
        staying = REGISTEREDFAMILY(suite.SVERSOOO);
        const bool stays = (!orphaned && CHERCHE_CLE_EXIST(SUNINSTALL_KEY + suite.SPRODUCTCODE, suite.view)) ||
                           std::any_of(staying.begin(), staying.end(), [&](const TRegisteredEntry& r) {
                               return r.view == suite.view && ISSUITEOF(r, suite.SVERSOOO);
                           });
        RUN.staying = staying;
        if (orphaned && !stays) {
            // Nothing the installer holds was removed: its files are no leftovers of ours.
            observer.skipped(SDELETION_STEP, TReason(TSKIP::SUITEORPHANED, suite.SPRODUCTCODE));
            return TSuiteOutcome::NotRegistered;
        }
        if (orphaned) {
            // The next entry named as the suite is tried.
            std::string displayName;
            const std::string next = PRODUCTCODEOF(SUITEUNINSTALLCOMMAND(suite.SVERSOOO, suite.view, &displayName));
            if (!next.empty() && !RUN.entriesRun.contains(TEntryId{suite.view, next}) &&
                CHERCHE_CLE_EXIST(SUNINSTALL_KEY + next, suite.view)) {
                suite.SPRODUCTCODE = next;
                suite.displayName = displayName;
                observer.found("product code", next);
                continue;
            }
        }
        if (stays) {
            target.exitCode = INSTALLEREXITCODE(*code);
            RUN.failures.push_back(target);
            observer.skipped(SDELETION_STEP, TReason(TSKIP::SUITESTAYS, {}, static_cast<uint32_t>(RUN.failures.back().exitCode)));
            return TSuiteOutcome::StillRegistered;
        }
        // 3010 with the entry gone is a removal a restart completes.
        if (ISRESTARTCODE(*code)) RUN.restartPending = true;
        break;
    }

    DELETELEFTOVERS(suite, staying);
    return TSuiteOutcome::Removed;
}

void REMOVEORPHANPACKS(TRemovalRun& RUN) {
    for (;;) {
        if (!RUN.staying) RUN.staying = REGISTEREDFAMILY();
        const std::vector<TRegisteredEntry>& registered = *RUN.staying;
        const auto orphan = std::find_if(registered.begin(), registered.end(), [&](const TRegisteredEntry& r) {
            if (r.what.kind == TFamilyKind::Suite || RUN.entriesRun.contains(r.id()))
                return false;
            // While its suite stays, the pack is that suite's to keep.
            return std::none_of(registered.begin(), registered.end(),
                                [&](const TRegisteredEntry& s) { return ISSUITEOF(s, r.what.suite); });
        });
        if (orphan == registered.end()) return;
        const TRegisteredEntry pack = *orphan;  // its uninstaller makes the list read again
        RUN.entriesRun.insert(pack.id());
        const char* what = PARTNAME(pack.what.kind);
        REMOVALOBSERVER().found(what, pack.displayName + " (" + pack.name + "), of no installed suite");
        const std::string command = UNINSTALLVALUE(pack.view, pack.name, "UninstallString");
        if (!removePack(std::string(what) + " " + pack.displayName, pack.id(), command, RUN)) return;
    }
}

TOutcome RUNOUTCOME(const TRemovalRun& RUN) {
    return DECIDEOUTCOME(RUN, RUN.staying ? *RUN.staying : REGISTEREDFAMILY(), PERUSERINSTALLS());
}

}  // namespace korvalend
