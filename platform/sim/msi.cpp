// The Windows Installer's queries over the simulated installer's registration.
#include "platform/backend.h"
#include "platform/msi.h"

#include <algorithm>
#include <array>

#include "platform/sim/machine.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

// The calls read their texts as C strings.
std::string asked(const std::u16string& text) { return wideToAnsi(text.substr(0, text.find(u'\0'))); }

// MsiGetProductInfoW's properties of an installed product.
constexpr std::array<const char*, 13> kKnownInfo = {
    "LocalPackage", "InstallLocation", "InstallSource", "InstalledProductName", "ProductName",
    "VersionString", "Version",       "Publisher",     "PackageName",          "PackageCode",
    "InstallDate",  "Language",       "Transforms"};

// The library, the code and the product, checked as the calls check them:
// ERROR_SUCCESS with `product` set, or the call's answer.
uint32_t lookUp(sim::Machine& m, const std::string& code, sim::InstalledProduct*& product) {
    if (!m.installer.libraryLoads) return kErrorModNotFound;
    if (m.installer.error != 0) return m.installer.error;
    if (!sim::Installer::isProductCode(code)) return kErrorInvalidParameter;
    product = m.installer.find(code);
    return product == nullptr ? kErrorUnknownProduct : kErrorSuccess;
}

}  // namespace

std::optional<int32_t> backend::msiQueryProductStateW(const std::u16string& productCode) {
    sim::Machine& m = sim::current();
    if (!m.installer.libraryLoads) return std::nullopt;
    const std::string code = asked(productCode);
    m.installer.queries.push_back("state " + code);
    if (!sim::Installer::isProductCode(code)) return kInstallStateInvalidArg;
    const sim::InstalledProduct* product = m.installer.find(code);
    return product == nullptr ? kInstallStateUnknown : product->state;
}

uint32_t backend::msiGetProductInfoW(const std::u16string& productCode, const std::u16string& property,
                                     std::u16string& value) {
    sim::Machine& m = sim::current();
    const std::string code = asked(productCode);
    const std::string name = asked(property);
    if (m.installer.libraryLoads) m.installer.queries.push_back("info " + code + " " + name);
    sim::InstalledProduct* product = nullptr;
    if (const uint32_t rc = lookUp(m, code, product); rc != kErrorSuccess) return rc;
    if (std::find(kKnownInfo.begin(), kKnownInfo.end(), name) == kKnownInfo.end()) return kErrorUnknownProperty;
    std::string text;
    if (name == "LocalPackage") text = product->localPackage;
    else if (name == "PackageName") text = product->packageName;
    else if (const auto it = product->info.find(name); it != product->info.end()) text = it->second;
    value = ansiToWide(text);
    return kErrorSuccess;
}

uint32_t backend::msiSourceListGetInfoW(const std::u16string& productCode, const std::u16string& property,
                                        std::u16string& value) {
    sim::Machine& m = sim::current();
    const std::string code = asked(productCode);
    const std::string name = asked(property);
    if (m.installer.libraryLoads) m.installer.queries.push_back("source " + code + " " + name);
    sim::InstalledProduct* product = nullptr;
    if (const uint32_t rc = lookUp(m, code, product); rc != kErrorSuccess) return rc;
    // The machine's source lists only: a user's product is unknown there.
    if (!product->perMachine) return kErrorUnknownProduct;
    std::string text;
    if (name == "LastUsedSource") text = product->lastUsedSource;
    else if (name == "PackageName") text = product->packageName;
    else if (name == "LastUsedType") text = product->lastUsedSource.substr(0, product->lastUsedSource.find(';'));
    else return kErrorUnknownProperty;
    value = ansiToWide(text);
    return kErrorSuccess;
}

std::u16string msiLibraryPath() {
    const sim::Machine& m = sim::current();
    return m.installer.libraryLoads ? ansiToWide(m.installer.libraryPath) : std::u16string();
}

}  // namespace platform
