#include "platform/account.h"

#include <vector>

#include "platform/handle.h"
#include "platform/win32/windows_support.h"
// After <windows.h>, which it needs.
#include <sddl.h>

namespace platform {
namespace {

struct TokenTraits : NullIsEmpty {
    static void close(Handle token) noexcept { CloseHandle(token); }
};
using UniqueToken = UniqueHandle<TokenTraits>;

struct LocalTraits : NullIsEmpty {
    static void close(Handle memory) noexcept { LocalFree(memory); }
};
using UniqueLocal = UniqueHandle<LocalTraits>;

}  // namespace

Account currentAccount() {
    Account out;
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return out;
    const UniqueToken token(raw);
    DWORD size = 0;
    (void)GetTokenInformation(raw, TokenUser, nullptr, 0, &size);
    if (size == 0) return out;
    // TOKEN_USER holds a pointer into the same buffer: keep it aligned.
    std::vector<unsigned long long> buffer(size / sizeof(unsigned long long) + 1);
    if (!GetTokenInformation(raw, TokenUser, buffer.data(), size, &size)) return out;
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    char* text = nullptr;
    if (ConvertSidToStringSidA(sid, &text)) {
        const UniqueLocal owned(text);
        out.sid = text;
    }
    char name[256] = {}, domain[256] = {};
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use;
    if (LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
        out.name = domain[0] != '\0' ? std::string(domain) + "\\" + name : std::string(name);
    return out;
}

}  // namespace platform
