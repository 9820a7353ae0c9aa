// The simulated file system, special folders and Recycle Bin.
//
// Drives and network shares hold trees of nodes. Names compare without
// regard to case (code page 1252 folded as NTFS does; in code page 932 ASCII
// letters only), and a folder enumerates its entries sorted that way, with
// "." and ".." first except at a root. A junction is a directory entry
// carrying the reparse-point bit whose contents are another folder's: paths
// walk through it, while deleting or removing it touches only the link. An
// entry may also carry a short (8.3) name that paths may use in place of its
// own. Each entry has a file index of its own, unique on the machine. Paths
// are ANSI, "\" or "/" separated (a second byte 0x5C of a code page 932
// character separates nothing), absolute ("C:\..." or "\\server\share\...")
// or relative to currentDirectory, and end at their first NUL as C strings do.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/record.h"

namespace sim {

struct FsNode {
    std::string name;  // as it was created
    bool directory = false;
    uint32_t attributes = 0;     // the settable bits: read-only, hidden, system, archive, temporary...
    std::string content;         // a file's bytes
    std::string junctionTarget;  // not empty: a directory junction to that folder
    std::string shortName;       // not empty: its 8.3 name ("PROGRA~1")
    uint32_t volumeSerial = 0;   // with the file index, what GetFileInformationByHandle tells of it
    uint64_t fileIndex = 0;
    bool refuseDelete = false;   // DeleteFile fails with a sharing violation (the file is open)
    bool refuseRemove = false;   // RemoveDirectory fails with a sharing violation (a process's cwd)
    // A folder whose permissions keep the running account out (another
    // account's profile): it is seen, but what it holds cannot be listed or read.
    bool unreadable = false;
    // Its owner and access list in SDDL ("O:SYD:P(A;OICI;FA;;;SY)"); empty:
    // kDefaultSecurity.
    std::string security;
    // Another program holds it open, sharing only these (read 1, write 2,
    // delete 4).
    std::optional<uint32_t> heldShare;
    std::map<std::u16string, std::unique_ptr<FsNode>> children;  // keyed by folded name

    [[nodiscard]] bool isJunction() const noexcept { return directory && !junctionTarget.empty(); }
    // GetFileAttributes' answer: the settable bits plus directory and reparse
    // point, or FILE_ATTRIBUTE_NORMAL for a file with none.
    [[nodiscard]] uint32_t reportedAttributes() const noexcept;
    [[nodiscard]] std::unique_ptr<FsNode> clone() const;
};

// What the Recycle Bin received: the path it came from and a copy of it.
struct RecycledItem {
    std::string originalPath;
    std::unique_ptr<FsNode> node;
};

// One SHFileOperation call as the shell received it.
struct FileOpRecord {
    uint32_t func = 0;
    uint16_t flags = 0;
    uint64_t owner = 0;
    std::vector<std::string> sources;
    int32_t result = 0;
};

struct FindEntry {
    uint32_t attributes = 0;
    std::string name;
};

// What Windows gives C:\Windows\Logs: owned by TrustedInstaller; SYSTEM and
// Administrators may change it, Users read it, CREATOR OWNER has full control
// of what it creates (inherit-only).
extern const std::string kDefaultSecurity;

class FileSystem {
public:
    FileSystem();
    ~FileSystem();
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;

    // --- seeding: parents are created as needed; an existing entry is replaced
    FsNode& addDirectory(const std::string& path, uint32_t attributes = 0);
    FsNode& addFile(const std::string& path, const std::string& content = {}, uint32_t attributes = 0x20);
    FsNode& addJunction(const std::string& path, const std::string& target);
    // Gives an existing entry a short (8.3) name.
    void setShortName(const std::string& path, const std::string& shortName);

