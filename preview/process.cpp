#include "korvalend/program.h"
#include "korvalend/record.h"
#include "preview/output.h"
#include "preview/report.h"

namespace korvalend {
namespace {

const char* const kUsage =
    "Usage: korvalend-plan.exe [/quiet] [/log | /log=FOLDER] [--json] [--system]\r\n"
    "       korvalend-plan.exe --check [/quiet] [--system]\r\n"
    "Shows what korvalend.exe would do on this machine, without doing it.\r\n"
    "  /quiet   the plan of \"korvalend.exe /quiet\" (installers run with /quiet /norestart)\r\n"
    "  /log, /log=FOLDER\r\n"
    "           the plan of a run with its record: whether the folder would be accepted,\r\n"
    "           and the installer's own log on each Msiexec.exe line (nothing is written)\r\n"
    "  --json   one JSON document instead of text\r\n"
    "  --system the plan of korvalend.exe run as SYSTEM, as deployment tools run it:\r\n"
    "           that account's Startup and profile folders (readable elevated only)\r\n"
    "  --check  one line: what of the family is installed and what korvalend.exe would do;\r\n"
    "           exit code 0 when nothing is installed, 1 when something is, 217 when the\r\n"
    "           machine cannot be read\r\n";

}  // namespace

TPlanOptions PARSEPLANOPTIONS(const std::vector<std::string>& args) {
    TPlanOptions options;
    for (const std::string& arg : args) {
        if (arg == "/quiet") options.quiet = true;
        else if (ISLOGOPTION(arg)) options.log = options.log.empty() ? arg : options.log;  // the first, as the run
        else if (arg == "--json") options.json = true;
        else if (arg == "--system") options.system = true;
        else if (arg == "--check") options.check = true;
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
    // One line is all a detection script keeps: a plan in JSON is no answer to it.
    if (options.check && options.json) {
        WRITEPLANOUTPUT(platform::StdStream::Error, "Unknown option: --json with --check\r\n" + std::string(kUsage));
        return kExitBadOption;
    }
    if (options.help) {
        WRITEPLANOUTPUT(platform::StdStream::Output, kUsage);
        return kExitOk;
    }
    std::vector<std::string> runArgs = options.quiet ? std::vector<std::string>{"/quiet"} : std::vector<std::string>{};
    if (options.check) {
        const TCheck check = CHECKMACHINE(runArgs, options.system);
        WRITEPLANOUTPUT(platform::StdStream::Output, check.line + "\r\n");
        return check.exitCode;
    }
    // The check tells what is installed, whatever the run would record.
    if (!options.log.empty()) runArgs.push_back(options.log);
    const TPlanReport report = PLANREMOVAL(runArgs, nullptr, options.system);
    WRITEPLANOUTPUT(platform::StdStream::Output, options.json ? FORMATPLANJSON(report) : FORMATPLANTEXT(report));
    if (report.error.empty()) return kExitOk;
    WRITEPLANOUTPUT(platform::StdStream::Error, report.error + "\r\n");
    return kExitUncaughtError;
}

}  // namespace korvalend
