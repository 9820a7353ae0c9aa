#include "korvalend/removal.h"

#include "fonction/folders.h"
#include "fonction/launch.h"
#include "fonction/processes.h"
#include "fonction/strings.h"
#include "korvalend/globals.h"
#include "korvalend/leftovers.h"
#include "korvalend/paths.h"
#include "korvalend/process_lookup.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/shell.h"

namespace korvalend {
namespace {

bool runInstaller(const std::string& parameters) {
    const std::string system = fonction::GETWINDOWSSYSTEMFOLDER();
    // "\Msiexec.exe" would be whatever lies at the root of the current drive.
    if (system.empty()) return false;
    const std::string installer = inFolder(system, SINSTALLER);
    return fonction::SHELLEXECANDWAIT(installer, parameters, "", platform::kSwShowNormal, "");
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
    if (SUNINST_HELP.empty()) return SPARAM + " /x" + SKEYNAME;
    const std::string arguments = fonction::STRAFTER(" ", SUNINST_HELP);
    // A package that cannot be modified records "MsiExec.exe /X{code}": left
    // as it is, the installer would ask for a confirmation nobody can give.
    if (fonction::STRIPOS("/i", arguments) == 0) return STRREPLACEALLCASELESS(arguments, "/x", SPARAM + " /x");
    return STRREPLACEALLCASELESS(arguments, "/i", SPARAM + " /x");
}

void SUPP_LIBREOFFICE(const std::string& SCHEMOPEN, const std::string& SVERSOOO, const std::string& SPRODUCTCODE) {
    const std::string SPATH_CLE = SUNINSTALL_KEY + SPRODUCTCODE;
    if (!CHERCHE_CLE_EXIST(SPATH_CLE)) return;

    if (PROCESSEXISTS("soffice.bin")) (void)fonction::CLOSEPROCCESSUS("soffice.bin");

    if (RECH_APPLICATION("LibreOffice Extension")) (void)SUPP_APPLICATION("LibreOffice Extension", " /verysilent");
    if (RECH_APPLICATION("Collabora Extension")) (void)SUPP_APPLICATION("Collabora Extension", " /verysilent");

    const std::string H = SVERSOOO + SHELP_PACK_SUFFIX;
    if (RECH_APPLICATION(H)) {
        const std::string SUNINST_HELP = RECH_PROG(H, "DisplayName", "UninstallString");
        const std::string key = SUNINST_HELP.empty() ? RECUP_CLE(H, "DisplayName", "DisplayName") : std::string();
        (void)runInstaller(HELPPACKPARAMETERS(SUNINST_HELP, key));
    }

    if (!runInstaller(SPARAM + " /x" + SPRODUCTCODE)) return;
    if (CHERCHE_CLE_EXIST(SPATH_CLE)) return;  // still registered: the uninstallation did not complete

    DELETELEFTOVERS(SCHEMOPEN, SVERSOOO);
}

}  // namespace korvalend
