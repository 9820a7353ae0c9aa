#include "korvalend/installer.h"

#include <map>
#include <memory>
#include <set>

#include "fonction/strings.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "platform/msi.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace korvalend {

// What one run has asked.
struct TAsked {
    std::map<std::string, TProductState> states;  // upper-cased code
    std::map<std::string, TPackage> packages;
    std::set<std::string> orphans;                // the installer answered 1605
    std::set<std::string> told;                   // failures and orphans told
};

namespace {

const std::string SQUERIES_STEP = "Windows Installer queries";

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

TAsked* g_run = nullptr;  // the innermost TInstallerRun's

// A failure of the queries, told once a run: the run then goes by the
// Uninstall key alone.
void tellOnce(const std::string& cause) {
    if (g_run != nullptr && !g_run->told.insert(cause).second) return;
    REMOVALOBSERVER().skipped(SQUERIES_STEP, TReason(TSKIP::NOINSTALLERQUERIES, cause));
}

std::string errorCause(uint32_t rc) {
    if (rc == platform::kErrorModNotFound) return "msi.dll cannot be loaded";
    return "the Windows Installer answers " + platform::systemErrorMessage(static_cast<int32_t>(rc)) + " (error " +
           std::to_string(rc) + ")";
}

TProductState askState(const std::string& code) {
    const std::optional<int32_t> state = platform::msiQueryProductStateW(platform::ansiToWide(code));
    if (!state) {
        tellOnce(errorCause(platform::kErrorModNotFound));
        return TProductState::CannotTell;
    }
    switch (*state) {
        case platform::kInstallStateUnknown: return TProductState::Orphan;
        case platform::kInstallStateDefault:
        case platform::kInstallStateAdvertised:
        case platform::kInstallStateAbsent: return TProductState::Held;
        default: return TProductState::CannotTell;  // INSTALLSTATE_INVALIDARG and the like
    }
}

// A property of the product, or nothing; ERROR_UNKNOWN_PRODUCT and
// ERROR_UNKNOWN_PROPERTY say nothing is there, other errors are told.
std::optional<std::string> property(bool sourceList, const std::string& code, const char16_t* name) {
    std::u16string value;
    const std::u16string wide = platform::ansiToWide(code);
    const uint32_t rc = sourceList ? platform::msiSourceListGetInfoW(wide, name, value)
                                   : platform::msiGetProductInfoW(wide, name, value);
    if (rc == platform::kErrorSuccess) return platform::wideToAnsi(value);
    if (rc != platform::kErrorUnknownProduct && rc != platform::kErrorUnknownProperty) tellOnce(errorCause(rc));
    return std::nullopt;
}

// "n;1;C:\Packages\" as Windows may give it: the source's type and index first.
std::string sourceFolder(std::string text) {
    if (text.size() > 2 && text[1] == ';' && (text[0] == 'n' || text[0] == 'm' || text[0] == 'u')) {
        const std::size_t second = text.find(';', 2);
        if (second != std::string::npos) text.erase(0, second + 1);
    }
    return text;
}

// There, gone, or unknown to this account (another account's may read it).
enum class TFile { There, Gone, Unreadable };
TFile fileState(const std::string& path) {
    if (isFile(path)) return TFile::There;
    return isAbsent(path) ? TFile::Gone : TFile::Unreadable;
}

TPackage askPackage(const std::string& code) {
    TPackage out;
    const std::optional<std::string> cached = property(false, code, u"LocalPackage");
    if (!cached || cached->empty()) {
        out.why = "the Windows Installer names no cached package";
        return out;
    }
    out.cached = *cached;
    switch (fileState(out.cached)) {
        case TFile::There: out.kind = TPackage::Kind::Cached; return out;
        case TFile::Unreadable: out.why = out.cached + " cannot be read here"; return out;
        case TFile::Gone: break;
    }
    const std::optional<std::string> folder = property(true, code, u"LastUsedSource");
    const std::optional<std::string> name = property(true, code, u"PackageName");
    if (!folder || !name || folder->empty() || name->empty()) {
        out.kind = TPackage::Kind::Gone;
        out.why = out.cached + " is missing, and the Windows Installer names no source";
        return out;
    }
    out.source = inFolder(sourceFolder(*folder), *name);
    switch (fileState(out.source)) {
        case TFile::There:
            out.kind = TPackage::Kind::FromSource;
            out.why = out.cached + " is missing: the uninstall takes " + out.source;
            return out;
        case TFile::Unreadable:
            out.why = out.cached + " is missing and " + out.source + " cannot be read here";
            return out;
        case TFile::Gone:
            out.kind = TPackage::Kind::Gone;
            out.why = out.cached + " is missing, and so is its source " + out.source;
            return out;
    }
    return out;
}

}  // namespace

