// Who watches the run. The run tells every step it takes: what it found, what
// it keeps and skips and why, each launch with the entry it uninstalls and how
// it ended, each process ended, each path deleted or recycled, and how it
// concludes. The program itself installs nobody; the preview
// (korvalend-plan.exe) installs an observer that prints each decision with the
// reason the run gave and learns from the launches what the machine would
// lose, and a run's record writes them down: nobody re-derives them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "korvalend/entry.h"
#include "korvalend/outcome.h"
#include "korvalend/reasons.h"
#include "korvalend/suite.h"

namespace korvalend {

// A program the run starts to uninstall one Uninstall entry.
struct TLaunch {
    std::string program;     // as handed to the shell
    std::string parameters;
    TEntryId entry;          // the entry it uninstalls
    // The Windows Installer product it uninstalls; "" for an extension's own
    // uninstaller.
    std::string productCode;
    // What of the vendor's goes with it: for a suite, the version keys below
    // its vendor key that record its install location (paths below
    // HKEY_LOCAL_MACHINE, in the entry's view).
    std::vector<std::string> vendorRecords;
    // What the machine says the launch will answer, where it says so: 1612
    // when the product's package and its source are gone; 0 otherwise.
    uint32_t expectedExitCode = 0;
};

// A launch as a person would type it: the program (quoted when it holds a
// blank) and its parameters.
[[nodiscard]] std::string COMMANDLINE(const std::string& program, const std::string& parameters);

// How a launch ended.
struct TLaunchEnd {
    enum class Kind {
        NotStarted,   // the shell could not start it (WHY says so)
        Ended,        // it ended with EXITCODE
        LeftRunning,  // it did not end within the time allowed
    };
    Kind kind = Kind::Ended;
    uint32_t exitCode = 0;
    std::string why;
    uint64_t waitedMs = 0;
};

// How a path went.
enum class TRemoval { Deleted, Recycled };

class TRemovalObserver {
public:
    virtual ~TRemovalObserver() = default;

    // Something the run found: WHAT names it ("AppID", "vendor key",
    // "install location", "product key", "product code", "help pack",
    // "language pack", "extension"...), TEXT is what was read.
    virtual void found(const std::string& what, const std::string& text) {
        (void)what;
        (void)text;
    }
    // A path a step would have taken and the run keeps, and why.
    virtual void kept(const std::string& path, const TReason& reason) {
        (void)path;
        (void)reason;
    }
    // A step (or the rest of the run) not taken, and why.
    virtual void skipped(const std::string& step, const TReason& reason) {
        (void)step;
        (void)reason;
    }
    // A wait the run may make before going on (a busy Windows Installer),
    // and once made, how long it took.
    virtual void waits(const std::string& what) { (void)what; }
    virtual void waited(const std::string& what, uint64_t milliseconds) {
        (void)what;
        (void)milliseconds;
    }
    // A suite whose removal begins, the ORDER-th of the run (from 1).
    virtual void removes(const TSuiteFacts& suite, int order) {
        (void)suite;
        (void)order;
    }
    // A launch about to be made, and how it ended.
    virtual void launches(const TLaunch& launch) { (void)launch; }
    virtual void launchEnded(const TLaunch& launch, const TLaunchEnd& end) {
        (void)launch;
        (void)end;
    }
    // A process the run asked to end (ENDED: the request was taken).
    virtual void processEnded(uint32_t processId, const std::string& image, bool ended) {
        (void)processId;
        (void)image;
        (void)ended;
    }
    // A path the run deleted for good or sent to the Recycle Bin (DONE: it
    // went).
    virtual void removed(const std::string& path, TRemoval how, bool done) {
        (void)path;
        (void)how;
        (void)done;
    }
    // The run's outcome: its exit code and the case it stands for.
    virtual void concluded(const TOutcome& outcome) { (void)outcome; }
    // The error nothing caught, as the "Error" box reports it (exit code 217).
    virtual void failed(const std::string& report) { (void)report; }
};

// The observer every step is told to: one that does nothing unless
// SETREMOVALOBSERVER installed another. Not owned; null restores the default.
[[nodiscard]] TRemovalObserver& REMOVALOBSERVER();
void SETREMOVALOBSERVER(TRemovalObserver* observer);

// Installs an observer for a scope and puts back the one it replaced on every
// way out.
class TObserverScope {
public:
    explicit TObserverScope(TRemovalObserver& observer);
    ~TObserverScope();
    TObserverScope(const TObserverScope&) = delete;
    TObserverScope& operator=(const TObserverScope&) = delete;

private:
    TRemovalObserver* previous_;
};

// Tells every event to two observers, FIRST then SECOND: the run's record
// beside whoever else listens.
class TObserverPair : public TRemovalObserver {
public:
    TObserverPair(TRemovalObserver& first, TRemovalObserver& second) : first_(first), second_(second) {}
    void found(const std::string& what, const std::string& text) override;
    void kept(const std::string& path, const TReason& reason) override;
    void skipped(const std::string& step, const TReason& reason) override;
    void waits(const std::string& what) override;
    void waited(const std::string& what, uint64_t milliseconds) override;
    void removes(const TSuiteFacts& suite, int order) override;
    void launches(const TLaunch& launch) override;
    void launchEnded(const TLaunch& launch, const TLaunchEnd& end) override;
    void processEnded(uint32_t processId, const std::string& image, bool ended) override;
    void removed(const std::string& path, TRemoval how, bool done) override;
    void concluded(const TOutcome& outcome) override;
    void failed(const std::string& report) override;

private:
    TRemovalObserver& first_;
    TRemovalObserver& second_;
};

}  // namespace korvalend
