#include "korvalend/removal.h"

#include <exception>
#include <optional>
#include <set>

#include "fonction/folders.h"
#include "fonction/launch.h"
#include "fonction/strings.h"
#include "korvalend/globals.h"
#include "korvalend/leftovers.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "korvalend/process_lookup.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tregistry.h"

namespace korvalend {
namespace {

const std::string SDELETION_STEP = "deletion of what the uninstallation left";
const std::string SINSTALLER_WAIT_STEP = "the wait for a busy Windows Installer";

// What one removal keeps from one step to the next.
struct TRemovalRun {
    uint64_t installerWaitBudgetMs = kInstallerWaitBudgetMs;
    std::set<std::string> entriesRun;        // Uninstall entries already dealt with
    std::set<std::string> extensionCommands;  // upper-cased: one run per command
};

// What goes before the suite, in this order: the LibreOffice extensions, the
// Collabora ones, the French help pack, the other help packs, the language
// packs; within each, in listing order.
enum class TPart { LibreOfficeExtension, CollaboraExtension, FrenchHelpPack, HelpPack, LanguagePack };

struct TPartEntry {
    TPart part;
    std::string entry;
    std::string displayName;
    std::string command;
    std::exception_ptr commandError;  // raised when this entry's turn comes, as reading it always did
};

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
        default:
            return std::nullopt;
    }
}

// The next entry to remove before the suite, from the Uninstall key as it is
// now; none when all are dealt with. An uninstaller changes the key, so each
// call reads it afresh; entries already run are passed over, so one that fails
// or leaves its entry cannot make the removal loop. An unrelated entry whose
// DisplayName is not text is passed over too.
std::optional<TPartEntry> nextPart(const std::string& SVERSOOO, const TRemovalRun& run) {
    std::optional<TPartEntry> next;
    const auto isPart = [&](const std::string& text) { return partOf(text, SVERSOOO).has_value(); };
    WALKUNINSTALLENTRIES("DisplayName", isPart, [&](const TUninstallEntry& e) {
        if (e.error || run.entriesRun.contains(e.name)) return false;
        const TPart part = *partOf(e.text, SVERSOOO);
        if (next && next->part <= part) return false;
        next = TPartEntry{part, e.name, e.text, {}, nullptr};
        try {
            next->command = e.valueText("UninstallString");
        } catch (const platform::ERegistryException&) {
            next->commandError = std::current_exception();
        }
        return part == TPart::LibreOfficeExtension;  // nothing goes before it
    });
    return next;
}

std::optional<uint32_t> launchAndWait(const std::string& file, const std::string& parameters) {
    return fonction::SHELLEXECANDWAITCODE(file, parameters, "", platform::kSwShowNormal, "");
}

// Msiexec.exe refuses with 1618 (or, with /passive, may show a box nobody
// answers) while another installation runs: wait until nobody owns the
// installer's mutex, within what is left of the run's budget.
void waitForIdleInstaller(TRemovalRun& run) {
    auto& observer = REMOVALOBSERVER();
    observer.waits("a busy Windows Installer (Global\\_MSIExecute)");
    switch (fonction::WAITFORFREEMUTEX(SINSTALLER_MUTEX, run.installerWaitBudgetMs)) {
        case fonction::TMutexWait::OutOfTime:
            observer.skipped(SINSTALLER_WAIT_STEP, "the run has waited 10 minutes in all; Msiexec.exe runs anyway");
            break;
        case fonction::TMutexWait::Unknown:
            observer.skipped(SINSTALLER_WAIT_STEP, "Global\\_MSIExecute cannot be opened or waited on");
            break;
        default:
            break;
    }
}

// The installer's exit code; none when it could not be started.
std::optional<uint32_t> runInstaller(const std::string& parameters, TRemovalRun& run) {
    const std::string system = fonction::GETWINDOWSSYSTEMFOLDER();
    // "\Msiexec.exe" would be whatever lies at the root of the current drive.
    if (system.empty()) return std::nullopt;
    waitForIdleInstaller(run);
    return launchAndWait(inFolder(system, SINSTALLER), parameters);
}

