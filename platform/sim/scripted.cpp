#include "platform/sim/scripted.h"

#include "platform/sim/machine.h"
#include "platform/wintypes.h"

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

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// The code's 32 hexadecimal digits in lower case: a name of the product's own.
std::string digitsOf(const std::string& code) {
    std::string out;
    for (char c : code)
        if (c != '{' && c != '}' && c != '-') out += static_cast<char>(c >= 'A' && c <= 'F' ? c + 32 : c);
    return out;
}

// A product is registered by the package that installed it; an entry of the
// same code written later in the other view is a stale copy, not the product.
void registerProduct(Machine& m, const std::string& code, bool wow32) {
    if (m.installer.find(code) != nullptr) return;
    const std::string digits = digitsOf(code);
    InstalledProduct product;
    product.wow32 = wow32;
    product.localPackage = "C:\\Windows\\Installer\\" + digits + ".msi";
    product.lastUsedSource = "C:\\Packages\\" + digits + "\\";
    product.packageName = "setup.msi";
    m.files.addFile(product.localPackage, "cached package");
    m.files.addFile(Installer::sourcePackage(product), "package");
    m.installer.add(code, std::move(product));
}

// The installer's registration decides an uninstall by product code.
uint32_t uninstallProduct(Machine& m, const std::string& code) {
    const InstalledProduct* product = m.installer.find(code);
    if (product == nullptr) return kErrorUnknownProduct;
    const std::string source = Installer::sourcePackage(*product);
    if (!m.files.exists(product->localPackage) && (source.empty() || !m.files.exists(source)))
        return platform::kErrorInstallSourceAbsent;
    // Its entry goes from the view it is registered in, and only from there.
    const std::string entry = (product->wow32 ? kUninstallKey32 : kUninstallKey) + "\\" + code;
    (void)m.installer.forget(code);
    (void)m.registry.removeKey(Root::LocalMachine, entry);
    return 0;
}

}  // namespace

std::string productCodeOf(const std::string& entryName, const std::string& uninstallString) {
    if (Installer::isProductCode(entryName)) return entryName;
    const std::string text = upper(uninstallString);
    std::size_t at = text.find("MSIEXEC");
    if (at == std::string::npos) return {};
    at += 7;
    if (text.compare(at, 4, ".EXE") == 0) at += 4;
    at = text.find_first_not_of(" \"", at);
    if (at == std::string::npos || (text.compare(at, 2, "/I") != 0 && text.compare(at, 2, "/X") != 0)) return {};
    at = text.find_first_not_of(' ', at + 2);
    if (at == std::string::npos) return {};
    const std::string code = uninstallString.substr(at, 38);
    return Installer::isProductCode(code) ? code : std::string();
}

void removeCachedPackage(Machine& m, const std::string& productCode) {
    if (const InstalledProduct* product = m.installer.find(productCode))
        (void)m.files.deleteFile(product->localPackage);
}

void removeSourcePackage(Machine& m, const std::string& productCode) {
    if (const InstalledProduct* product = m.installer.find(productCode))
        (void)m.files.deleteFile(Installer::sourcePackage(*product));
}

void addWindowsInstaller(Machine& m, const InstallerOptions& options, const std::string& path) {
    Program p;
    p.runMs = options.runMs;
    p.body = [options](ProgramRun& run) -> uint32_t {
        if (run.machine.mutexes.owned(kInstallerMutex, run.machine.nowMs)) return kErrorInstallAlreadyRunning;
        const std::string target = removalTarget(run.parameters);
        for (const std::string& failing : options.failing)
            if (failing == target) return kErrorInstallFailure;
        if (options.leaveEntry) return options.exitCode.value_or(kErrorUnknownProduct);
        if (Installer::isProductCode(target)) {
            const uint32_t rc = uninstallProduct(run.machine, target);
            return rc == platform::kErrorInstallSourceAbsent ? rc : options.exitCode.value_or(rc);
        }
        // Not a product code: the entry of that name goes, from the view it
        // is registered in.
        const bool removed = !target.empty() &&
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
    if (const std::string code = productCodeOf(entryName, uninstallString); !code.empty()) registerProduct(m, code, wow32);
}

}  // namespace sim::scripted
