#include "korvalend/resolution.h"

#include "fonction/strings.h"
#include "korvalend/globals.h"
#include "korvalend/ini.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {

std::string FINDINSTALLLOCATION() {
    platform::TRegistry REG(platform::kKeyRead);
    REG.SETROOTKEY(platform::hkeyLocalMachine());
    for (const std::string& vendorKey : SVENDOR_KEYS) {
        if (!REG.KEYEXISTS(vendorKey)) continue;
        return platform::charLowerBuffA(CHERCHE_LIBREOFFICE(vendorKey, SINSTALLLOCATION, SCLE_UPGRADE_CODE));
    }
    return {};
}

std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO) {
    // The suite's entry carries the product key and at most the rest of its
    // version ("LibreOffice 7.6" -> "LibreOffice 7.6.4.1"); its help packs and
    // other siblings add words after it, and any of them may be listed first.
    const UninstallSkip addsWords = [&](const std::string&, const std::string& displayName) {
        return displayName.find_first_not_of("0123456789.", SVERSOOO.size()) != std::string::npos;
    };
    std::string command =
        searchUninstallEntries(SVERSOOO, "DisplayName", "UninstallString", UninstallAnswer::ValueText, addsWords);
    if (!command.empty()) return command;
    // A suite named otherwise: the first entry that is not a help pack.
    const std::string helpPackPrefix = fonction::STRUPPER(SVERSOOO + " Help Pack");
    const UninstallSkip isHelpPack = [&](const std::string&, const std::string& displayName) {
        return fonction::STRUPPER(displayName.substr(0, helpPackPrefix.size())) == helpPackPrefix;
    };
    return searchUninstallEntries(SVERSOOO, "DisplayName", "UninstallString", UninstallAnswer::ValueText,
                                  isHelpPack);
}

void RESOLVESUITEFACTS() {
    SCHEMOPEN.clear();
    SVERSOOO.clear();
    SPRODUCTCODE.clear();
    SCHEMOPEN = FINDINSTALLLOCATION();
    if (SCHEMOPEN.empty()) return;
    // Plain concatenation: the recorded location ends with a backslash.
    SVERSOOO = INIREADSTRING(SCHEMOPEN + SBOOTSTRAP_INI, "Bootstrap", "ProductKey", "");
    SPRODUCTCODE = fonction::STRAFTER(SPRODUCTCODE_MARKER, SUITEUNINSTALLCOMMAND(SVERSOOO));
}

}  // namespace korvalend
