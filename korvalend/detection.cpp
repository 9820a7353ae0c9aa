#include "korvalend/detection.h"

#include "fonction/progid.h"
#include "fonction/strings.h"
#include "korvalend/observer.h"
#include "platform/registry.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
bool TESTLIBREOFFICE(const std::string& SLIBO) {
    platform::TRegistry REG(platform::kKeyRead);
    REG.SETROOTKEY(platform::hkeyClassesRoot());
    if (!REG.OPENKEYREADONLY(SAPPID_KEY)) return false;
    const std::string SVALPARDEFAUT = REG.READSTRING("");
    const bool found = fonction::STARTSWITHASCIICASELESS(SVALPARDEFAUT, SLIBO);
    if (found) REMOVALOBSERVER().found("AppID", SVALPARDEFAUT);  // the tests stop at the first that matches
    return found;
}

bool ISLIBREOFFICEINSTALL() {
    if (!fonction::PROGIDEXISTS(SPROGID_SERVICEMANAGER)) {
        REMOVALOBSERVER().skipped("detection", TSKIP::NOPROGID);
        return false;
    }
    if (TESTLIBREOFFICE("LibreOffice") || TESTLIBREOFFICE("Collabora") || TESTLIBREOFFICE("ZetaOffice")) return true;
    REMOVALOBSERVER().skipped("detection", TSKIP::APPIDNOTFAMILY);
    return false;
}

}  // namespace korvalend
