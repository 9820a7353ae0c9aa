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

void RUN(const std::vector<std::string>& args) {
    (void)GETCONSOLEHWND();
    SETPARAM(args);
    if (!ISLIBREOFFICEINSTALL()) return;
    RESOLVESUITEFACTS();
    if (!SCHEMOPEN.empty() && !SVERSOOO.empty() && !SPRODUCTCODE.empty())
        SUPP_LIBREOFFICE(SCHEMOPEN, SVERSOOO, SPRODUCTCODE);
}

int RUNPROCESS(const std::vector<std::string>& args) {
    std::string report;
    try {
        RUN(args);
        return kExitOk;
    } catch (const platform::Exception& e) {
        report = std::string(e.className()) + ": " + e.message();
    } catch (const std::exception& e) {
        report = std::string("Exception: ") + e.what();
    } catch (...) {
        report = "Exception: unknown error";
    }
    try {
        if (SOMEONECANSEEABOX())
            platform::messageBoxA(report, "Error", platform::kMbOk | platform::kMbIconError | platform::kMbTaskModal);
    } catch (...) {
    }
    return kExitUncaughtError;
}

}  // namespace korvalend
