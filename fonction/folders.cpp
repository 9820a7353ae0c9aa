#include "fonction/folders.h"

#include "fonction/strings.h"
#include "platform/folders.h"

namespace fonction {

std::string GETWINDOWSSYSTEMFOLDER() {
    std::string result;
    const uint32_t REQUIRED = platform::getSystemDirectoryA(nullptr, 0);
    if (REQUIRED == 0) return result;
    result.assign(REQUIRED, '\0');
    (void)platform::getSystemDirectoryA(result.data(), REQUIRED);
    STRRESETLENGTH(result);
    return result;
}

std::string PIDLTOPATH(platform::Handle IDLIST) {
    std::string result(platform::kMaxPath, '\0');
    if (platform::shGetPathFromIDListA(IDLIST, result.data()) == 0) return {};
    STRRESETLENGTH(result);
    return result;
}

std::string GETSPECIALFOLDERLOCATION(int32_t FOLDER) {
    // The owner releases the list on every way out, the conversion's
    // exceptions included; on failure the platform handed nothing over.
    platform::UniqueIdList FOLDERPIDL;
    if (platform::shGetSpecialFolderLocation(nullptr, FOLDER, FOLDERPIDL) < 0) return {};
    return PIDLTOPATH(FOLDERPIDL.get());
}

std::string GETCOMMONDESKTOPDIRECTORYFOLDER() {
    return GETSPECIALFOLDERLOCATION(platform::kCsidlCommonDesktopDirectory);
}

std::string GETSTARTUPFOLDER() { return GETSPECIALFOLDERLOCATION(platform::kCsidlStartup); }

std::string GETCOMMONPROGRAMSFOLDER() { return GETSPECIALFOLDERLOCATION(platform::kCsidlCommonPrograms); }

std::string PATHADDSEPARATOR(const std::string& PATH) {
    if (!PATH.empty() && PATH.back() == DIRDELIMITER) return PATH;
    return PATH + DIRDELIMITER;
}

std::string PATHREMOVESEPARATOR(const std::string& PATH) {
    if (!PATH.empty() && PATH.back() == DIRDELIMITER) return PATH.substr(0, PATH.size() - 1);
    return PATH;
}

}  // namespace fonction
