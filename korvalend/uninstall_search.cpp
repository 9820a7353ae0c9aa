#include "korvalend/uninstall_search.h"

#include <algorithm>

#include "fonction/launch.h"
#include "korvalend/installer.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

std::string withoutQuotes(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '"'), s.end());
    return s;
}

}  // namespace

std::string TUninstallEntry::valueText(const std::string& valueName) const {
    return key->VALUEEXISTS(valueName) ? withoutQuotes(key->READSTRING(valueName)) : std::string();
}

bool TUninstallEntry::orphan() const {
    const std::string code =
        INSTALLERPRODUCTCODE(name, valueText("UninstallString"), key->READDWORD("WindowsInstaller") == 1u);
    return !code.empty() && PRODUCTSTATE(code) == TProductState::Orphan;
}

bool TUninstallEntry::orphanTold() const {
    try {
        if (!orphan()) return false;
    } catch (const platform::ERegistryException&) {
        return false;
    }
    TELLORPHAN(view, name, text);
    return true;
}

bool DISPLAYBEGINSWITH(const std::string& TEXT, const std::string& PREFIX) {
    return TEXT.size() >= PREFIX.size() &&
           platform::charUpperBuffA(TEXT.substr(0, PREFIX.size())) == platform::charUpperBuffA(PREFIX);
}

namespace {

// One view's walk; true when VISIT ended it.
bool walkView(const std::string& SKEY, const UninstallWanted& WANTED, const UninstallVisit& VISIT, TRegistryView VIEW) {
    platform::TStrings SOUS_CLES;
    platform::TStrings VALEUR_CLES;
    platform::TRegistry reg(VIEWACCESS(VIEW, platform::kKeyRead));
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    if (!reg.OPENKEYREADONLY(SUNINST_PATH)) return false;
    reg.GETKEYNAMES(SOUS_CLES);
    // Each entry is opened below the listed key itself: an absolute path from
    // its own root, whichever entry is current, and no redirection of the
    // view to resolve again at each open.
    platform::TRegistry entries(VIEWACCESS(VIEW, platform::kKeyRead));
    entries.SETROOTKEY(reg.currentKey());

    for (const std::string& entry : SOUS_CLES) {
        if (!entries.OPENKEYREADONLY("\\" + entry)) continue;
        TUninstallEntry e{entry, {}, nullptr, &entries, VIEW};
        try {
            e.text = entries.READSTRING(SKEY);
        } catch (const platform::ERegistryException&) {
            e.error = std::current_exception();
        }
        // Only a value named SKEY exactly, letter case included, takes part.
        // The registry finds values without regard to case, so the text is
        // read first and the names are listed only to confirm a candidate the
        // walk wants: most entries then cost one read, and the outcome is the
        // same.
        bool candidate = e.error != nullptr || WANTED(e.text);
        if (candidate) {
            entries.GETVALUENAMES(VALEUR_CLES);
            candidate = std::find(VALEUR_CLES.begin(), VALEUR_CLES.end(), SKEY) != VALEUR_CLES.end();
        }
        const bool stop = candidate && VISIT(e);
        entries.CLOSEKEY();
        if (stop) return true;
    }
    return false;
}

}  // namespace

void WALKUNINSTALLENTRIES(const std::string& SKEY, const UninstallWanted& WANTED, const UninstallVisit& VISIT,
                          TRegistryView VIEW) {
    (void)walkView(SKEY, WANTED, VISIT, VIEW);
}

void WALKUNINSTALLVIEWS(const std::string& SKEY, const UninstallWanted& WANTED, const UninstallVisit& VISIT) {
    for (const TRegistryView view : kRegistryViews)
        if (walkView(SKEY, WANTED, VISIT, view)) return;
}

std::string UNINSTALLVALUE(TRegistryView VIEW, const std::string& ENTRY, const std::string& VALUENAME) {
    platform::TRegistry reg(VIEWACCESS(VIEW, platform::kKeyRead));
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    if (!reg.OPENKEYREADONLY(SUNINST_PATH + "\\" + ENTRY)) return {};
    return TUninstallEntry{ENTRY, {}, nullptr, &reg, VIEW}.valueText(VALUENAME);
}

std::string searchUninstallEntries(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2,
                                   UninstallAnswer answer) {
    std::string result;
    const auto wanted = [&](const std::string& text) { return DISPLAYBEGINSWITH(text, SCHAINE); };
    WALKUNINSTALLENTRIES(SKEY, wanted, [&](const TUninstallEntry& e) {
        if (e.error) std::rethrow_exception(e.error);
        if (answer == UninstallAnswer::ValueText) result = e.valueText(SKEY2);
        else if (e.key->VALUEEXISTS(SKEY2)) result = e.name;  // value names are case-insensitive here
        return true;
    });
    return result;
}

std::string RECH_PROG(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2) {
    return searchUninstallEntries(SCHAINE, SKEY, SKEY2, UninstallAnswer::ValueText);
}

std::string RECUP_CLE(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2) {
    return searchUninstallEntries(SCHAINE, SKEY, SKEY2, UninstallAnswer::EntryName);
}

bool RECH_APPLICATION(const std::string& SNOM_APP) {
    const std::string SVERSION = RECH_PROG(SNOM_APP, "DisplayName", "DisplayName");
    return !SVERSION.empty();
}

bool SUPP_APPLICATION(const std::string& SNOM_APP, const std::string& SPARAM) {
    const std::string SCHEMIN = RECH_PROG(SNOM_APP, "DisplayName", "UninstallString");
    if (SCHEMIN.empty()) return true;  // nothing to run
    // The command is not split: the whole text is the program, SPARAM its arguments.
    return fonction::SHELLEXECANDWAIT(SCHEMIN, SPARAM, "", platform::kSwShowNormal, "");
}

}  // namespace korvalend
