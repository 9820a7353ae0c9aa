// Test registry writer over the simulated machine.
#include <memory>

#include "platform/sim/machine.h"
#include "support/regwrite.h"

namespace testsupport {
namespace {

std::vector<std::u16string> split(const std::u16string& path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (char16_t c : path) {
        if (c == u'\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

struct RegistrySandbox::Impl {
    sim::Machine machine;

    sim::RegKey* find(const std::u16string& path) {
        auto key = machine.registry.rootKey(sim::Root::LocalMachine);
        for (const auto& name : split(path)) {
            auto it = key->subkeys.find(name);
            if (it == key->subkeys.end()) return nullptr;
            key = it->second;
        }
        return key.get();
    }
};

RegistrySandbox::RegistrySandbox() : impl_(std::make_unique<Impl>()) {}
RegistrySandbox::~RegistrySandbox() = default;

bool RegistrySandbox::simulated() { return true; }

bool RegistrySandbox::createKey(const std::u16string& path) {
    auto key = impl_->machine.registry.rootKey(sim::Root::LocalMachine);
    for (const auto& name : split(path)) {
        auto& slot = key->subkeys[name];
        if (!slot) {
            slot = std::make_shared<sim::RegKey>();
            slot->name = name;
        }
        key = slot;
    }
    return true;
}

bool RegistrySandbox::setValue(const std::u16string& keyPath, const std::u16string& name, uint32_t type,
                               const std::string& data) {
    if (!createKey(keyPath)) return false;
    sim::RegKey* key = impl_->find(keyPath);
    if (!key->writable || !key->openable) return false;  // access denied, as on Windows
    if (sim::RegValue* v = key->findValue(name)) {
        v->type = type;
        v->data = data;
    } else {
        key->values.push_back(sim::RegValue{name, type, data});
    }
    return true;
}

bool RegistrySandbox::setString(const std::u16string& keyPath, const std::u16string& name,
                                const std::u16string& text, uint32_t type) {
    return setValue(keyPath, name, type, utf16Bytes(text + u'\0'));
}

bool RegistrySandbox::deleteTree(const std::u16string& path) {
    auto parts = split(path);
    if (parts.empty()) return false;
    const std::u16string leaf = parts.back();
    parts.pop_back();
    std::u16string parentPath;
    for (const auto& p : parts) parentPath += p + u"\\";
    sim::RegKey* parent = impl_->find(parentPath);
    if (!parent) return false;
    auto it = parent->subkeys.find(leaf);
    if (it == parent->subkeys.end()) return false;
    // Handles still open on the tree see it as deleted, as on Windows.
    std::vector<sim::RegKey*> pending{it->second.get()};
    while (!pending.empty()) {
        sim::RegKey* k = pending.back();
        pending.pop_back();
        k->deleted = true;
        for (auto& [n, sub] : k->subkeys) pending.push_back(sub.get());
    }
    parent->subkeys.erase(it);
    return true;
}

bool RegistrySandbox::denyWrite(const std::u16string& path) {
    sim::RegKey* key = impl_->find(path);
    if (!key) return false;
    key->writable = false;
    return true;
}

bool RegistrySandbox::denyAll(const std::u16string& path) {
    sim::RegKey* key = impl_->find(path);
    if (!key) return false;
    key->openable = false;
    return true;
}

}  // namespace testsupport
