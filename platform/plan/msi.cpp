// The Windows Installer's queries as the preview sees them: the machine's
// answers, except that a product the plan uninstalled is no longer known.
// What the installer could not answer (msi.dll missing, access denied) it
// still cannot.
#include "platform/backend.h"
#include "platform/msi.h"
#include "platform/plan/binding.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

// Answers that do not depend on the product.
bool aboutTheInstaller(uint32_t rc) {
    return rc == static_cast<uint32_t>(kErrorModNotFound) || rc == static_cast<uint32_t>(kErrorAccessDenied) ||
           rc == static_cast<uint32_t>(kErrorInvalidParameter);
}

}  // namespace

std::optional<int32_t> msiQueryProductStateW(const std::u16string& productCode) {
    // Asked of the machine all the same: the run asks it too.
    const std::optional<int32_t> state = backend::msiQueryProductStateW(productCode);
    if (state && *state != kInstallStateInvalidArg && plan::current().binding().productForgotten(productCode))
        return kInstallStateUnknown;
    return state;
}

uint32_t msiGetProductInfoW(const std::u16string& productCode, const std::u16string& property, std::u16string& value) {
    std::u16string read;
    const uint32_t rc = backend::msiGetProductInfoW(productCode, property, read);
    if (!aboutTheInstaller(rc) && plan::current().binding().productForgotten(productCode)) return kErrorUnknownProduct;
    if (rc == kErrorSuccess) value = std::move(read);
    return rc;
}

uint32_t msiSourceListGetInfoW(const std::u16string& productCode, const std::u16string& property,
                               std::u16string& value) {
    std::u16string read;
    const uint32_t rc = backend::msiSourceListGetInfoW(productCode, property, read);
    if (!aboutTheInstaller(rc) && plan::current().binding().productForgotten(productCode)) return kErrorUnknownProduct;
    if (rc == kErrorSuccess) value = std::move(read);
    return rc;
}

}  // namespace platform
