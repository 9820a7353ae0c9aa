// The preview's binding: the program reads the real machine, and every effect
// it asks for (terminating a process, starting a program, deleting a file,
// changing attributes, removing a folder, the shell's delete, the console's
// title) is recorded instead of made. Reads then see the machine as the
// effects would leave it (the overlay), so the run goes on as the real one
// would: an uninstaller started is taken to succeed and its Uninstall entry
// reads as gone, a path deleted reads as absent. Where the machine tells how
// an effect would end, the binding answers as the machine would: a program
// that is not there is not started, a read-only file is not deleted. The
// preview never waits: a wait on a program it "started" ends at once, and it
// never waits on anything else either, nor pauses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/handle.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace platform::plan {

// One effect the run asked for.
struct Effect {
    enum class Kind { Terminate, Launch, DeleteFile, RemoveDirectory, SetAttributes, ShellDelete };
    Kind kind = Kind::Launch;
    std::string path;                // the file or folder; for Launch the program
    std::string parameters;          // Launch
    std::vector<std::string> paths;  // ShellDelete: each path it reaches, wildcards expanded
    bool toRecycleBin = false;       // ShellDelete that allows undo
    uint32_t attributes = 0;         // SetAttributes
    uint32_t processId = 0;          // Terminate
    std::string imageName;           // Terminate
    bool waited = false;             // Launch: the run waits for its end
    std::string assumed;             // Launch: why its start is assumed rather than known
};

// Told of each effect as it is recorded, and of each wait the preview skips.
class Listener {
public:
    virtual ~Listener() = default;
    virtual void effect(std::size_t index, const Effect& effect) = 0;
    virtual void waitSkipped(std::size_t launchIndex, const Effect& launch) = 0;
    // A launch the shell would refuse, and why: it is not recorded.
    virtual void launchRefused(const Effect& launch, const std::string& reason) {
        (void)launch;
        (void)reason;
    }
};

// Makes the effects after all. Only tests install one, to compare a plan with
// the run it announces on one machine; the preview has none and so neither
// links nor imports an effect. With a performer the overlay stays empty: the
// machine itself changes.
class Performer {
public:
    virtual ~Performer() = default;
    virtual int32_t terminateProcess(Handle process, uint32_t exitCode) = 0;
    virtual int32_t shellExecuteExA(ShellExecuteInfoA& info) = 0;
    virtual bool deleteFileA(const std::string& path) = 0;
    virtual bool removeDirectoryA(const std::string& path) = 0;
    virtual bool setFileAttributesA(const std::string& path, uint32_t attributes) = 0;
    virtual int32_t shFileOperationA(ShFileOpStructA& op) = 0;
    virtual uint32_t waitForInputIdle(Handle process, uint32_t milliseconds) = 0;
    virtual uint32_t waitForSingleObject(Handle object, uint32_t milliseconds) = 0;
    virtual bool releaseMutex(Handle mutex) = 0;
    virtual bool setConsoleTitleA(const char* title) = 0;
    virtual void sleepMs(uint32_t milliseconds) = 0;
};

