#include "korvalend/uninstall_search.h"

#include <algorithm>

#include "fonction/launch.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

// The display text begins with SCHAINE, compared after the ANSI upper-casing
// (which folds letters outside ASCII too). A shorter text never matches.
bool beginsWith(const std::string& text, const std::string& SCHAINE) {
    const std::string piece = text.substr(0, SCHAINE.size());
    return platform::charUpperBuffA(piece) == platform::charUpperBuffA(SCHAINE);
}

std::string withoutQuotes(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '"'), s.end());
    return s;
}

}  // namespace

std::string searchUninstallEntries(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2,
                                   UninstallAnswer answer, const UninstallSkip& skip) {
    platform::TStrings SOUS_CLES;
    platform::TStrings VALEUR_CLES;
    platform::TStrings LLIST2;
    platform::TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    if (!reg.OPENKEYREADONLY(SUNINST_PATH)) return {};
    reg.GETKEYNAMES(SOUS_CLES);

    for (const std::string& entry : SOUS_CLES) {
        // Absolute, so it does not matter which key is current.
        if (!reg.OPENKEYREADONLY(SUNINST_PATH + "\\" + entry)) continue;
        // Only a value named SKEY exactly, letter case included, takes part.
        // The registry finds values without regard to case, so the text is
        // read first and the names are listed only to confirm a candidate:
        // most entries then cost one read, and the outcome is the same.
        bool matched = false;
        std::string text;
        bool unreadable = false;
        try {
            text = reg.READSTRING(SKEY);
        } catch (const platform::ERegistryException&) {
            unreadable = true;  // raised again below only if the name is SKEY exactly
        }
        if (unreadable || beginsWith(text, SCHAINE)) {
            reg.GETVALUENAMES(VALEUR_CLES);
            const bool named = std::find(VALEUR_CLES.begin(), VALEUR_CLES.end(), SKEY) != VALEUR_CLES.end();
            if (named && unreadable) text = reg.READSTRING(SKEY);  // raises as the read of that value does
            matched = named && !(skip && skip(entry, text));
        }
        if (!matched) {
            reg.CLOSEKEY();
            continue;
        }
        reg.GETVALUENAMES(LLIST2);
        std::string result;
        if (reg.VALUEEXISTS(SKEY2))  // value names are case-insensitive here
            result = answer == UninstallAnswer::ValueText ? withoutQuotes(reg.READSTRING(SKEY2)) : entry;
        reg.CLOSEKEY();
        return result;
    }
    return {};
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
