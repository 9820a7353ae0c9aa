#include "platform/tregistry.h"

#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

constexpr uint32_t kWow64Bits = kKeyWow64_64Key | kKeyWow64_32Key;  // 0x300
constexpr uint32_t kOpenReadOnlySam = kKeyRead;                     // 0x20019
constexpr uint32_t kKeyExistsSam = 0x20009;  // STANDARD_RIGHTS_READ | QUERY_VALUE | ENUMERATE_SUB_KEYS

template <typename EnumFn>
void listNames(Handle key, TStrings& list, bool values, EnumFn enumerate) {
    list.clear();
    if (key == nullptr) return;
    uint32_t subKeys = 0;
    uint32_t valueCount = 0;
    if (regQueryInfoKeyA(key, subKeys, valueCount) != kErrorSuccess) return;
    const uint32_t count = values ? valueCount : subKeys;
    for (uint32_t i = 0; i < count; ++i) {
        std::u16string name;
        const int32_t rc = enumerate(key, i, name);
        if (rc == kErrorNoMoreItems) break;
        if (rc != kErrorSuccess) throw ERegistryException(systemErrorMessage(rc));
        list.add(wideToAnsi(name));
    }
}

}  // namespace

TRegistry::TRegistry() : TRegistry(kKeyAllAccess) {}

TRegistry::TRegistry(uint32_t access) : access_(access), root_(hkeyCurrentUser()) {}

TRegistry::~TRegistry() = default;

void TRegistry::SETROOTKEY(Handle root) {
    if (root == root_) return;
    CLOSEKEY();
    root_ = root;
}

Handle TRegistry::baseFor(const std::string& path, std::string& rest) const {
    if (!path.empty() && path.front() == '\\') {
        rest = path.substr(1);
        return root_;
    }
    rest = path;
    return current_.valid() ? current_.get() : root_;
}

int32_t TRegistry::openBelow(const std::string& path, uint32_t sam, UniqueKey& key) const {
    std::string rest;
    Handle base = baseFor(path, rest);
    return regOpenKeyExW(base, ansiToWide(rest), sam, key);
}

bool TRegistry::OPENKEYREADONLY(const std::string& path) {
    int32_t error = kErrorSuccess;
    return OPENKEYREADONLY(path, error);
}

bool TRegistry::OPENKEYREADONLY(const std::string& path, int32_t& error) {
    UniqueKey key;
    error = openBelow(path, (access_ & kWow64Bits) | kOpenReadOnlySam, key);
    if (error != kErrorSuccess) return false;
    current_ = std::move(key);  // the previous current key is closed here
    return true;
}

bool TRegistry::KEYEXISTS(const std::string& path) const {
    UniqueKey key;
    return openBelow(path, (access_ & kWow64Bits) | kKeyExistsSam, key) == kErrorSuccess;
}

void TRegistry::GETKEYNAMES(TStrings& list) const {
    listNames(current_.get(), list, false, [](Handle k, uint32_t i, std::u16string& n) {
        return regEnumKeyExW(k, i, n);
    });
}

void TRegistry::GETVALUENAMES(TStrings& list) const {
    listNames(current_.get(), list, true, [](Handle k, uint32_t i, std::u16string& n) {
        return regEnumValueW(k, i, n);
    });
}

bool TRegistry::VALUEEXISTS(const std::string& name) const {
    if (!current_.valid()) return false;
    uint32_t type = 0;
    std::string data;
    return regQueryValueExW(current_.get(), ansiToWide(name), type, data) == kErrorSuccess;
}

std::string TRegistry::READSTRING(const std::string& name) const { return wideToAnsi(READSTRINGW(name)); }

std::u16string TRegistry::READSTRINGW(const std::string& name) const {
    if (!current_.valid()) return {};
    uint32_t type = 0;
    std::string data;
    const int32_t rc = regQueryValueExW(current_.get(), ansiToWide(name), type, data);
    if (rc == kErrorFileNotFound) return {};
    if (rc != kErrorSuccess) throw ERegistryException("Failed to get data for value \"" + name + "\"");
    if (data.empty()) return {};
    if (type != kRegSz && type != kRegExpandSz)
        throw ERegistryException("Invalid registry data type: \"" + name + "\"");
    std::u16string wide = registryUtf16(data);
    if (!wide.empty() && wide.back() == u'\0') wide.pop_back();
    return wide;
}

std::optional<uint32_t> TRegistry::READDWORD(const std::string& name) const {
    if (!current_.valid()) return std::nullopt;
    uint32_t type = 0;
    std::string data;
    if (regQueryValueExW(current_.get(), ansiToWide(name), type, data) != kErrorSuccess || type != kRegDword ||
        data.size() != 4)
        return std::nullopt;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
    return value;
}

void TRegistry::CLOSEKEY() { current_.reset(); }

}  // namespace platform
