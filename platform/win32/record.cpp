#include "platform/record.h"

#include "platform/handle.h"
#include "platform/win32/windows_support.h"
// After <windows.h>, which they need.
#include <aclapi.h>
#include <sddl.h>

namespace platform {
namespace {

struct LocalTraits : NullIsEmpty {
    static void close(Handle memory) noexcept { LocalFree(memory); }
};
using UniqueLocal = UniqueHandle<LocalTraits>;

// A SID in its string form; "" when it cannot be converted.
std::string sidText(PSID sid) {
    wchar_t* text = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &text)) return {};
    const UniqueLocal owned(text);
    std::string out;
    for (const wchar_t* p = text; *p != L'\0'; ++p) out += static_cast<char>(*p);  // "S-1-..." is ASCII
    return out;
}

}  // namespace

std::optional<Security> getNamedSecurityInfoW(const std::u16string& path) {
    PSID owner = nullptr;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // The path is not modified; the API takes a non-const pointer.
    std::u16string name = path;
    if (GetNamedSecurityInfoW(reinterpret_cast<wchar_t*>(name.data()), SE_FILE_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &acl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return std::nullopt;
    const UniqueLocal owned(descriptor);
    Security out;
    out.owner = sidText(owner);
    if (acl == nullptr) {
        out.nullAccessList = true;
        return out;
    }
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* raw = nullptr;
        if (!GetAce(acl, i, &raw)) return std::nullopt;
        const auto* header = static_cast<const ACE_HEADER*>(raw);
        AccessEntry entry;
        entry.flags = header->AceFlags;
        switch (header->AceType) {
            case ACCESS_ALLOWED_ACE_TYPE: {
                auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
                entry.kind = AccessEntry::Kind::Allow;
                entry.mask = ace->Mask;
                entry.sid = sidText(&ace->SidStart);
                break;
            }
            case ACCESS_DENIED_ACE_TYPE: {
                auto* ace = static_cast<ACCESS_DENIED_ACE*>(raw);
                entry.kind = AccessEntry::Kind::Deny;
                entry.mask = ace->Mask;
                entry.sid = sidText(&ace->SidStart);
                break;
            }
            default: entry.kind = AccessEntry::Kind::Other; break;
        }
        out.entries.push_back(std::move(entry));
    }
    return out;
}

std::optional<uint64_t> getFileSizeW(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win32::wide(path), GetFileExInfoStandard, &data)) return std::nullopt;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
    return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

LocalTime getLocalTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    LONG bias = which == TIME_ZONE_ID_INVALID ? 0 : zone.Bias;
    if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    return LocalTime{now.wYear, now.wMonth,  now.wDay,         now.wHour,
                     now.wMinute, now.wSecond, now.wMilliseconds, static_cast<int32_t>(bias)};
}

uint32_t getCurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace platform
