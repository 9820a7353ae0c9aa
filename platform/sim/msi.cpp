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

// The library, the code, the property and the product, in the order the
// calls check them: ERROR_SUCCESS with `product` set, or the call's answer.
// MsiGetProductInfoW looks at the property's name before the product,
// MsiSourceListGetInfoW after it.
uint32_t lookUp(sim::Machine& m, const std::string& code, bool propertyKnown, bool propertyFirst,
                sim::InstalledProduct*& product) {
    if (!m.installer.libraryLoads) return kErrorModNotFound;
    if (m.installer.error != 0) return m.installer.error;
    if (!sim::Installer::isProductCode(code)) return kErrorInvalidParameter;
    if (propertyFirst && !propertyKnown) return kErrorUnknownProperty;
    product = m.installer.find(code);
    if (product == nullptr) return kErrorUnknownProduct;
    return propertyKnown ? kErrorSuccess : kErrorUnknownProperty;
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
    // Property names are compared as written, letter case included.
    const bool known = std::find(kKnownInfo.begin(), kKnownInfo.end(), name) != kKnownInfo.end();
    sim::InstalledProduct* product = nullptr;
    if (const uint32_t rc = lookUp(m, code, known, true, product); rc != kErrorSuccess) return rc;
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
    const bool known = name == "LastUsedSource" || name == "LastUsedType" || name == "PackageName";
    sim::InstalledProduct* product = nullptr;
    const uint32_t rc = lookUp(m, code, known, false, product);
    // The machine's source lists only: a user's product is unknown there.
    if (product != nullptr && !product->perMachine) return kErrorUnknownProduct;
    if (rc != kErrorSuccess) return rc;
    // Every source the model knows is a folder: type "n".
    const std::string text = name == "LastUsedSource" ? product->lastUsedSource
                             : name == "PackageName"  ? product->packageName
                                                      : std::string(product->lastUsedSource.empty() ? "" : "n");
    value = ansiToWide(text);
    return kErrorSuccess;
}

std::u16string msiLibraryPath() {
    const sim::Machine& m = sim::current();
    return m.installer.libraryLoads ? ansiToWide(m.files.systemDirectory + "\\msi.dll") : std::u16string();
}

}  // namespace platform
