#include "korvalend/vendor_lookup.h"

#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {

void WALKVERSIONVALUES(const std::string& SPATH_OOO, const std::string& SCHAINE, const std::string& SCLE,
                       const std::function<void(const std::string& version, const std::string& value)>& VISIT,
                       TRegistryView VIEW) {
    // KEY_ALL_ACCESS, but every open below is read-only.
    platform::TRegistry REG(VIEWACCESS(VIEW, platform::kKeyAllAccess));
    REG.SETROOTKEY(platform::hkeyLocalMachine());
    if (!REG.OPENKEYREADONLY(SPATH_OOO)) return;
    platform::TStrings KEYS;
    REG.GETKEYNAMES(KEYS);
    REG.CLOSEKEY();
    for (const std::string& version : KEYS) {
        // SPATH_OOO brings its own separator.
        if (!REG.OPENKEYREADONLY(SPATH_OOO + version)) continue;
        platform::TStrings KEYS2;
        REG.GETKEYNAMES(KEYS2);
        REG.CLOSEKEY();
        for (const std::string& sub : KEYS2) {
            if (sub != SCLE) continue;  // exact, letter case included
            if (REG.OPENKEYREADONLY(SPATH_OOO + version + "\\" + sub)) {
                const std::string value = REG.VALUEEXISTS(SCHAINE) ? REG.READSTRING(SCHAINE) : std::string();
                REG.CLOSEKEY();
                VISIT(version, value);
            }
        }
    }
}

std::string CHERCHE_LIBREOFFICE(const std::string& SPATH_OOO, const std::string& SCHAINE, const std::string& SCLE) {
    std::string result;
    WALKVERSIONVALUES(SPATH_OOO, SCHAINE, SCLE, [&](const std::string&, const std::string& value) { result = value; });
    return result;
}

bool CHERCHE_CLE_EXIST(const std::string& SCLE, TRegistryView VIEW) {
    platform::TRegistry reg(VIEWACCESS(VIEW, platform::kKeyAllAccess));
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    return reg.KEYEXISTS(SCLE);
}

}  // namespace korvalend
