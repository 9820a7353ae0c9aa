#include "platform/sim/registry_model.h"

#include "platform/sim/codepage.h"
#include "platform/text.h"

namespace sim {

bool CaseLess::operator()(const std::u16string& a, const std::u16string& b) const noexcept {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = cp1252::foldUnicode(a[i]);
        const char16_t y = cp1252::foldUnicode(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

bool sameName(const std::u16string& a, const std::u16string& b) noexcept {
    return !CaseLess{}(a, b) && !CaseLess{}(b, a);
}

RegValue* RegKey::findValue(const std::u16string& valueName) {
    for (auto& v : values)
        if (sameName(v.name, valueName)) return &v;
    return nullptr;
}

Registry::Registry()
    : hklm_(std::make_shared<RegKey>()), hkcu_(std::make_shared<RegKey>()), hku_(std::make_shared<RegKey>()) {
    addKey(Root::LocalMachine, "Software\\Classes");
    addKey(Root::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    // The 32-bit programs' view of SOFTWARE, as 64-bit Windows keeps it.
    addKey(Root::LocalMachine, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
}

std::shared_ptr<RegKey> Registry::rootKey(Root root) {
    switch (root) {
        case Root::LocalMachine: return hklm_;
        case Root::CurrentUser: return hkcu_;
        case Root::Users: return hku_;
        case Root::ClassesRoot: {
            auto software = hklm_->subkeys.find(u"Software");
            if (software == hklm_->subkeys.end()) return nullptr;
            auto classes = software->second->subkeys.find(u"Classes");
            return classes == software->second->subkeys.end() ? nullptr : classes->second;
        }
    }
    return nullptr;
}

namespace {
std::vector<std::u16string> split(const std::string& path) {
    std::vector<std::u16string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(platform::ansiToWide(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(platform::ansiToWide(part));
    return parts;
}
}  // namespace

RegKey& Registry::addKey(Root root, const std::string& path) {
    auto key = rootKey(root);
    for (const auto& name : split(path)) {
        auto& slot = key->subkeys[name];
        if (!slot) {
            slot = std::make_shared<RegKey>();
            slot->name = name;
        }
        key = slot;
    }
    return *key;
}

RegKey* Registry::findKey(Root root, const std::string& path) {
    auto key = rootKey(root);
    for (const auto& name : split(path)) {
        if (!key) return nullptr;
        auto it = key->subkeys.find(name);
        if (it == key->subkeys.end()) return nullptr;
        key = it->second;
    }
    return key.get();
}

namespace {
void markDeleted(RegKey& key) {
    key.deleted = true;
    for (auto& [name, sub] : key.subkeys) markDeleted(*sub);
}
}  // namespace

bool Registry::removeKey(Root root, const std::string& path) {
    auto parts = split(path);
    if (parts.empty()) return false;
    const std::u16string leaf = parts.back();
    parts.pop_back();
    auto key = rootKey(root);
    for (const auto& name : parts) {
        auto it = key->subkeys.find(name);
        if (it == key->subkeys.end()) return false;
        key = it->second;
    }
    auto it = key->subkeys.find(leaf);
    if (it == key->subkeys.end()) return false;
    markDeleted(*it->second);
    key->subkeys.erase(it);
    return true;
}

void Registry::setRaw(Root root, const std::string& path, const std::string& name, uint32_t type, std::string bytes) {
    RegKey& key = addKey(root, path);
    const std::u16string wname = platform::ansiToWide(name);
    if (RegValue* v = key.findValue(wname)) {
        v->type = type;
        v->data = std::move(bytes);
        return;
    }
    key.values.push_back(RegValue{wname, type, std::move(bytes)});
}

void Registry::setString(Root root, const std::string& path, const std::string& name, const std::string& value,
                         uint32_t type) {
    std::u16string wide = platform::ansiToWide(value);
    wide.push_back(u'\0');
    std::string bytes;
    for (char16_t c : wide) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    setRaw(root, path, name, type, std::move(bytes));
}

void Registry::setDword(Root root, const std::string& path, const std::string& name, uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    setRaw(root, path, name, 4, std::move(bytes));
}

bool Registry::removeValue(Root root, const std::string& path, const std::string& name) {
    RegKey* key = findKey(root, path);
    if (!key) return false;
    const std::u16string wname = platform::ansiToWide(name);
    for (auto it = key->values.begin(); it != key->values.end(); ++it) {
        if (sameName(it->name, wname)) {
            key->values.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace sim
