// File system calls (kernel32): attributes, deletion, enumeration, reading.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/handle.h"

namespace platform {

// Paths are NUL-terminated copies: a path is read up to its first NUL byte.
[[nodiscard]] uint32_t getFileAttributesA(const std::string& path);
[[nodiscard]] bool setFileAttributesA(const std::string& path, uint32_t attributes);
[[nodiscard]] bool deleteFileA(const std::string& path);
// RemoveDirectoryA; on failure getLastError() tells why.
[[nodiscard]] bool removeDirectoryA(const std::string& path);
[[nodiscard]] int32_t getLastError();
// GetDriveTypeA of a root such as "C:\" (kDriveFixed, kDriveRemote...).
[[nodiscard]] uint32_t getDriveTypeA(const std::string& rootPath);

// The two fields of WIN32_FIND_DATAA the program reads.
struct FindData {
    uint32_t attributes = 0;
    std::string name;
};

struct FindTraits : InvalidIsEmpty {
    static void close(Handle find) noexcept;  // FindClose
};
using UniqueFind = UniqueHandle<FindTraits>;

// FindFirstFileA; an empty owner when nothing matches or the folder cannot be
// read (getLastError() tells which).
[[nodiscard]] UniqueFind findFirstFileA(const std::string& pattern, FindData& data);
// FindNextFileA; false at the end (ERROR_NO_MORE_FILES) or on an error.
[[nodiscard]] bool findNextFileA(Handle find, FindData& data);

// A handle that only asks what a file or folder is.
struct FileTraits : InvalidIsEmpty {
    static void close(Handle file) noexcept;  // CloseHandle
};
using UniqueFile = UniqueHandle<FileTraits>;

// CreateFileW (path, no access rights, every sharing mode, OPEN_EXISTING,
// FILE_FLAG_BACKUP_SEMANTICS): folders open too, and a link or junction on the
// way is followed. An empty owner when the path names nothing it can open.
[[nodiscard]] UniqueFile createFileForIdentityW(const std::u16string& path);

// What tells a file from every other: the volume serial number and the file
// index that GetFileInformationByHandle gives.
struct FileIdentity {
    uint32_t volumeSerialNumber = 0;
    uint64_t fileIndex = 0;
    bool operator==(const FileIdentity&) const = default;
};
// GetFileInformationByHandle; false (and `identity` untouched) on failure.
[[nodiscard]] bool getFileIdentity(Handle file, FileIdentity& identity);

// GetLongPathNameW: the path with each short (8.3) name in its long form;
// nothing when the path names nothing that exists.
[[nodiscard]] std::optional<std::u16string> getLongPathNameW(const std::u16string& path);

// The whole content of a file, or nothing when it cannot be opened or read.
[[nodiscard]] std::optional<std::string> readWholeFile(const std::string& path);

}  // namespace platform
