#include "korvalend/program.h"

#include <exception>

#include "korvalend/console_probe.h"
#include "korvalend/detection.h"
#include "korvalend/globals.h"
#include "korvalend/removal.h"
#include "korvalend/resolution.h"
#include "korvalend/session.h"
#include "platform/exception.h"
#include "platform/ui.h"

namespace korvalend {

void SETPARAM(const std::vector<std::string>& args) {
    SPARAM = SPARAM_PASSIVE;
    if (!args.empty() && args.front() == "/quiet") SPARAM = SPARAM_QUIET;
}

int RUN(const std::vector<std::string>& args) {
    (void)GETCONSOLEHWND();
    SETPARAM(args);
    if (!ISLIBREOFFICEINSTALL()) return kExitOk;
    RESOLVESUITEFACTS();
    if (SCHEMOPEN.empty() || SVERSOOO.empty() || SPRODUCTCODE.empty()) return kExitOk;
    return SUPP_LIBREOFFICE(SCHEMOPEN, SVERSOOO, SPRODUCTCODE);
}

std::string CURRENTERRORREPORT() {
    try {
        throw;
    } catch (const platform::Exception& e) {
        return std::string(e.className()) + ": " + e.message();
    } catch (const std::exception& e) {
        return std::string("Exception: ") + e.what();
    } catch (...) {
        return "Exception: unknown error";
    }
}

int RUNPROCESS(const std::vector<std::string>& args) {
    std::string report;
    try {
        return RUN(args);
    } catch (...) {
        report = CURRENTERRORREPORT();
    }
    try {
        if (SOMEONECANSEEABOX())
            platform::messageBoxA(report, "Error", platform::kMbOk | platform::kMbIconError | platform::kMbTaskModal);
    } catch (...) {
    }
    return kExitUncaughtError;
}

}  // namespace korvalend
