// Windows constants the wrappers and their callers share. Named with a k
// prefix so they never collide with the macros of <windows.h>.
#pragma once

#include <cstdint>

namespace platform {

// System error codes.
constexpr int32_t kErrorSuccess = 0;
constexpr int32_t kErrorFileNotFound = 2;
constexpr int32_t kErrorPathNotFound = 3;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidHandle = 6;
constexpr int32_t kErrorNoMoreFiles = 18;
constexpr int32_t kErrorSharingViolation = 32;
constexpr int32_t kErrorInvalidParameter = 87;
constexpr int32_t kErrorModNotFound = 126;
constexpr int32_t kErrorDirNotEmpty = 145;
constexpr int32_t kErrorMoreData = 234;
constexpr int32_t kErrorNoMoreItems = 259;
constexpr int32_t kErrorUnknownProduct = 1605;
constexpr int32_t kErrorUnknownProperty = 1608;
constexpr int32_t kErrorBadConfiguration = 1610;
constexpr int32_t kErrorInstallSourceAbsent = 1612;  // neither the cached package nor its source is there

// Registry value types.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;
constexpr uint32_t kRegQword = 11;

// Registry access rights.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr uint32_t kKeyNotify = 0x0010;
constexpr uint32_t kKeyWow64_64Key = 0x0100;
constexpr uint32_t kKeyWow64_32Key = 0x0200;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyAllAccess = 0xF003F;

// File attributes.
constexpr uint32_t kFileAttributeReadonly = 0x1;
constexpr uint32_t kFileAttributeHidden = 0x2;
constexpr uint32_t kFileAttributeSystem = 0x4;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;
constexpr uint32_t kFileAttributeNormal = 0x80;
constexpr uint32_t kFileAttributeTemporary = 0x100;
constexpr uint32_t kFileAttributeReparsePoint = 0x400;
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// Drive types (GetDriveType).
constexpr uint32_t kDriveUnknown = 0;
constexpr uint32_t kDriveNoRootDir = 1;
constexpr uint32_t kDriveRemovable = 2;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kDriveRemote = 4;
constexpr uint32_t kDriveCdrom = 5;

// Waits.
constexpr uint32_t kInfinite = 0xFFFFFFFF;
constexpr uint32_t kWaitObject0 = 0x0;
constexpr uint32_t kWaitTimeout = 0x102;
constexpr uint32_t kWaitFailed = 0xFFFFFFFF;

}  // namespace platform
