// Test-only file fixture for the contract tests: a scratch folder to fill
// with files and folders of chosen attributes. On the simulated build it owns
// a fresh machine; on Windows it is a new folder under the temp folder,
// removed with everything left in it at the end.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace testsupport {

class FileLab {
public:
    FileLab();
    // A scratch folder at the system drive's root rather than in the temp folder.
    struct AtDriveRoot {};
    explicit FileLab(AtDriveRoot);
    ~FileLab();
    FileLab(const FileLab&) = delete;
    FileLab& operator=(const FileLab&) = delete;

    // The scratch folder, without a trailing backslash.
    [[nodiscard]] const std::string& root() const;
    // Paths below are relative to root(); parents must exist.
    bool addDirectory(const std::string& relative, uint32_t attributes = 0);
    bool addFile(const std::string& relative, const std::string& content = {}, uint32_t attributes = 0);
    // A junction at RELATIVE to the folder TARGET (a full path). Wine keeps no
    // junctions: there it is a Unix symbolic link, which Wine reports as a
    // reparse point.
    bool addJunction(const std::string& relative, const std::string& target);
    // Every account may write in the folder RELATIVE: its access list grants
    // Everyone full control (under Wine, which builds access lists from the
    // Unix mode, the folder's mode becomes 0777).
    bool openToEveryone(const std::string& relative);
    // Whether the Recycle Bin holds an item that came from this full path:
    // nothing when this machine's bin cannot be looked into.
    [[nodiscard]] std::optional<bool> recycled(const std::string& fullPath) const;
    // Whether the system's ANSI code page is CODEPAGE: the simulated machine
    // takes it; on Windows it is the process's own (under Wine, chosen by the
    // locale the test starts in: LC_ALL=ja_JP.UTF-8 gives 932).
    [[nodiscard]] bool useCodePage(uint32_t codePage);
    [[nodiscard]] static bool simulated();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace testsupport
