#include "korvalend/program.h"
#include "preview/output.h"
#include "preview/report.h"

namespace korvalend {
namespace {

const char* const kUsage =
    "Usage: korvalend-plan.exe [/quiet] [--json] [--system]\r\n"
    "Shows what korvalend.exe would do on this machine, without doing it.\r\n"
    "  /quiet   the plan of \"korvalend.exe /quiet\" (installers run with /quiet /norestart)\r\n"
    "  --json   one JSON document instead of text\r\n"
    "  --system the plan of korvalend.exe run as SYSTEM, as deployment tools run it:\r\n"
    "           that account's Startup and profile folders (readable elevated only)\r\n";

}  // namespace

TPlanOptions PARSEPLANOPTIONS(const std::vector<std::string>& args) {
    TPlanOptions options;
    for (const std::string& arg : args) {
        if (arg == "/quiet") options.quiet = true;
        else if (arg == "--json") options.json = true;
        else if (arg == "--system") options.system = true;
        else if (arg == "/?" || arg == "-h" || arg == "--help") options.help = true;
        else if (options.unknown.empty()) options.unknown = arg.empty() ? "\"\"" : arg;
    }
    return options;
}

int RUNPLANPROCESS(const std::vector<std::string>& args) {
    const TPlanOptions options = PARSEPLANOPTIONS(args);
    if (!options.unknown.empty()) {
        WRITEPLANOUTPUT(platform::StdStream::Error, "Unknown option: " + options.unknown + "\r\n" + kUsage);
        return kExitBadOption;
    }
    if (options.help) {
        WRITEPLANOUTPUT(platform::StdStream::Output, kUsage);
        return kExitOk;
    }
    const TPlanReport report =
        PLANREMOVAL(options.quiet ? std::vector<std::string>{"/quiet"} : std::vector<std::string>{}, nullptr,
                    options.system);
    WRITEPLANOUTPUT(platform::StdStream::Output, options.json ? FORMATPLANJSON(report) : FORMATPLANTEXT(report));
    if (report.error.empty()) return kExitOk;
    WRITEPLANOUTPUT(platform::StdStream::Error, report.error + "\r\n");
    return kExitUncaughtError;
}

}  // namespace korvalend
