#include "fonction/deltree.h"

#include "fonction/dbcs.h"
#include "fonction/folders.h"
#include "fonction/launch.h"
#include "fonction/strings.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/wintypes.h"

namespace fonction {

namespace {

constexpr uint32_t kAllAttributes = 0x1FF;

bool isDirectoryLink(uint32_t attributes) {
    return attributes != platform::kInvalidFileAttributes &&
           (attributes & platform::kFileAttributeDirectory) != 0 &&
           (attributes & platform::kFileAttributeReparsePoint) != 0;
}

// Removes a directory link or junction itself; its target is left alone.
bool removeLink(const std::string& path) {
    if (!platform::setFileAttributesA(path, platform::kFileAttributeNormal)) return false;
    return platform::removeDirectoryA(path);
}

// "C:", "C:\\", "\\", "C:\\x\\.." and the like name a whole drive (or the current
// folder, for "." or ""), and "\\\\server\\share" a whole share: their contents
// are never ours to empty.
bool namesDriveRoot(const std::string& path) {
    std::vector<std::string> parts = SPLITCOMPONENTS(path, "\\/");
    std::size_t rootParts = 0;
    if (path.size() >= 2 && ISDELIMITERAT(path, 0, "\\/") && ISDELIMITERAT(path, 1, "\\/")) {
        // \\server\share (and the \\?\C: and \\.\C: forms): the two names after
        // the leading separators are the root.
        parts.erase(parts.begin(), parts.begin() + 2);
        rootParts = 2;
    } else if (path.size() >= 2 && path[1] == ':') {
        parts.front().erase(0, 2);
    }
    std::size_t depth = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (i < rootParts) {
            if (part.empty()) return true;  // "\\server" or "\\\\": no share named
        } else if (part == "..") {
            if (depth > 0) --depth;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
    }
    return depth == 0;
}

std::string directoryPart(const std::string& PATH) {
    const std::size_t last = LASTDELIMITER(PATH, "\\/:");
    if (last == std::string::npos) return {};
    // A separator that starts the path or follows another one stays with the
    // directory: "C:\\" and "\\" are folders, not the empty string.
    if (last == 0 || ISDELIMITERAT(PATH, last - 1, "\\/:")) return PATH.substr(0, last + 1);
    return PATH.substr(0, last);
}

}  // namespace

uint32_t DELETEOPTIONSTOCARDINAL(TSHDELETEOPTIONS OPTIONS) {
    uint32_t result = 0;
    if (OPTIONS.contains(DOSILENT)) result += FOF_COMPLETELYSILENT;
    if (OPTIONS.contains(DOALLOWUNDO)) result += platform::kFofAllowUndo;
    if (OPTIONS.contains(DOFILESONLY)) result += platform::kFofFilesOnly;
    return result;
}

static bool SHDELETEFILES(platform::Handle PARENT, const std::string& FILES, TSHDELETEOPTIONS OPTIONS) {
    // SHFileOperation takes a double-NUL-terminated list: a NUL inside FILES
    // would end this entry early and make the shell read a second path after
    // it, so such a text is refused.
    if (FILES.find('\0') != std::string::npos) return false;
    platform::ShFileOpStructA FILEOP;
    RESETMEMORY(FILEOP, static_cast<int32_t>(sizeof FILEOP));
    FILEOP.hwnd = PARENT;
    FILEOP.wFunc = platform::kFoDelete;
    const std::string SOURCE = FILES + std::string(2, '\0');
    FILEOP.pFrom = SOURCE.c_str();
    FILEOP.fFlags = static_cast<uint16_t>(DELETEOPTIONSTOCARDINAL(OPTIONS));
    return platform::shFileOperationA(FILEOP) == 0;
}

bool SHDELETEFOLDER(platform::Handle PARENT, const std::string& FOLDER, TSHDELETEOPTIONS OPTIONS) {
    OPTIONS = OPTIONS.without(DOFILESONLY);
    if (FOLDER.empty()) return false;
    bool result = SHDELETEFILES(PARENT, PATHADDSEPARATOR(FOLDER) + "*.*", OPTIONS);
    if (result) result = SHDELETEFILES(PARENT, PATHREMOVESEPARATOR(FOLDER), OPTIONS);
    return result;
}

bool RECYCLEITEM(const std::string& PATH) {
    // One path, never a wildcard pattern ("*" and "?" are never the second
    // byte of a double-byte character).
    if (PATH.empty() || PATH.find_first_of("*?") != std::string::npos) return false;
    return SHDELETEFILES(nullptr, PATH, {DOSILENT, DOALLOWUNDO});
}

bool DELETEDIRECTORY(const std::string& DIRECTORYNAME, bool MOVETORECYCLEBIN) {
    if (MOVETORECYCLEBIN) return SHDELETEFOLDER(nullptr, DIRECTORYNAME, {DOSILENT, DOALLOWUNDO});
    return DELTREE(DIRECTORYNAME);
}

bool DELTREE(const std::string& PATH) { return DELTREEEX(PATH, false, nullptr); }

bool DELTREEEX(const std::string& PATH, bool ABORTONFAILURE, TDELTREEPROGRESS PROGRESS) {
    if (PATH.empty()) return false;
    // The platform reads a path up to its first NUL: "C:\a\0b" would list C:\a
    // itself as an entry of itself and recurse without end.
    if (PATH.find('\0') != std::string::npos) return false;
    const std::string LPATH = PATHREMOVESEPARATOR(PATH);
    if (namesDriveRoot(LPATH)) return false;
    // Handed a link itself: remove the link, never what it points to.
    if (isDirectoryLink(platform::getFileAttributesA(LPATH))) return removeLink(LPATH);

    bool result = true;
    {
        platform::TStringList FILES;
        (void)BUILDFILELIST(LPATH + "\\*.*", kAllAttributes, FILES, false);
        for (const std::string& name : FILES) {
            const std::string FULLNAME = LPATH + DIRDELIMITER + name;
            bool PARTIALRESULT = true;
            const uint32_t ATTR = platform::getFileAttributesA(FULLNAME);
            if (isDirectoryLink(ATTR)) {
                PARTIALRESULT = removeLink(FULLNAME);
            } else if (ATTR != platform::kInvalidFileAttributes && (ATTR & platform::kFileAttributeDirectory) != 0) {
                PARTIALRESULT = DELTREEEX(FULLNAME, ABORTONFAILURE, PROGRESS);
            } else {
                if (PROGRESS != nullptr) PARTIALRESULT = PROGRESS(FULLNAME, ATTR);
                if (PARTIALRESULT) PARTIALRESULT = platform::setFileAttributesA(FULLNAME, platform::kFileAttributeNormal);
                if (PARTIALRESULT) PARTIALRESULT = platform::deleteFileA(FULLNAME);
            }
            if (!PARTIALRESULT) {
                result = false;
                if (ABORTONFAILURE) break;
            }
        }
    }
    if (result) {
        result = platform::setFileAttributesA(LPATH, platform::kFileAttributeNormal);
        if (result) result = platform::removeDirectoryA(LPATH);
    }
    return result;
}

bool ISFILENAMEMATCH(const std::string& FILENAME, const std::string& MASK, bool CASESENSITIVE) {
    if (MASK.empty() || MASK == "*" || MASK == "*.*") return true;
    // A name without an extension gets a trailing dot, so "*." finds it.
    const std::string NAME = FILENAME.find('.') == std::string::npos ? FILENAME + "." : FILENAME;
    if (CASESENSITIVE) return STRMATCHES(MASK, NAME, 1);
    return STRMATCHES(platform::charUpperBuffA(MASK), platform::charUpperBuffA(NAME), 1);
}

bool BUILDFILELIST(const std::string& PATH, uint32_t ATTR, platform::TStrings& LIST, bool INCLUDEDIRECTORYNAME) {
    platform::TStringList MASKLIST;
    std::string DIRECTORY = directoryPart(PATH);
    std::string MASKS = PATH;
    if (!DIRECTORY.empty()) {
        DIRECTORY = PATHADDSEPARATOR(DIRECTORY);
        // Cut at a "/" ("D:/x/*"), the folder "D:/x\" begins no PATH and the
        // masks cannot be told: such a listing must not pass for an empty one.
        if (PATH.compare(0, DIRECTORY.size(), DIRECTORY) != 0) return false;
        MASKS = PATH.substr(DIRECTORY.size());
    }
    STRTOKENTOSTRINGS(MASKS, DIRSEPARATOR, &MASKLIST);
    if (MASKLIST.count() == 0) return false;

    platform::FindData SEARCHREC;
    const platform::UniqueFind FIND = platform::findFirstFileA(DIRECTORY + "*", SEARCHREC);
    bool result = FIND.valid();
    platform::UpdateScope update(LIST);
    while (result) {
        const bool dots = SEARCHREC.name == "." || SEARCHREC.name == "..";
        const bool allowed = (SEARCHREC.attributes & ATTR) == (SEARCHREC.attributes & kAllAttributes);
        if (!dots && allowed) {
            for (const std::string& mask : MASKLIST) {
                if (ISFILENAMEMATCH(SEARCHREC.name, mask, false)) {
                    LIST.add(INCLUDEDIRECTORYNAME ? DIRECTORY + SEARCHREC.name : SEARCHREC.name);
                    break;
                }
            }
        }
        if (!platform::findNextFileA(FIND.get(), SEARCHREC)) {
            result = platform::getLastError() == platform::kErrorNoMoreFiles;
            break;
        }
    }
    return result;
}

}  // namespace fonction
