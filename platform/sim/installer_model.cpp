#include "platform/sim/installer_model.h"

#include <algorithm>

namespace sim {
namespace {

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

InstalledProduct& Installer::add(const std::string& productCode, InstalledProduct product) {
    return products_[upper(productCode)] = std::move(product);
}

bool Installer::forget(const std::string& productCode) { return products_.erase(upper(productCode)) != 0; }

InstalledProduct* Installer::find(const std::string& productCode) {
    const auto it = products_.find(upper(productCode));
    return it == products_.end() ? nullptr : &it->second;
}

bool Installer::isProductCode(const std::string& code) {
    if (code.size() != 38 || code.front() != '{' || code.back() != '}') return false;
    for (std::size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? code[i] != '-' : !isHex(code[i])) return false;
    }
    return true;
}

std::string Installer::sourcePackage(const InstalledProduct& product) {
    if (product.lastUsedSource.empty() || product.packageName.empty()) return {};
    const bool separated = product.lastUsedSource.back() == '\\';
    return product.lastUsedSource + (separated ? "" : "\\") + product.packageName;
}

int Installer::stateQueries(const std::string& productCode) const {
    const std::string asked = "STATE " + upper(productCode);
    return static_cast<int>(
        std::count_if(queries.begin(), queries.end(), [&](const std::string& q) { return upper(q) == asked; }));
}

}  // namespace sim