// The record of one preview and its overlay. The newest living Recorder is
// the one the binding works on; a default one exists before any is made.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<Effect> effects;
    Listener* listener = nullptr;
    Performer* performer = nullptr;
    // The profile whose per-user folders the run reads, when the run is
    // planned for another account than the preview's own ("" when that
    // account's profile cannot be found: its folders are then unknown).
    std::optional<std::string> otherProfile;
    // The exit code the next program the preview "starts" ends with, when the
    // run can tell it will fail (0: it is taken to succeed).
    uint32_t nextExitCode = 0;

    // --- the overlay
    // The key PATH below HKEY_LOCAL_MACHINE, and all below it, read as gone
    // from now on, in the 32-bit view when WOW32 (there SOFTWARE\X is
    // SOFTWARE\WOW6432Node\X): what the preview learns an uninstaller it
    // "ran" takes.
    void hideRegistryKey(const std::string& path, bool wow32);
    // As the binding consults it: key paths are "HKLM\..." folded; file paths
    // ANSI folded.
    void hideKey(const std::u16string& path);
    [[nodiscard]] bool keyHidden(const std::u16string& path) const;
    [[nodiscard]] bool hasHiddenChildren(const std::u16string& path) const;
    void hideFile(const std::string& path);
    // 0 when visible; else the error a read of it meets (file or path not found).
    [[nodiscard]] int32_t fileHidden(const std::string& path) const;
    // The attributes a recorded change gave a path, if any.
    void setAttributes(const std::string& path, uint32_t attributes);
    [[nodiscard]] std::optional<uint32_t> attributesSet(const std::string& path) const;
    [[nodiscard]] uint64_t generation() const noexcept { return generation_; }
    // A Windows Installer product the plan uninstalled: the installer's
    // queries read it as gone from then on (codes folded). Nothing is
    // forgotten while a performer makes the effects.
    void forgetProduct(const std::u16string& productCode);
    [[nodiscard]] bool productForgotten(const std::u16string& productCode) const;

    // --- what the binding tracks about the handles it hands out
    struct KeyInfo {
        std::u16string path;
        uint64_t generation = 0;
        std::optional<std::vector<std::u16string>> visible;  // subkeys, when some are hidden
    };
    std::unordered_map<Handle, KeyInfo> keys;
    std::map<uint32_t, std::string> processNames;             // from the snapshots read
    std::set<uint32_t> terminated;
    std::unordered_map<Handle, uint32_t> processIds;  // process handles -> ids
    std::optional<int32_t> lastError;                 // set when the binding answered by itself
    std::size_t uninstallListings = 0;                // the Uninstall key's subkeys counted (one per walk)
    // Handles of the binding's own: a program it "started" or a process it
    // "opened" (the process id, the launch it stands for, and the backend's
    // handle through which it reads the process's image), and a file search
    // (the backend's search and the folder searched).
    struct Pseudo {
        uint32_t processId = 0;
        std::optional<std::size_t> launch;
        Handle reader = nullptr;
        uint32_t exitCode = 0;  // a program it "started": what it ends with
    };
    std::unordered_map<Handle, Pseudo> pseudoProcesses;
    struct Find {
        Handle backend = nullptr;
        std::string folder;
    };
    std::unordered_map<Handle, Find> finds;
    // Special-folder item lists of the binding's own, with their paths.
    std::unordered_map<Handle, std::u16string> folderLists;
    // A handle value no backend hands out, and its release.
    [[nodiscard]] static Handle newToken();
    static void dropToken(Handle token) noexcept;

    std::size_t record(Effect effect);

private:
    std::set<std::u16string> hiddenKeys_;
    std::set<std::u16string> hiddenKeyParents_;
    std::set<std::u16string> hiddenFiles_;
    std::map<std::u16string, uint32_t> attributes_;
    std::set<std::u16string> forgottenProducts_;
    uint64_t generation_ = 0;
    Recorder* previous_;
};

[[nodiscard]] Recorder& current();

// Case folding of the overlay: registry names and file paths (ANSI, read as
// UTF-16, "/" read as "\", no trailing "\").
[[nodiscard]] std::u16string foldKey(std::u16string s);
[[nodiscard]] std::u16string foldPath(const std::string& path);
// Position of the last "\" or "/" of an ANSI path that is a separator and not
// the second byte of a double-byte character; npos when there is none.
[[nodiscard]] std::size_t lastSeparator(const std::string& path);

// What the shell would do with a program name (ShellExecuteEx's lpFile,
// environment variables expanded when EXPANDVARIABLES), read from the
// machine: start it, refuse it, or start it as far as the machine can tell.
struct LaunchCheck {
    enum class Outcome { Starts, Fails, Assumed };
    Outcome outcome = Outcome::Starts;
    std::string reason;  // Fails: why not; Assumed: what leaves the doubt
};
[[nodiscard]] LaunchCheck checkLaunch(const std::string& file, bool expandVariables);

// The Uninstall key below HKLM, folded, with its trailing separator, in the
// native view and in the 32-bit one.
inline const std::u16string kUninstallKeyPath = u"HKLM\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\";
inline const std::u16string kUninstallKeyPathWow32 =
    u"HKLM\\SOFTWARE\\WOW6432NODE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\";
inline const std::u16string kWow32KeyPath = u"HKLM\\SOFTWARE\\WOW6432NODE\\";

}  // namespace platform::plan
