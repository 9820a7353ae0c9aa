#include "korvalend/record.h"

#include <cstdio>

#include "fonction/dbcs.h"
#include "fonction/folders.h"
#include "korvalend/globals.h"
#include "korvalend/paths.h"
#include "platform/account.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/wintypes.h"

#ifndef KORVALEND_VERSION
#define KORVALEND_VERSION "unknown"
#endif

namespace korvalend {
namespace {

std::string folderOfOption(std::string folder) {
    if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') folder = folder.substr(1, folder.size() - 2);
    if (folder.empty()) return folder;
    folder = fonction::NORMALIZEPATHSEPARATORS(platform::expandEnvironmentStringsA(folder));
    // "C:\Logs\" names the folder "C:\Logs"; a root keeps its backslash.
    if (folder.size() > 3 && fonction::ENDSWITHBACKSLASH(folder)) folder.pop_back();
    return folder;
}

std::string expanded(const std::string& text) {
    return fonction::NORMALIZEPATHSEPARATORS(platform::expandEnvironmentStringsA(text));
}

bool samePath(const std::string& a, const std::string& b) { return SAMEORINSIDE(a, b) && SAMEORINSIDE(b, a); }

// The accounts that may write where the record is: whoever may change what
// the run itself runs as may change the run.
bool trusted(const std::string& sid, const std::string& self) {
    return sid == platform::kLocalSystemSid || sid == "S-1-5-32-544" || sid == STRUSTEDINSTALLER_SID ||
           (!self.empty() && sid == self);
}

constexpr uint32_t kPlantingRights = platform::kFileAddFile | platform::kFileAddSubdirectory |
                                     platform::kFileDeleteChild | platform::kWriteDac | platform::kWriteOwner |
                                     platform::kGenericWrite | platform::kGenericAll;

TREFUSAL securityRefusal(const platform::Security& security) {
    const std::string self = platform::currentAccount().sid;
    if (security.nullAccessList) return TREFUSAL::OPENACCESS;
    for (const platform::AccessEntry& e : security.entries) {
        // Inherit-only entries (CREATOR OWNER's among them) give nothing on
        // the folder itself; deny entries never widen.
        if ((e.flags & platform::kInheritOnlyAce) != 0 || e.kind == platform::AccessEntry::Kind::Deny) continue;
        // An object or callback entry may grant anything: not ours to guess.
        if (e.kind == platform::AccessEntry::Kind::Other) return TREFUSAL::OPENACCESS;
        if ((e.mask & kPlantingRights) != 0 && !trusted(e.sid, self)) return TREFUSAL::OPENACCESS;
    }
    // An owner may always rewrite the access list.
    if (!trusted(security.owner, self)) return TREFUSAL::FOREIGNOWNER;
    return TREFUSAL::NONE;
}

// A character a file name cannot hold: \ / : * ? " < > | and control bytes.
std::string fileNamePart(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = fonction::CHARSIZEAT(name, i);
        const auto c = static_cast<unsigned char>(name[i]);
        if (n == 1 && (c < 32 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos))
            out += '_';
        else
            out.append(name, i, n);
        i += n;
    }
    return out;
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8(const std::u16string& wide) {
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        uint32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string entryOf(const TLaunch& launch) {
    return "the Uninstall entry " + launch.entry.name + " (" + VIEWNAME(launch.entry.view) + " view)";
}

TLogType typeOf(const TReason& reason) { return reason.failure() ? TLogType::Error : TLogType::Warning; }

}  // namespace

bool ISLOGOPTION(const std::string& arg) {
    return arg == SLOGOPTION || (arg.size() > SLOGOPTION.size() && arg.starts_with(SLOGOPTION) && arg[SLOGOPTION.size()] == '=');
}

TLogOption PARSELOGOPTION(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (!ISLOGOPTION(arg)) continue;
        return TLogOption{true, folderOfOption(arg == SLOGOPTION ? SLOG_DEFAULT_FOLDER : arg.substr(SLOGOPTION.size() + 1))};
    }
    return {};
}

TREFUSAL LOGFOLDERPATHREFUSAL(const std::string& folder) {
    if (const TREFUSAL r = PATHFORMREFUSAL(folder); r != TREFUSAL::NONE) return r;
    // A share, a mapped or a removable drive: someone else's disk.
    if (!onFixedDrive(folder)) return TREFUSAL::NOTFIXEDDRIVE;
    const ProtectedFolders protectedFolders = PROFILEFOLDERS();
    for (const std::vector<std::string>* list : {&protectedFolders.profiles, &protectedFolders.profileFolders})
        for (const std::string& p : *list)
            if (SAMEORINSIDE(p, folder)) return TREFUSAL::INPROFILE;
    for (const char* temp : {"%TEMP%", "%TMP%", "%SystemRoot%\\Temp"})
        if (SAMEORINSIDE(expanded(temp), folder)) return TREFUSAL::TEMPFOLDER;
    // ProgramData lets every user create folders; its subfolders are judged
    // by their own access lists.
    const FolderPath system = SPLITFOLDERPATH(fonction::GETWINDOWSSYSTEMFOLDER());
    for (const std::string& data : {fonction::GETSPECIALFOLDERLOCATION(0x23), expanded("%ProgramData%"),
                                    system.root.empty() ? std::string() : system.root + "\\ProgramData"})
        if (samePath(data, folder)) return TREFUSAL::WELLKNOWN;
    return TREFUSAL::NONE;
}

TREFUSAL ACCEPTLOGFOLDER(const std::string& folder, bool& created) {
    created = false;
    if (const TREFUSAL r = LOGFOLDERPATHREFUSAL(folder); r != TREFUSAL::NONE) return r;
    FolderPath parts = SPLITFOLDERPATH(folder);
    if (!parts.components.empty() && parts.components.back().empty()) parts.components.pop_back();
    // Every folder on the way down from the root: each there, and none a
    // link whose target someone else chose.
    std::string at = parts.root;
    for (std::size_t i = 0; i + 1 < parts.components.size(); ++i) {
        at += "\\" + parts.components[i];
        const uint32_t attributes = platform::getFileAttributesA(at);
        if (attributes == platform::kInvalidFileAttributes || (attributes & platform::kFileAttributeDirectory) == 0)
            return TREFUSAL::NOPARENT;
        if ((attributes & platform::kFileAttributeReparsePoint) != 0) return TREFUSAL::LINK;
    }
    const uint32_t attributes = platform::getFileAttributesA(folder);
    if (attributes == platform::kInvalidFileAttributes) {
        const int32_t error = platform::getLastError();
        if (error != platform::kErrorFileNotFound && error != platform::kErrorPathNotFound) return TREFUSAL::NOSECURITY;
        if (!platform::createDirectoryWithSecurityW(platform::ansiToWide(folder), platform::ansiToWide(SLOG_FOLDER_SDDL)))
            return TREFUSAL::NOTCREATED;
        created = true;
        return TREFUSAL::NONE;
    }
    if ((attributes & platform::kFileAttributeDirectory) == 0) return TREFUSAL::NOTAFOLDER;
    if ((attributes & platform::kFileAttributeReparsePoint) != 0) return TREFUSAL::LINK;
    const std::optional<platform::Security> security = platform::getNamedSecurityInfoW(platform::ansiToWide(folder));
    if (!security) return TREFUSAL::NOSECURITY;
    return securityRefusal(*security);
}

std::string MSIEXECLOGPARAMETERS(const std::string& folder, const std::string& entryName) {
    return " /L*v \"" + inFolder(folder, "msiexec-" + fileNamePart(entryName) + ".log") + "\"";
}

std::string CMTRACELINE(const std::string& message, TLogType type, const platform::LocalTime& at, uint32_t thread) {
    std::string text;
    text.reserve(message.size());
    for (char c : message) text += c == '\r' || c == '\n' ? ' ' : c;
    // The viewer would end the message at its own closing mark.
    const std::string mark = "]LOG]!>";
    for (std::size_t p = text.find(mark); p != std::string::npos; p = text.find(mark, p + mark.size()))
        text[p + mark.size() - 1] = ')';
    char stamp[128];
    const int32_t bias = at.biasMinutes;
    std::snprintf(stamp, sizeof stamp, "%02u:%02u:%02u.%03u%c%03d\" date=\"%02u-%02u-%04u", unsigned{at.hour},
                  unsigned{at.minute}, unsigned{at.second}, unsigned{at.milliseconds}, bias < 0 ? '-' : '+',
                  bias < 0 ? -bias : bias, unsigned{at.month}, unsigned{at.day}, unsigned{at.year});
    return "<![LOG[" + utf8(platform::ansiToWide(text)) + "]LOG]!><time=\"" + stamp +
           "\" component=\"korvalend\" context=\"\" type=\"" + std::to_string(static_cast<int>(type)) +
           "\" thread=\"" + std::to_string(thread) + "\" file=\"\">";
}

TRunRecord::TRunRecord(const std::string& folder) {
    const std::u16string path = platform::ansiToWide(inFolder(folder, SLOG_FILE));
    if (const std::optional<uint64_t> size = platform::getFileSizeW(path); size && *size > kLogRotateBytes)
        // When the old one cannot go (held without delete sharing), the
        // record grows on.
        (void)platform::moveFileExW(path, platform::ansiToWide(inFolder(folder, SLOG_OLD_FILE)),
                                    platform::kMoveFileReplaceExisting);
    file_ = platform::createFileForAppendW(path, byteOrderMark_);
    thread_ = platform::getCurrentThreadId();
}

void TRunRecord::write(TLogType type, const std::string& message) noexcept {
    if (!file_) return;
    try {
        std::string bytes = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
        bytes += CMTRACELINE(message, type, platform::getLocalTime(), thread_) + "\r\n";
        byteOrderMark_ = false;
        // One write a line: another run appending at the same time never
        // splits it. After a failed one (a full disk) nothing more is tried.
        if (!platform::writeFile(file_.get(), bytes)) file_.reset();
    } catch (...) {
        file_.reset();
    }
}

void TRunRecord::begin(const std::vector<std::string>& args) {
    write(TLogType::Info, std::string("korvalend ") + KORVALEND_VERSION);
    std::string line;
    for (const std::string& arg : args)
        line += " " + (arg.empty() || arg.find(' ') != std::string::npos ? "\"" + arg + "\"" : arg);
    write(TLogType::Info, "Arguments:" + (line.empty() ? std::string(" none") : line));
    const platform::Account account = platform::currentAccount();
    write(TLogType::Info, "Account: " + (account.name.empty() ? std::string("unknown") : account.name) + " (" +
                              (account.sid.empty() ? std::string("unknown SID") : account.sid) + ")");
    write(TLogType::Info, "Installer options: " + SPARAM);
}

void TRunRecord::found(const std::string& what, const std::string& text) {
    write(TLogType::Info, "Found " + what + ": " + text);
}

void TRunRecord::kept(const std::string& path, const TReason& reason) {
    write(typeOf(reason), "Kept " + path + ": " + reason.text());
}

void TRunRecord::skipped(const std::string& step, const TReason& reason) {
    write(typeOf(reason), "Skipped " + step + ": " + reason.text());
}

void TRunRecord::waits(const std::string& what) { write(TLogType::Info, "Waits, if need be, for " + what); }

void TRunRecord::waited(const std::string& what, uint64_t milliseconds) {
    write(TLogType::Info, "Waited " + std::to_string(milliseconds) + " ms for " + what);
}

void TRunRecord::removes(const TSuiteFacts& suite, int order) {
    write(TLogType::Info, "Removes suite " + std::to_string(order) + ": " + suite.displayName + " (" +
                              VIEWNAME(suite.view) + " view), vendor key " + suite.vendorKey + ", location " +
                              suite.SCHEMOPEN + ", product key " + suite.SVERSOOO + ", product code " +
                              suite.SPRODUCTCODE);
}

void TRunRecord::launches(const TLaunch& launch) {
    write(TLogType::Info, "Starts " + COMMANDLINE(launch.program, launch.parameters) + " for " + entryOf(launch));
}

void TRunRecord::launchEnded(const TLaunch& launch, const TLaunchEnd& end) {
    const std::string after = " after " + std::to_string(end.waitedMs) + " ms";
    switch (end.kind) {
        case TLaunchEnd::Kind::NotStarted:
            write(TLogType::Error, "Could not start the uninstaller of " + entryOf(launch) + ": " + end.why);
            return;
        case TLaunchEnd::Kind::LeftRunning:
            write(TLogType::Error, "The uninstaller of " + entryOf(launch) + " did not end" + after + ": left running");
            return;
        case TLaunchEnd::Kind::Ended: {
            const bool succeeded = end.exitCode == 0 || ISRESTARTCODE(end.exitCode);
            write(succeeded ? TLogType::Info : TLogType::Error, "The uninstaller of " + entryOf(launch) +
                                                                    " ended with exit code " +
                                                                    std::to_string(end.exitCode) + after);
            return;
        }
    }
}

void TRunRecord::processEnded(uint32_t processId, const std::string& image, bool ended) {
    const std::string which = image + " (process id " + std::to_string(processId) + ")";
    if (ended) write(TLogType::Info, "Ended " + which);
    else write(TLogType::Error, "Could not end " + which);
}

void TRunRecord::removed(const std::string& path, TRemoval how, bool done) {
    if (how == TRemoval::Deleted) write(done ? TLogType::Info : TLogType::Error, (done ? "Deleted " : "Could not delete ") + path);
    else write(done ? TLogType::Info : TLogType::Error, (done ? "Sent to the Recycle Bin: " : "Could not send to the Recycle Bin: ") + path);
}

void TRunRecord::concluded(const TOutcome& outcome) {
    write(outcome.removed() ? TLogType::Info : TLogType::Error,
          "Exit code " + std::to_string(static_cast<uint32_t>(outcome.code)) + ": " + outcome.words);
}

void TRunRecord::failed(const std::string& report) {
    write(TLogType::Error, "Error: " + report);
    concluded(UNEXPECTEDERROR());
}

TRecordScope::TRecordScope(const std::vector<std::string>& args) {
    SLOGFOLDER.clear();
    const TLogOption option = PARSELOGOPTION(args);
    if (!option.given) return;
    TRemovalObserver& observer = REMOVALOBSERVER();
    const std::string step = "the run's record in " + (option.folder.empty() ? std::string("\"\"") : option.folder);
    bool created = false;
    if (const TREFUSAL r = ACCEPTLOGFOLDER(option.folder, created); r != TREFUSAL::NONE) {
        observer.skipped(step, r);
        return;
    }
    record_.emplace(option.folder);
    if (!record_->opened()) {
        record_.reset();
        observer.skipped(step, TREFUSAL::NOTOPENED);
        return;
    }
    both_.emplace(observer, *record_);
    scope_.emplace(*both_);
    SLOGFOLDER = option.folder;
    record_->begin(args);
    REMOVALOBSERVER().found("run's record", inFolder(option.folder, SLOG_FILE) +
                                                (created ? " (its folder created for it)" : ""));
}

TRecordScope::~TRecordScope() { SLOGFOLDER.clear(); }

}  // namespace korvalend