void removeExtension(const TPartEntry& part, TRemovalRun& run) {
    const std::string step = "extension " + part.displayName;
    if (part.command.empty()) {
        REMOVALOBSERVER().skipped(step, "it has no uninstall command");
        return;
    }
    // Two entries may record the same uninstaller.
    if (!run.extensionCommands.insert(fonction::STRUPPER(part.command)).second) {
        REMOVALOBSERVER().skipped(step, "its uninstall command has already run");
        return;
    }
    // The command is not split: the whole text is the program.
    if (!launchAndWait(part.command, " /verysilent"))
        REMOVALOBSERVER().skipped(step, "its uninstall command could not be started");
}

// Extensions, help packs and language packs; their outcome is not examined.
void removeParts(const std::string& SVERSOOO, TRemovalRun& run) {
    while (const std::optional<TPartEntry> next = nextPart(SVERSOOO, run)) {
        const TPartEntry& part = *next;
        run.entriesRun.insert(part.entry);
        if (part.commandError) std::rethrow_exception(part.commandError);
        const bool extension = part.part == TPart::LibreOfficeExtension || part.part == TPart::CollaboraExtension;
        const char* what = extension ? "extension" : part.part == TPart::LanguagePack ? "language pack" : "help pack";
        REMOVALOBSERVER().found(what, part.displayName + " (" + part.entry + ")");
        if (extension)
            removeExtension(part, run);
        else if (!runInstaller(HELPPACKPARAMETERS(part.command, part.entry), run))
            REMOVALOBSERVER().skipped(std::string(what) + " " + part.displayName, "Msiexec.exe could not be started");
    }
}

// The suite's entry, or an entry that is the suite by its name, is still
// registered. Unrelated entries whose DisplayName is not text are passed over.
bool suiteStillRegistered(const std::string& SPATH_CLE, const std::string& SVERSOOO) {
    if (CHERCHE_CLE_EXIST(SPATH_CLE)) return true;
    const auto isSuite = [&](const std::string& text) {
        const TSuiteEntry kind = SUITEENTRYKIND(text, SVERSOOO);
        return kind == TSuiteEntry::Suite || kind == TSuiteEntry::SuiteOtherwise;
    };
    bool found = false;
    WALKUNINSTALLENTRIES("DisplayName", isSuite, [&](const TUninstallEntry& e) {
        found = e.error == nullptr;  // an unrelated broken entry is passed over
        return found;
    });
    return found;
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

int SUPP_LIBREOFFICE(const std::string& SCHEMOPEN, const std::string& SVERSOOO, const std::string& SPRODUCTCODE) {
    auto& observer = REMOVALOBSERVER();
    const std::string SPATH_CLE = SUNINSTALL_KEY + SPRODUCTCODE;
    if (!CHERCHE_CLE_EXIST(SPATH_CLE)) {
        observer.skipped("removal", "the suite's Uninstall entry " + SPRODUCTCODE + " is missing");
        return 0;
    }

    (void)CLOSESUITEPROCESSES(SCHEMOPEN);

    TRemovalRun run;
    removeParts(SVERSOOO, run);

    const std::optional<uint32_t> code = runInstaller(SPARAM + " /x" + SPRODUCTCODE, run);
    if (!code) {
        observer.skipped(SDELETION_STEP, "the suite's uninstaller could not be started (exit code 1603)");
        return kExitInstallFailure;
    }
    // Whatever the installer answered, the registration decides: 3010 with
    // the entry gone is a removal a restart completes.
    if (suiteStillRegistered(SPATH_CLE, SVERSOOO)) {
        // The 32 bits of a Windows exit code, codes above 0x7FFFFFFF included.
        const int exitCode = *code != 0 ? static_cast<int>(*code) : kExitInstallFailure;
        observer.skipped(SDELETION_STEP, "the suite is still registered after its uninstaller (exit code " +
                                             std::to_string(static_cast<uint32_t>(exitCode)) + ")");
        return exitCode;
    }

    DELETELEFTOVERS(SCHEMOPEN, SVERSOOO);
    return 0;
}

}  // namespace korvalend