bool ISPRODUCTCODE(const std::string& code) {
    if (code.size() != 38 || code.front() != '{' || code.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? code[i] != '-' : !isHex(code[i])) return false;
    }
    return true;
}

std::string INSTALLERPRODUCTCODE(const std::string& keyName, const std::string& uninstallString,
                                 bool windowsInstaller) {
    if (windowsInstaller && ISPRODUCTCODE(keyName)) return keyName;
    const std::string upper = fonction::ASCIIUPPER(uninstallString);
    for (std::size_t at = upper.find("MSIEXEC"); at != std::string::npos; at = upper.find("MSIEXEC", at + 1)) {
        std::size_t i = at + 7;
        if (upper.compare(i, 4, ".EXE") == 0) i += 4;
        i = upper.find_first_not_of(" \"", i);
        if (i == std::string::npos || (upper.compare(i, 2, "/I") != 0 && upper.compare(i, 2, "/X") != 0)) continue;
        i = upper.find_first_not_of(' ', i + 2);
        if (i == std::string::npos) break;
        const std::string code = uninstallString.substr(i, 38);
        if (ISPRODUCTCODE(code)) return code;
    }
    return {};
}

std::string UNPACKEDPRODUCTCODE(const std::string& packed) {
    if (packed.size() != 32) return {};
    for (const char c : packed)
        if (!isHex(c)) return {};
    std::string out = "{";
    // The first three groups backwards; the last two byte by byte, each byte's digits swapped.
    const auto reversed = [&](std::size_t at, std::size_t n) { return std::string(packed.rbegin() + static_cast<std::ptrdiff_t>(32 - at - n), packed.rbegin() + static_cast<std::ptrdiff_t>(32 - at)); };
    out += reversed(0, 8) + "-" + reversed(8, 4) + "-" + reversed(12, 4) + "-";
    for (std::size_t i = 16; i < 32; i += 2) {
        if (i == 20) out += "-";
        out += packed[i + 1];
        out += packed[i];
    }
    return fonction::ASCIIUPPER(out + "}");
}

TProductState PRODUCTSTATE(const std::string& code) {
    if (!ISPRODUCTCODE(code)) return TProductState::CannotTell;
    if (g_run == nullptr) return askState(code);
    const std::string key = fonction::ASCIIUPPER(code);
    if (g_run->orphans.contains(key)) return TProductState::Orphan;
    const auto known = g_run->states.find(key);
    if (known != g_run->states.end()) return known->second;
    return g_run->states[key] = askState(code);
}

TPackage PACKAGEOF(const std::string& code) {
    if (!ISPRODUCTCODE(code)) return {};
    if (g_run == nullptr) return askPackage(code);
    const std::string key = fonction::ASCIIUPPER(code);
    const auto known = g_run->packages.find(key);
    if (known != g_run->packages.end()) return known->second;
    return g_run->packages[key] = askPackage(code);
}

void MARKORPHAN(const std::string& code) {
    if (g_run != nullptr) g_run->orphans.insert(fonction::ASCIIUPPER(code));
}

void PRODUCTSMAYCHANGE() {
    if (g_run == nullptr) return;
    g_run->states.clear();
    g_run->packages.clear();
}

void TELLORPHAN(TRegistryView view, const std::string& name, const std::string& displayName) {
    if (g_run != nullptr && !g_run->told.insert(std::string("orphan ") + VIEWNAME(view) + " " + fonction::ASCIIUPPER(name)).second)
        return;
    REMOVALOBSERVER().found("orphaned entry", displayName + " (" + name + ", " + VIEWNAME(view) +
                                                  " view): the Windows Installer no longer holds it");
}

TInstallerRun::TInstallerRun() : asked_(std::make_unique<TAsked>()), previous_(g_run) { g_run = asked_.get(); }

TInstallerRun::~TInstallerRun() { g_run = previous_; }

}  // namespace korvalend
