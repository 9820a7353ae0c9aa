// The run's record, asked for with /log or /log=FOLDER: one file,
// korvalend.log, with a line per event the run tells, in the format of the
// deployment tools' log viewers (CMTrace), so that a failed removal on a
// machine nobody watches can be read afterwards. Written only in a folder a
// standard user cannot plant a link or a file in; without the option nothing
// is opened and nothing changes. The record only listens: a record that
// cannot be written never changes what the run does or its exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "korvalend/observer.h"
#include "korvalend/safety.h"
#include "platform/record.h"

namespace korvalend {

inline const std::string SLOGOPTION = "/log";
inline const std::string SLOG_DEFAULT_FOLDER = "%SystemRoot%\\Logs\\Korvalend";
inline const std::string SLOG_FILE = "korvalend.log";
inline const std::string SLOG_OLD_FILE = "korvalend.lo_";
// A record over this size is renamed to SLOG_OLD_FILE when a run begins.
constexpr uint64_t kLogRotateBytes = 1024 * 1024;
// The access list of a record folder the run creates: SYSTEM and
// Administrators full control, Users read.
inline const std::string SLOG_FOLDER_SDDL = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)";
inline const std::string STRUSTEDINSTALLER_SID = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// "/log" or "/log=FOLDER" anywhere among the arguments, written exactly so
// (the first one counts). "/log" records in SLOG_DEFAULT_FOLDER; FOLDER may be
// quoted and hold environment variables, and "/" reads as "\". An empty
// FOLDER stays empty, a folder refused.
struct TLogOption {
    bool given = false;
    std::string folder;  // expanded, unquoted, "\" separated, no trailing "\"
};
[[nodiscard]] TLogOption PARSELOGOPTION(const std::vector<std::string>& args);
// ARG is "/log" or "/log=...".
[[nodiscard]] bool ISLOGOPTION(const std::string& arg);

// Why FOLDER may not hold the record by its path alone: the form refusals of
// an install folder, then a fixed local drive (no share, no mapped or
// removable drive), nothing in a profile or a folder of profiles (so not
// C:\Users\Public either), nothing in a temporary folder, and not ProgramData
// itself. NONE when the path passes.
[[nodiscard]] TREFUSAL LOGFOLDERPATHREFUSAL(const std::string& folder);

// LOGFOLDERPATHREFUSAL, then the disk: no link or junction on the way, the
// folder a directory and no link, its access list granting no account but
// SYSTEM, Administrators, TrustedInstaller and the running one a right to
// plant something, and its owner one of them. A missing last component is
// created with SLOG_FOLDER_SDDL (CREATED then set); a missing parent is
// refused. NONE when the record may be written there.
[[nodiscard]] TREFUSAL ACCEPTLOGFOLDER(const std::string& folder, bool& created);

// The parameters that have Msiexec.exe write its own log of the uninstall of
// the entry ENTRYNAME into FOLDER: ` /L*v "FOLDER\msiexec-<entry>.log"`, each
// character of the key name a file name cannot hold made "_".
[[nodiscard]] std::string MSIEXECLOGPARAMETERS(const std::string& folder, const std::string& entryName);

// CMTrace's line types.
enum class TLogType { Info = 1, Warning = 2, Error = 3 };

// One line of the record without its line break: MESSAGE (ANSI) with CR and
// LF made blanks and "]LOG]!>" made "]LOG]!)", in UTF-8.
[[nodiscard]] std::string CMTRACELINE(const std::string& message, TLogType type, const platform::LocalTime& at,
                                      uint32_t thread);

// The record file in FOLDER, opened to append (one over kLogRotateBytes
// renamed first); every event it hears is a line. Not opened when the file
// cannot be (read-only, held without write sharing); after a write that
// fails it writes nothing more.
class TRunRecord final : public TRemovalObserver {
public:
    explicit TRunRecord(const std::string& folder);
    [[nodiscard]] bool opened() const { return file_.valid(); }
    // The first lines: the program's version, ARGS, the account, the
    // installer options.
    void begin(const std::vector<std::string>& args);

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
    void write(TLogType type, const std::string& message) noexcept;
    platform::UniqueAppendFile file_;
    bool byteOrderMark_ = false;  // the file is new: the first line brings the mark
    uint32_t thread_ = 0;
};

// For one run: when ARGS ask for a record and its folder is accepted and the
// file opens, the record listens beside the observer installed before it and
// SLOGFOLDER names its folder; a refused folder or a file that does not open
// is told to that observer, and the run goes on without. Undone when the
// scope ends.
class TRecordScope {
public:
    explicit TRecordScope(const std::vector<std::string>& args);
    ~TRecordScope();
    TRecordScope(const TRecordScope&) = delete;
    TRecordScope& operator=(const TRecordScope&) = delete;

private:
    std::optional<TRunRecord> record_;
    std::optional<TObserverPair> both_;
    std::optional<TObserverScope> scope_;
};

}  // namespace korvalend