    // --- inspection; the last component is never followed through a junction
    [[nodiscard]] FsNode* find(const std::string& path);
    [[nodiscard]] bool exists(const std::string& path) { return find(path) != nullptr; }
    [[nodiscard]] bool isDirectory(const std::string& path);
    [[nodiscard]] std::optional<std::string> read(const std::string& path);
    // Names of a folder's entries in enumeration order, without "." and "..".
    [[nodiscard]] std::vector<std::string> list(const std::string& folder);
    // The Recycle Bin's item for a path, or null.
    [[nodiscard]] const RecycledItem* recycled(const std::string& originalPath) const;

    // --- the operations behind the wrappers, with Windows' results; failures set lastError
    [[nodiscard]] uint32_t getAttributes(const std::string& path);
    bool setAttributes(const std::string& path, uint32_t attributes);
    bool deleteFile(const std::string& path);
    bool removeDirectory(const std::string& path);
    // FindFirstFile's view of a pattern: every entry it would return, in order.
    bool enumerate(const std::string& pattern, std::vector<FindEntry>& out);
    // CreateFileW for a file's identity (walking through junctions, the last
    // component too): a handle, or null; and its volume serial number and file
    // index. Handles stay valid when their entry goes.
    void* openIdentity(const std::string& path);
    bool identity(void* handle, uint32_t& volumeSerialNumber, uint64_t& fileIndex) const;
    void closeIdentity(void* handle);
    // The drive's file system keeps no file index: GetFileInformationByHandle
    // fails there (as over some network redirectors).
    void keepNoFileIndex(char drive) { noFileIndex_.insert(0x5EED0000u | static_cast<unsigned char>(drive & ~0x20)); }
    [[nodiscard]] int openIdentities() const noexcept { return static_cast<int>(identities_.size()); }
    // GetLongPathName: each component as the entry's own name; nothing when
    // the path names nothing.
    [[nodiscard]] std::optional<std::string> longPath(const std::string& path);
    // SHFileOperation(FO_DELETE) over a source list; 0 on success.
    int32_t shellDelete(const std::vector<std::string>& sources, uint16_t flags);

    // --- the run's record: security, folders made with it, renames, appends
    void setSecurity(const std::string& path, const std::string& sddl);
    // The owner and access list of what the path names, a junction followed;
    // nothing when it names nothing or the text is no SDDL this model reads.
    [[nodiscard]] std::optional<platform::Security> security(const std::string& path);
    // CreateDirectory with a security descriptor: the parent must exist, the
    // entry must not.
    bool createDirectory(const std::string& path, const std::string& sddl);
    // MoveFileEx of a file; REPLACE: an existing file in TO's place goes.
    // Refused while another program holds FROM without delete sharing.
    bool move(const std::string& from, const std::string& to, bool replace);
    // CreateFile(FILE_APPEND_DATA, share all, OPEN_ALWAYS): a handle, or null.
    void* openAppend(const std::string& path, bool& created);
    bool append(void* handle, const std::string& bytes);
    void closeAppend(void* handle) { appends_.erase(handle); }
    [[nodiscard]] int openAppends() const noexcept { return static_cast<int>(appends_.size()); }
    // Another program holds the file open sharing only SHARE.
    void hold(const std::string& path, uint32_t share);
    // The drive has no room left: every write there fails.
    void fillDisk(char drive) { fullDrives_.insert(static_cast<char>(drive & ~0x20)); }

    // --- open find handles
    void* openFind(std::vector<FindEntry> entries);
    bool nextFind(void* handle, FindEntry& entry);
    void closeFind(void* handle);
    [[nodiscard]] int openFinds() const noexcept { return static_cast<int>(finds_.size()); }

    // --- system and special folders
    std::string systemDirectory = "C:\\Windows\\system32";
    bool systemDirectoryFails = false;  // GetSystemDirectoryA answers 0
    void setSpecialFolder(int32_t csidl, const std::string& path);
    // A folder whose name the ANSI code page may lack (a user named with an "L"
    // with stroke): kept as UTF-16; no folder is created for it.
    void setSpecialFolder(int32_t csidl, const std::u16string& path);
    // SHGetSpecialFolderLocation fails for it.
    void makeUnresolvable(int32_t csidl);
    // It resolves, but its item list has no file system path.
    void makePathless(int32_t csidl);
    [[nodiscard]] std::optional<std::u16string> specialFolderPath(int32_t csidl, bool& pathless) const;
    void* handOutIdList(int32_t csidl);
    [[nodiscard]] const int32_t* idListFolder(void* list) const;
    void releaseIdList(void* list);
    int idListsHandedOut = 0;
    int idListsReleased = 0;
    int badIdListReleases = 0;  // a release of something never handed out, or twice

