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

    // --- the overlay, as the preview tells it what the run's uninstallers take
    // The key PATH below HKEY_LOCAL_MACHINE, and all below it, read as gone
    // from now on, in the 32-bit view when WOW32 (there SOFTWARE\X is
    // SOFTWARE\WOW6432Node\X): what the preview learns an uninstaller it
    // "ran" takes.
    void hideRegistryKey(const std::string& path, bool wow32);
    // A Windows Installer product the plan uninstalled: the installer's
    // queries read it as gone from then on (codes folded). Nothing is
    // forgotten while a performer makes the effects.
    void forgetProduct(const std::u16string& productCode);

    // How many times the run listed the subkeys of the key PATH below
    // HKEY_LOCAL_MACHINE (in the 32-bit view when WOW32): one per walk.
    [[nodiscard]] std::size_t listings(const std::string& path, bool wow32) const;

    // What the binding keeps of this preview (the overlay itself, the handles
    // it hands out): platform/plan/binding.h, the binding's alone.
    struct Binding;
    [[nodiscard]] Binding& binding() noexcept { return *binding_; }
    [[nodiscard]] const Binding& binding() const noexcept { return *binding_; }

    std::size_t record(Effect effect);

private:
    std::unique_ptr<Binding> binding_;
    Recorder* previous_;
};

[[nodiscard]] Recorder& current();

// A file path as the overlay compares it: read as UTF-16, letter case
// folded, "/" read as "\", no trailing "\".
[[nodiscard]] std::u16string foldPath(const std::string& path);

// What the shell would do with a program name (ShellExecuteEx's lpFile,
// environment variables expanded when EXPANDVARIABLES), read from the
// machine: start it, refuse it, or start it as far as the machine can tell.
struct LaunchCheck {
    enum class Outcome { Starts, Fails, Assumed };
    Outcome outcome = Outcome::Starts;
    std::string reason;  // Fails: why not; Assumed: what leaves the doubt
};
[[nodiscard]] LaunchCheck checkLaunch(const std::string& file, bool expandVariables);

}  // namespace platform::plan
