// The registry wrappers over the simulated registry.
#include "platform/backend.h"
#include "platform/registry.h"
#include "platform/registry_view.h"

#include <cstdint>

#include "platform/sim/machine.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

constexpr std::uintptr_t kClassesRoot = 0x80000000u;
constexpr std::uintptr_t kCurrentUser = 0x80000001u;
constexpr std::uintptr_t kLocalMachine = 0x80000002u;
constexpr std::uintptr_t kUsers = 0x80000003u;
constexpr int32_t kErrorKeyDeleted = 1018;
constexpr uint32_t kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000;

// What a simulated key handle points at.
struct OpenKey {
    std::shared_ptr<sim::RegKey> key;
};

std::shared_ptr<sim::RegKey> resolve(Handle h) {
    auto& reg = sim::current().registry;
    switch (reinterpret_cast<std::uintptr_t>(h)) {
        case kClassesRoot: return reg.rootKey(sim::Root::ClassesRoot);
        case kCurrentUser: return reg.rootKey(sim::Root::CurrentUser);
        case kLocalMachine: return reg.rootKey(sim::Root::LocalMachine);
        case kUsers: return reg.rootKey(sim::Root::Users);
        default: break;
    }
    if (h == nullptr) return nullptr;
    return static_cast<OpenKey*>(h)->key;
}

bool isPredefined(Handle h) {
    const auto v = reinterpret_cast<std::uintptr_t>(h);
    return v >= kClassesRoot && v <= kUsers;
}

std::u16string viewPath(Handle parent, const std::u16string& path, uint32_t samDesired) {
    const bool wow32 = (samDesired & kKeyWow64_32Key) != 0 && reinterpret_cast<std::uintptr_t>(parent) == kLocalMachine;
    return wow32 ? wow64Path(path) : path;
}

}  // namespace

void backend::closeKey(Handle key) noexcept {
    if (key == nullptr || isPredefined(key)) return;
    delete static_cast<OpenKey*>(key);
    sim::current().registry.noteClosed();
}

Handle hkeyClassesRoot() noexcept { return reinterpret_cast<Handle>(kClassesRoot); }
Handle hkeyCurrentUser() noexcept { return reinterpret_cast<Handle>(kCurrentUser); }
Handle hkeyLocalMachine() noexcept { return reinterpret_cast<Handle>(kLocalMachine); }
Handle hkeyUsers() noexcept { return reinterpret_cast<Handle>(kUsers); }

int32_t backend::regOpenKeyExW(Handle parent, const std::u16string& subKey, uint32_t samDesired, Handle& result) {
    auto& reg = sim::current().registry;
    ++reg.keyOpens;
    auto key = resolve(parent);
    if (!key) return kErrorInvalidHandle;
    if (key->deleted) return kErrorKeyDeleted;
    // The platform reads the name up to its first NUL, skips empty components
    // ("a\\b", a trailing backslash) and rejects a leading backslash.
    const std::u16string named = subKey.substr(0, subKey.find(u'\0'));
    if (!named.empty() && named.front() == u'\\') return kErrorInvalidParameter;
    const std::u16string path = viewPath(parent, named, samDesired);
    std::u16string part;
    auto descend = [&](const std::u16string& name) -> bool {
        auto it = key->subkeys.find(name);
        if (it == key->subkeys.end()) return false;
        key = it->second;
        return true;
    };
    for (char16_t c : path) {
        if (c == u'\\') {
            if (!part.empty() && !descend(part)) return kErrorFileNotFound;
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty() && !descend(part)) return kErrorFileNotFound;
    if (!key->openable) return kErrorAccessDenied;
    if ((samDesired & kWriteRights) != 0 && !key->writable) return kErrorAccessDenied;
    result = new OpenKey{key};
    reg.noteOpened();
    return kErrorSuccess;
}

int32_t backend::regQueryInfoKeyA(Handle key, uint32_t& subKeys, uint32_t& values) {
    auto k = resolve(key);
    if (!k) return kErrorInvalidHandle;
    if (k->deleted) return kErrorKeyDeleted;
    subKeys = static_cast<uint32_t>(k->subkeys.size());
    values = static_cast<uint32_t>(k->values.size());
    return kErrorSuccess;
}

int32_t backend::regEnumKeyExW(Handle key, uint32_t index, std::u16string& name) {
    auto k = resolve(key);
    if (!k) return kErrorInvalidHandle;
    if (k->deleted) return kErrorKeyDeleted;
    if (k->enumError != 0) return k->enumError;
    if (index >= k->subkeys.size()) return kErrorNoMoreItems;
    auto it = k->subkeys.begin();
    std::advance(it, index);
    name = it->second->name;
    return kErrorSuccess;
}

int32_t regEnumValueW(Handle key, uint32_t index, std::u16string& name) {
    auto k = resolve(key);
    if (!k) return kErrorInvalidHandle;
    if (k->deleted) return kErrorKeyDeleted;
    if (k->enumError != 0) return k->enumError;
    if (index >= k->values.size()) return kErrorNoMoreItems;
    name = k->values[index].name;
    return kErrorSuccess;
}

int32_t backend::regQueryValueExW(Handle key, const std::u16string& valueName, uint32_t& type, std::string& data) {
    auto& reg = sim::current().registry;
    ++reg.valueReads;
    auto k = resolve(key);
    if (!k) return kErrorInvalidHandle;
    if (k->deleted) return kErrorKeyDeleted;
    // The value name ends at its first NUL, as the platform reads it.
    std::u16string wanted = valueName.substr(0, valueName.find(u'\0'));
    sim::RegValue* v = k->findValue(wanted);
    if (!v) return kErrorFileNotFound;
    type = v->type;
    data = v->data;
    return kErrorSuccess;
}

std::string systemErrorMessage(int32_t code) {
    switch (code) {
        case kErrorFileNotFound: return "The system cannot find the file specified.";
        case kErrorAccessDenied: return "Access is denied.";
        case kErrorInvalidHandle: return "The handle is invalid.";
        case kErrorMoreData: return "More data is available.";
        case kErrorKeyDeleted: return "Illegal operation attempted on a registry key that has been marked for deletion.";
        default: return "System error " + std::to_string(code) + ".";
    }
}

}  // namespace platform