    // --- drive types: a drive that exists is fixed unless set otherwise
    void setDriveType(char drive, uint32_t type);
    // A share ("\\server\share\") that holds something is a network drive.
    [[nodiscard]] uint32_t driveType(const std::string& rootPath);

    std::vector<RecycledItem> recycleBin;
    std::vector<FileOpRecord> fileOps;
    int32_t lastError = 0;
    std::string currentDirectory = "C:\\";

private:
    struct Location {
        FsNode* parent = nullptr;  // the real (resolved) folder holding the entry
        std::u16string key;
        FsNode* node = nullptr;  // null when the entry does not exist
        bool parentMissing = false;
        bool denied = false;  // a folder on the way cannot be read
        [[nodiscard]] int32_t missing() const;  // the error of a path that names nothing
    };
    // A share is held like a drive under a key below 32; `add` makes one.
    bool shareOf(const std::string& path, std::size_t& rest, char& drive, bool add);
    bool split(const std::string& path, char& drive, std::vector<std::string>& parts, bool addShare = false);
    // followLast: walk through a junction in the last component too.
    Location locate(const std::string& path, bool followLast, int depth = 0);
    FsNode* resolveFolder(const std::string& path, int depth = 0);
    FsNode& create(const std::string& path, bool directory);
    bool isDriveRoot(const FsNode* node) const;
    // FOLDER's entry named KEY (folded) by its own or its short name; KEY
    // becomes the entry's own key.
    static FsNode* entry(FsNode& folder, std::u16string& key);
    bool deleteTree(FsNode& parent, const std::u16string& key, int32_t& error);

    std::map<char, std::unique_ptr<FsNode>> drives_;
    struct SpecialFolder {
        std::u16string path;
        bool unresolvable = false;
        bool pathless = false;
    };
    std::map<int32_t, SpecialFolder> special_;
    std::map<char, uint32_t> driveTypes_;
    std::map<std::u16string, char> shares_;
    std::map<char, std::string> shareNames_;
    std::map<void*, std::pair<std::vector<FindEntry>, std::size_t>> finds_;
    std::map<void*, std::unique_ptr<int32_t>> idLists_;
    uintptr_t nextFind_ = 0x5000;
    std::map<void*, std::pair<uint32_t, uint64_t>> identities_;
    uint64_t nextFileIndex_ = 0x10000;
    std::set<uint32_t> noFileIndex_;
    struct Append {
        std::string path;
        uint64_t fileIndex = 0;
    };
    std::map<void*, Append> appends_;
    std::set<char> fullDrives_;
};

// An SDDL text of the forms this model uses: "O:" and an owner, "D:" with
// the flags P, AI, AR, then entries "(A|D;flags;rights;;;sid)" (flags OI, CI,
// NP, IO, ID; rights FA, FR, FW, FX, GA, GR, GW, GX, WD, WO, SD, RC or 0x...;
// SIDs SY, BA, BU, AU, WD, CO, AC or written out, "S-1-..."), or
// "D:NO_ACCESS_CONTROL". Nothing when the text is none of these.
[[nodiscard]] std::optional<platform::Security> parseSddl(const std::string& sddl);

// Case-insensitive comparison key of a name, as NTFS compares names.
[[nodiscard]] std::u16string foldName(const std::string& name);
// Windows' wildcard test of FindFirstFile ("*", "?", "*.*" is everything,
// a trailing "." or ".*" also takes names without an extension), case ignored.
[[nodiscard]] bool findPatternMatches(const std::string& pattern, const std::string& name);

}  // namespace sim
