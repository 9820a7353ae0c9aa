// Test registry writer over the real registry (advapi32).
#include <windows.h>
// clang-format off
#include <sddl.h>
// clang-format on

#include <vector>

#include "support/regwrite.h"

namespace testsupport {
namespace {

const wchar_t* w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// Sets the key's DACL from a security descriptor string; the owner keeps its
// implicit right to change the DACL back.
bool setDacl(const std::u16string& path, const wchar_t* sddl) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, w(path), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    PSECURITY_DESCRIPTOR sd = nullptr;
    bool ok = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    if (sd) LocalFree(sd);
    RegCloseKey(key);
    return ok;
}

}  // namespace

struct RegistrySandbox::Impl {
    std::vector<std::u16string> created;     // roots of the trees to delete
    std::vector<std::u16string> restricted;  // keys whose DACL was narrowed
};

RegistrySandbox::RegistrySandbox() : impl_(std::make_unique<Impl>()) {}

RegistrySandbox::~RegistrySandbox() {
    for (const auto& path : impl_->restricted) (void)setDacl(path, L"D:P(A;;KA;;;WD)");
    for (auto it = impl_->created.rbegin(); it != impl_->created.rend(); ++it)
        (void)RegDeleteTreeW(HKEY_LOCAL_MACHINE, w(*it));
}

bool RegistrySandbox::simulated() { return false; }

bool RegistrySandbox::createKey(const std::u16string& path) {
    // Remember the topmost key this call brings into being.
    std::u16string prefix;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t next = path.find(u'\\', pos);
        if (next == std::u16string::npos) next = path.size();
        prefix = path.substr(0, next);
        HKEY probe = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, w(prefix), 0, KEY_READ, &probe) == ERROR_SUCCESS) {
            RegCloseKey(probe);
        } else {
            impl_->created.push_back(prefix);
            break;
        }
        pos = next + 1;
    }
    HKEY key = nullptr;
    const LSTATUS rc =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, w(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool RegistrySandbox::setValue(const std::u16string& keyPath, const std::u16string& name, uint32_t type,
                               const std::string& data) {
    if (!createKey(keyPath)) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, w(keyPath), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    const LSTATUS rc = RegSetValueExW(key, w(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                      static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool RegistrySandbox::setString(const std::u16string& keyPath, const std::u16string& name,
                                const std::u16string& text, uint32_t type) {
    return setValue(keyPath, name, type, utf16Bytes(text + u'\0'));
}

bool RegistrySandbox::deleteTree(const std::u16string& path) {
    // With a subkey name, RegDeleteTreeW removes that key itself as well.
    return RegDeleteTreeW(HKEY_LOCAL_MACHINE, w(path)) == ERROR_SUCCESS;
}

bool RegistrySandbox::denyWrite(const std::u16string& path) {
    if (!setDacl(path, L"D:P(A;;KR;;;WD)")) return false;
    impl_->restricted.push_back(path);
    return true;
}

bool RegistrySandbox::denyAll(const std::u16string& path) {
    if (!setDacl(path, L"D:P")) return false;
    impl_->restricted.push_back(path);
    return true;
}

}  // namespace testsupport
