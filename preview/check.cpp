// The compliance check: what of the family is installed, and what
// korvalend.exe would do with it, in one line. It reads what the plan reads
// and performs nothing.
#include <algorithm>
#include <exception>

#include "fonction/strings.h"
#include "korvalend/family.h"
#include "korvalend/detection.h"
#include "korvalend/installer.h"
#include "korvalend/program.h"
#include "korvalend/registered.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "platform/registry.h"
#include "platform/tregistry.h"
#include "platform/text.h"
#include "platform/wintypes.h"
#include "preview/report.h"

namespace korvalend {
namespace {

// A key the run reads and may not: the Uninstall key or a vendor key, in
// either view. An answer of "nothing installed" could then be wrong, so the
// check says what it cannot read instead. "" when every one can be read or
// is absent.
std::string unreadableKey() {
    std::vector<std::string> keys = {SUNINST_PATH};
    keys.insert(keys.end(), SVENDOR_KEYS.begin(), SVENDOR_KEYS.end());
    for (const TRegistryView view : kRegistryViews) {
        for (const std::string& path : keys) {
            platform::TRegistry reg(VIEWACCESS(view, platform::kKeyRead));
            reg.SETROOTKEY(platform::hkeyLocalMachine());
            int32_t rc = platform::kErrorSuccess;
            if (reg.OPENKEYREADONLY(path, rc) || rc == platform::kErrorFileNotFound || rc == platform::kErrorPathNotFound)
                continue;
            std::string shown = path.substr(path.front() == '\\' ? 1 : 0);
            if (shown.back() == '\\') shown.pop_back();
            return "HKLM\\" + shown + " (" + VIEWNAME(view) + " view): " + platform::systemErrorMessage(rc);
        }
    }
    return {};
}

// The plan uninstalls the entry (an uninstaller the run would start takes it).
bool uninstalls(const TPlanReport& plan, const TEntryId& entry) {
    return std::find(plan.uninstalled.begin(), plan.uninstalled.end(), entry) != plan.uninstalled.end();
}

std::string item(const std::string& what, const std::string& where, bool removed, const std::string& why = {}) {
    return what + where + ": korvalend.exe would " + (removed ? "remove it" : "leave it") +
           (removed || why.empty() ? "" : " (" + why + ")");
}

// A detection script reads one line: control characters (a CR, LF or TAB
// in a display name) are shown as blanks.
std::string oneLine(std::string line) {
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return line;
}

// At most MAX characters: what does not fit is cut and said so.
std::string fitted(std::string line, std::size_t max) {
    const std::string more = " (...)";
    if (line.size() <= max) return line;
    line.resize(max - more.size());
    // A double-byte character is not cut in two: the ANSI text is cut by
    // whole characters of the code page.
    while (!line.empty() && platform::wideToAnsi(platform::ansiToWide(line)) != line) line.pop_back();
    return line + more;
}

// The check's one line: control characters blanked, then cut to fit.
std::string checkLine(const std::string& text) { return fitted(oneLine(text), kCheckLineMax); }

}  // namespace

TCheck CHECKMACHINE(const std::vector<std::string>& args, bool asSystem) {
    TCheck check;
    const auto failed = [&check](const std::string& why) {
        check.exitCode = kExitUncaughtError;
        check.line = checkLine("korvalend-plan --check: " + why);
        return check;
    };
    if (const std::string key = unreadableKey(); !key.empty()) return failed("cannot read " + key);
    std::vector<TRegisteredEntry> registered;
    std::vector<TRegisteredEntry> orphans;
    std::vector<TPerUserInstall> perUser;
    bool detected = false;
    try {
        const platform::plan::Recorder machineAsItIs;  // nothing recorded yet hides anything
        const TInstallerRun installer;
        registered = REGISTEREDFAMILY({}, &orphans);
        perUser = PERUSERINSTALLS();
        detected = ISLIBREOFFICEINSTALL();
    } catch (...) {
        return failed(CURRENTERRORREPORT());
    }
    // The run would end at once, as the check answers; the machines a
    // deployment has made compliant are the ones checked most often.
    std::string orphaned;
    for (const TRegisteredEntry& o : orphans) orphaned += (orphaned.empty() ? "" : ", ") + o.displayName;
    const std::string nothing =
        orphaned.empty() ? "Nothing of the family is installed" : "Nothing of the family is installed (orphaned entries left: " + orphaned + ")";
    if (registered.empty() && perUser.empty() && !detected) {
        check.line = checkLine(nothing + ": korvalend.exe would do nothing, exit 0");
        return check;
    }
    const TPlanReport plan = PLANREMOVAL(args, nullptr, asSystem);
    if (!plan.error.empty()) return failed("the run would stop on an error: " + plan.error);

    std::vector<std::string> items;
    const bool anySuite = std::any_of(registered.begin(), registered.end(),
                                      [](const TRegisteredEntry& r) { return r.what.kind == TFamilyKind::Suite; });
    for (const TRegisteredEntry& r : registered) {
        // Packs are named only when no suite is: a suite's go with it.
        if (anySuite && r.what.kind != TFamilyKind::Suite) continue;
        const auto suite = std::find_if(plan.suites.begin(), plan.suites.end(), [&](const TSuiteFacts& s) {
            return TEntryId{s.view, s.SPRODUCTCODE} == r.id();
        });
        const std::string where = " (" + std::string(VIEWNAME(r.view)) + ")" +
                                  (suite != plan.suites.end() ? " in " + suite->SCHEMOPEN : std::string());
        // A suite the run leaves, with its own case.
        const auto stays = std::find_if(plan.outcome.staying.begin(), plan.outcome.staying.end(),
                                        [&](const TSuiteCase& c) { return c.names(r); });
        items.push_back(item(r.displayName, where, uninstalls(plan, r.id()),
                             stays != plan.outcome.staying.end() ? stays->words : std::string()));
    }
    for (const TPerUserInstall& install : perUser)
        items.push_back(item(install.displayName, " for the account " + install.sid, false));
    // A suite of no family name the run would still uninstall.
    for (const TSuiteFacts& s : plan.suites) {
        const TEntryId id{s.view, s.SPRODUCTCODE};
        const auto listed = std::any_of(registered.begin(), registered.end(),
                                        [&](const TRegisteredEntry& r) { return r.id() == id; });
        if (!listed) items.push_back(item(s.displayName, " (" + std::string(VIEWNAME(s.view)) + ") in " + s.SCHEMOPEN,
                                          uninstalls(plan, id)));
    }

    const std::string code = std::to_string(static_cast<uint32_t>(plan.exitCode));
    if (items.empty()) {
        check.line = checkLine(nothing + ": korvalend.exe would do nothing, exit " + code);
        return check;
    }
    std::string line;
    for (const std::string& i : items) line += (line.empty() ? "" : "; ") + i;
    line += plan.outcome.removed() ? ", exit " + code : ": exit " + code + ", " + plan.exitReason;
    check.exitCode = kExitCheckInstalled;
    check.line = checkLine(line);
    return check;
}

}  // namespace korvalend
