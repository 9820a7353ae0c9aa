// The registry as the preview sees it: the machine's keys less those the
// overlay hides (the Uninstall entries, and the vendor's records, of the
// uninstallers the plan "ran", as the run names them).
#include <algorithm>

#include "platform/backend.h"
#include "platform/plan/binding.h"
#include "platform/registry.h"
#include "platform/registry_view.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace platform {
namespace {

using plan::Recorder;

// The folded path behind a key handle; empty for one the binding never saw.
std::u16string pathOf(const Recorder& r, Handle key) {
    if (key == hkeyLocalMachine()) return u"HKLM";
    if (key == hkeyClassesRoot()) return u"HKCR";
    if (key == hkeyCurrentUser()) return u"HKCU";
    if (key == hkeyUsers()) return u"HKU";
    const auto it = r.binding().keys.find(key);
    return it == r.binding().keys.end() ? std::u16string() : it->second.path;
}

// PARENT\SUBKEY with empty components dropped, as the registry reads it.
std::u16string join(std::u16string path, const std::u16string& subKey) {
    const std::u16string rest = plan::foldKey(subKey.substr(0, subKey.find(u'\0')));
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find(u'\\', start);
        if (end == std::u16string::npos) end = rest.size();
        if (end > start) path.append(1, u'\\').append(rest, start, end - start);
        start = end + 1;
    }
    return path;
}

// The subkeys of a key that has hidden ones, as the overlay lists them.
const std::vector<std::u16string>* visibleSubkeys(Recorder& r, Handle key) {
    const auto it = r.binding().keys.find(key);
    if (it == r.binding().keys.end() || !r.binding().hasHiddenChildren(it->second.path)) return nullptr;
    Recorder::Binding::KeyInfo& info = it->second;
    if (!info.visible || info.generation != r.binding().generation()) {
        std::vector<std::u16string> names;
        std::u16string name;
        for (uint32_t i = 0; backend::regEnumKeyExW(key, i, name) == kErrorSuccess; ++i)
            if (!r.binding().keyHidden(info.path + u"\\" + plan::foldKey(name))) names.push_back(name);
        info.visible = std::move(names);
        info.generation = r.binding().generation();
    }
    return &*info.visible;
}

}  // namespace

int32_t regOpenKeyExW(Handle parent, const std::u16string& subKey, uint32_t samDesired, UniqueKey& result) {
    Recorder& r = plan::current();
    const std::u16string parentPath = pathOf(r, parent);
    // Through the 32-bit view HKLM's SOFTWARE keys are the node's.
    const bool wow32 = parent == hkeyLocalMachine() && (samDesired & kKeyWow64_32Key) != 0;
    const std::u16string path = parentPath.empty() ? std::u16string() : join(parentPath, wow32 ? wow64Path(subKey) : subKey);
    if (!path.empty() && r.binding().keyHidden(path)) return kErrorFileNotFound;
    Handle key = nullptr;
    const int32_t rc = backend::regOpenKeyExW(parent, subKey, samDesired, key);
    if (rc != kErrorSuccess) return rc;
    r.binding().keys[key] = Recorder::Binding::KeyInfo{path, 0, std::nullopt};
    result.reset(key);
    return rc;
}

void KeyTraits::close(Handle key) noexcept {
    plan::current().binding().keys.erase(key);
    backend::closeKey(key);
}

int32_t regQueryInfoKeyA(Handle key, uint32_t& subKeys, uint32_t& values) {
    uint32_t count = 0;
    const int32_t rc = backend::regQueryInfoKeyA(key, count, values);
    if (rc != kErrorSuccess) return rc;
    Recorder& r = plan::current();
    const auto* visible = visibleSubkeys(r, key);
    subKeys = visible != nullptr ? static_cast<uint32_t>(visible->size()) : count;
    const auto it = r.binding().keys.find(key);
    if (it != r.binding().keys.end()) ++r.binding().listings[it->second.path];
    return rc;
}

int32_t regEnumKeyExW(Handle key, uint32_t index, std::u16string& name) {
    const auto* visible = visibleSubkeys(plan::current(), key);
    if (visible == nullptr) return backend::regEnumKeyExW(key, index, name);
    if (index >= visible->size()) return kErrorNoMoreItems;
    name = (*visible)[index];
    return kErrorSuccess;
}

int32_t regQueryValueExW(Handle key, const std::u16string& valueName, uint32_t& type, std::string& data) {
    return backend::regQueryValueExW(key, valueName, type, data);
}

}  // namespace platform
