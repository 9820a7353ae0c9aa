#include "platform/sim/scripted.h"

#include "platform/sim/machine.h"

namespace sim::scripted {
namespace {

constexpr uint32_t kErrorUnknownProduct = 1605;
constexpr uint32_t kErrorInstallAlreadyRunning = 1618;
constexpr uint32_t kErrorInstallFailure = 1603;

// The text after the last "/x" (either case) up to the next blank.
std::string removalTarget(const std::string& parameters) {
    std::size_t at = std::string::npos;
    for (std::size_t i = 0; i + 1 < parameters.size(); ++i)
        if (parameters[i] == '/' && (parameters[i + 1] == 'x' || parameters[i + 1] == 'X')) at = i + 2;
    if (at == std::string::npos) return {};
    const std::size_t end = parameters.find(' ', at);
    return parameters.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

}  // namespace

void addWindowsInstaller(Machine& m, const InstallerOptions& options, const std::string& path) {
    Program p;
    p.runMs = options.runMs;
    p.body = [options](ProgramRun& run) -> uint32_t {
        if (run.machine.mutexes.owned(kInstallerMutex, run.machine.nowMs)) return kErrorInstallAlreadyRunning;
        const std::string target = removalTarget(run.parameters);
        for (const std::string& failing : options.failing)
            if (failing == target) return kErrorInstallFailure;
        // The product's entry goes from the view it is registered in.
        const bool removed = !target.empty() && !options.leaveEntry &&
                             (run.machine.registry.removeKey(Root::LocalMachine, kUninstallKey + "\\" + target) ||
                              run.machine.registry.removeKey(Root::LocalMachine, kUninstallKey32 + "\\" + target));
        return options.exitCode.value_or(removed ? 0 : kErrorUnknownProduct);
    };
    m.shell.addProgram(path, std::move(p));
}

void addExtensionUninstaller(Machine& m, const std::string& path, const std::string& entryName, uint64_t runMs) {
    Program p;
    p.runMs = runMs;
    p.body = [entryName](ProgramRun& run) -> uint32_t {
        if (run.parameters != " /verysilent") return 1;
        run.machine.registry.removeKey(Root::LocalMachine, kUninstallKey + "\\" + entryName);
        return 0;
    };
    m.shell.addProgram(path, std::move(p));
}

void addUninstallEntry(Machine& m, const std::string& entryName, const std::string& displayName,
                       const std::string& uninstallString, bool wow32) {
    const std::string key = (wow32 ? kUninstallKey32 : kUninstallKey) + "\\" + entryName;
    m.registry.setString(Root::LocalMachine, key, "DisplayName", displayName);
    if (!uninstallString.empty()) m.registry.setString(Root::LocalMachine, key, "UninstallString", uninstallString);
}

}  // namespace sim::scripted
