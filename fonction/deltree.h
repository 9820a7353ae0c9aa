// Deleting a folder with everything in it, through the shell (silently, into
// the Recycle Bin) or entry by entry; listing a folder by masks.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/handle.h"
#include "platform/tstrings.h"

namespace fonction {

constexpr char DIRSEPARATOR = ';';

enum TSHDELETEOPTION : uint32_t { DOSILENT = 0, DOALLOWUNDO = 1, DOFILESONLY = 2 };

// A set of TSHDELETEOPTION held in one word, option n as bit n.
class TSHDELETEOPTIONS {
public:
    constexpr TSHDELETEOPTIONS() noexcept = default;
    constexpr TSHDELETEOPTIONS(std::initializer_list<TSHDELETEOPTION> options) noexcept {
        for (const TSHDELETEOPTION o : options) bits_ |= 1u << o;
    }
    [[nodiscard]] constexpr bool contains(TSHDELETEOPTION o) const noexcept { return (bits_ & (1u << o)) != 0; }
    [[nodiscard]] constexpr TSHDELETEOPTIONS without(TSHDELETEOPTION o) const noexcept {
        TSHDELETEOPTIONS s = *this;
        s.bits_ &= ~(1u << o);
        return s;
    }
    [[nodiscard]] constexpr uint32_t bits() const noexcept { return bits_; }
    constexpr bool operator==(const TSHDELETEOPTIONS&) const noexcept = default;

private:
    uint32_t bits_ = 0;
};

// FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI
constexpr uint32_t FOF_COMPLETELYSILENT = 0x614;

// Called for each file (never a directory) before it is deleted; false keeps
// the file and counts as a failure.
using TDELTREEPROGRESS = bool (*)(const std::string& FILENAME, uint32_t ATTR);

[[nodiscard]] uint32_t DELETEOPTIONSTOCARDINAL(TSHDELETEOPTIONS OPTIONS);
// The folder's contents, then the folder, through the shell. DOFILESONLY is
// ignored. False for an empty FOLDER or when either pass fails.
bool SHDELETEFOLDER(platform::Handle PARENT, const std::string& FOLDER, TSHDELETEOPTIONS OPTIONS);
// To the Recycle Bin without any dialog, or entry by entry.
bool DELETEDIRECTORY(const std::string& DIRECTORYNAME, bool MOVETORECYCLEBIN);
// One file or folder (with all it holds) to the Recycle Bin in a single shell
// call, with DELETEDIRECTORY's flags. False for an empty path or one holding
// a wildcard, and when the shell reports a failure.
bool RECYCLEITEM(const std::string& PATH);
bool DELTREE(const std::string& PATH);
// Depth first, clearing attributes before each deletion. A directory link or
// junction is removed as a link and never walked into, so its target stays.
// A drive or share root ("C:\\", "\\\\server\\share") is refused.
bool DELTREEEX(const std::string& PATH, bool ABORTONFAILURE, TDELTREEPROGRESS PROGRESS);
[[nodiscard]] bool ISFILENAMEMATCH(const std::string& FILENAME, const std::string& MASK, bool CASESENSITIVE);
// Appends to LIST the entries of PATH's folder that match one of PATH's
// ";"-separated masks and whose attributes ATTR allows; true when the
// enumeration ended normally. A PATH that does not split into a folder and
// masks ("C:\\x\\" has no mask) lists nothing and is false, as an error other
// than the end of the list is: a folder is empty only to a true listing.
bool BUILDFILELIST(const std::string& PATH, uint32_t ATTR, platform::TStrings& LIST, bool INCLUDEDIRECTORYNAME);

}  // namespace fonction
