// What the run's record asks of the machine: who may write in a folder (its
// access list and owner, advapi32), a folder made with an access list of our
// own, a file's size, its rename, a file opened to append and its writes
// (kernel32), and the local time with the time zone's bias. The effects go
// through the program's binding (backend.h); the preview's records nothing
// and writes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace platform {

constexpr int32_t kErrorDiskFull = 112;
constexpr int32_t kErrorAlreadyExists = 183;

// One entry of an access list, the SID in its string form.
struct AccessEntry {
    enum class Kind { Allow, Deny, Other };  // Other: an object or callback entry
    Kind kind = Kind::Allow;
    uint8_t flags = 0;  // the entry's inheritance flags
    uint32_t mask = 0;
    std::string sid;
};
constexpr uint8_t kInheritOnlyAce = 0x08;

// Rights on a folder that let an account plant something the run would follow.
constexpr uint32_t kFileAddFile = 0x2;           // create files / write data
constexpr uint32_t kFileAddSubdirectory = 0x4;   // append data / add a subfolder
constexpr uint32_t kFileDeleteChild = 0x40;
constexpr uint32_t kWriteDac = 0x40000;
constexpr uint32_t kWriteOwner = 0x80000;
constexpr uint32_t kGenericAll = 0x10000000;
constexpr uint32_t kGenericWrite = 0x40000000;

// A file or folder's owner and access list, as GetNamedSecurityInfoW reads them.
struct Security {
    std::string owner;            // SID string; "" when it has none
    bool nullAccessList = false;  // no access list at all: everyone may do everything
    std::vector<AccessEntry> entries;
};
// Nothing when the path names nothing or its security cannot be read.
[[nodiscard]] std::optional<Security> getNamedSecurityInfoW(const std::u16string& path);

// CreateDirectoryW with the security descriptor the SDDL text describes
// (ConvertStringSecurityDescriptorToSecurityDescriptorW); on failure
// getLastError() tells why (kErrorAlreadyExists, kErrorPathNotFound...).
[[nodiscard]] bool createDirectoryWithSecurityW(const std::u16string& path, const std::u16string& sddl);

// The size of a file (GetFileAttributesExW: nothing opened); nothing when the
// path names no file.
[[nodiscard]] std::optional<uint64_t> getFileSizeW(const std::u16string& path);

// MoveFileExW.
constexpr uint32_t kMoveFileReplaceExisting = 0x1;
[[nodiscard]] bool moveFileExW(const std::u16string& from, const std::u16string& to, uint32_t flags);

// A file opened to append to it.
struct AppendFileTraits : InvalidIsEmpty {
    static void close(Handle file) noexcept;  // CloseHandle
};
using UniqueAppendFile = UniqueHandle<AppendFileTraits>;

// CreateFileW with FILE_APPEND_DATA only, sharing read, write and delete,
// OPEN_ALWAYS: each write lands at the end, whoever else appends. CREATED is
// set when the file did not exist (ERROR_ALREADY_EXISTS tells it did). An
// empty owner when it cannot be opened (read-only, held without write
// sharing, a folder): getLastError() tells why.
[[nodiscard]] UniqueAppendFile createFileForAppendW(const std::u16string& path, bool& created);

// WriteFile of all BYTES in one call; false when fewer were written (a full disk).
[[nodiscard]] bool writeFile(Handle file, const std::string& bytes);

// GetLocalTime with the bias of the time zone in effect (GetTimeZoneInformation:
// Bias plus StandardBias or DaylightBias), in minutes: UTC = local time + bias.
struct LocalTime {
    uint16_t year = 1601;
    uint16_t month = 1;
    uint16_t day = 1;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
    int32_t biasMinutes = 0;
};
[[nodiscard]] LocalTime getLocalTime();

// GetCurrentThreadId.
[[nodiscard]] uint32_t getCurrentThreadId();

}  // namespace platform
