// The simulated shell: programs that ShellExecuteEx can start, the
// environment it expands, the thread's message queue and a log of every
// launch request, so that tests assert exact command lines.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"

namespace sim {

class Machine;
class FileSystem;

// One ShellExecuteEx request as the shell received it. A null text pointer is
// recorded as an absent value.
struct LaunchRecord {
    uint32_t cbSize = 0;
    uint32_t mask = 0;
    bool hwndNull = true;
    std::optional<std::string> file;
    std::optional<std::string> parameters;
    std::optional<std::string> verb;
    std::optional<std::string> directory;
    int32_t show = 0;
    std::string resolvedFile;  // the file after environment expansion
    bool succeeded = false;
    int32_t error = 0;         // the last-error code on failure
    uint32_t pid = 0;          // the process started, 0 for none
    uint64_t atMs = 0;
};

// What a running program sees and may do.
struct ProgramRun {
    Machine& machine;
    std::string file;        // as resolved
    std::string parameters;  // empty when none were passed
    std::string directory;
    uint32_t pid = 0;        // 0 when handed to an already running instance
    uint64_t startMs = 0;
    uint64_t runMs = 0;      // the program's run time; the body may change it
    // Posts a message to the caller's queue `afterMs` after the start.
    void postMessage(platform::Handle hwnd, uint32_t message, uint64_t wParam = 0, int64_t lParam = 0,
                     uint64_t afterMs = 0);
};

struct Program {
    // Runs at the start; may change the registry, files, post messages.
    // Returns the exit code.
    std::function<uint32_t(ProgramRun&)> body;
    uint64_t runMs = 0;       // simulated run time
    uint64_t idleAfterMs = 0; // WaitForInputIdle returns this long after the start
    // The shell hands the command to a running instance: success, no process.
    bool handedToRunningInstance = false;
    // Non-zero: the launch fails with this error (access denied, say).
    int32_t launchError = 0;
    // Every wait on its process fails (WAIT_FAILED) while it runs.
    bool waitFails = false;
};

struct QueuedMessage {
    platform::Handle hwnd = nullptr;
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    uint64_t dueMs = 0;  // visible to PeekMessage from this time on
};

struct DispatchRecord {
    platform::Handle hwnd = nullptr;
    uint32_t message = 0;
    uint64_t wParam = 0;
    uint64_t atMs = 0;
};

class Shell {
public:
    Shell();

    // Registers a program at a full path (matched without regard to case) and
    // puts its file there unless one is; it starts only while that file is there.
    void addProgram(const std::string& path, Program program);
    [[nodiscard]] const Program* findProgram(const std::string& path) const;
    // Folders searched for a bare file name, in order, after the App Paths key.
    std::vector<std::string> searchPath{"C:\\Windows\\system32", "C:\\Windows"};

    // Environment variables, names compared without regard to ASCII case.
    void setEnv(const std::string& name, const std::string& value);
    [[nodiscard]] std::optional<std::string> getEnv(const std::string& name) const;
    // ExpandEnvironmentStrings: %NAME% of a defined variable is replaced; an
    // unknown one, or a lone %, stays as written.
    [[nodiscard]] std::string expand(const std::string& text) const;

    // The thread's message queue.
    void post(platform::Handle hwnd, uint32_t message, uint64_t wParam, int64_t lParam, uint64_t dueMs);
    std::vector<QueuedMessage> queue;
    std::vector<DispatchRecord> dispatched;
    int translated = 0;
    int peeks = 0;
    // Window procedures by window handle, called by DispatchMessage.
    std::map<platform::Handle, std::function<int64_t(uint32_t message, uint64_t wParam, int64_t lParam)>> windows;

    std::vector<LaunchRecord> launches;
    // Every wait on a process handle: the time limit asked for, in order.
    std::vector<uint32_t> waitSlices;
    std::vector<uint32_t> idleWaits;
    int32_t lastError = 0;

private:
    friend class Machine;
    FileSystem* files_ = nullptr;               // where programs' files go
    std::map<std::string, Program> programs_;  // key: upper-cased path
    std::map<std::string, std::string> env_;   // key: upper-cased name
};

}  // namespace sim
