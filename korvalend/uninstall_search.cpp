#include "korvalend/uninstall_search.h"

#include <algorithm>

#include "fonction/launch.h"
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

void WALKUNINSTALLENTRIES(const std::string& SKEY, const std::vector<std::string>& PREFIXES,
                          const UninstallVisit& VISIT) {
    platform::TStrings SOUS_CLES;
    platform::TStrings VALEUR_CLES;
    platform::TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    if (!reg.OPENKEYREADONLY(SUNINST_PATH)) return;
    reg.GETKEYNAMES(SOUS_CLES);
    // The ANSI upper-casing folds letters outside ASCII too.
    std::vector<std::string> upperPrefixes;
    for (const std::string& prefix : PREFIXES) upperPrefixes.push_back(platform::charUpperBuffA(prefix));

    for (const std::string& entry : SOUS_CLES) {
        // Absolute, so it does not matter which key is current.
        if (!reg.OPENKEYREADONLY(SUNINST_PATH + "\\" + entry)) continue;
        TUninstallEntry e{entry, {}, nullptr, &reg};
        try {
            e.text = reg.READSTRING(SKEY);
        } catch (const platform::ERegistryException&) {
            e.error = std::current_exception();
        }
        bool candidate = e.error != nullptr;
        if (!candidate) {
            const std::string upper = platform::charUpperBuffA(e.text);
            for (const std::string& prefix : upperPrefixes) candidate = candidate || upper.starts_with(prefix);
        }
        // Only a value named SKEY exactly, letter case included, takes part.
        // The registry finds values without regard to case, so the text is
        // read first and the names are listed only to confirm a candidate:
        // most entries then cost one read, and the outcome is the same.
        if (candidate) {
            reg.GETVALUENAMES(VALEUR_CLES);
            candidate = std::find(VALEUR_CLES.begin(), VALEUR_CLES.end(), SKEY) != VALEUR_CLES.end();
        }
        const bool stop = candidate && VISIT(e);
        reg.CLOSEKEY();
        if (stop) return;
    }
}

std::string searchUninstallEntries(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2,
                                   UninstallAnswer answer) {
    std::string result;
    WALKUNINSTALLENTRIES(SKEY, {SCHAINE}, [&](const TUninstallEntry& e) {
        if (e.error) std::rethrow_exception(e.error);
        if (e.key->VALUEEXISTS(SKEY2))  // value names are case-insensitive here
            result = answer == UninstallAnswer::ValueText ? e.valueText(SKEY2) : e.name;
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
