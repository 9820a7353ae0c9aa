#include "fonction/folders.h"

#include "fonction/dbcs.h"
#include "fonction/strings.h"
#include "platform/folders.h"
#include "platform/text.h"

namespace fonction {

std::string GETWINDOWSSYSTEMFOLDER() {
    std::string result;
    const uint32_t REQUIRED = platform::getSystemDirectoryA(nullptr, 0);
    if (REQUIRED == 0) return result;
    result.assign(REQUIRED, '\0');
    (void)platform::getSystemDirectoryA(result.data(), REQUIRED);
    STRRESETLENGTH(result);
    return NORMALIZEPATHSEPARATORS(result);
}

std::string PIDLTOPATH(platform::Handle IDLIST) {
    std::u16string wide;
    if (platform::shGetPathFromIDListW(IDLIST, wide) == 0) return {};
    // The ANSI form only when it names the same folder. The ANSI call would
    // best-fit a letter the code page lacks (an "L" with stroke becomes "L"),
    // and "C:\Users\Lukasz" may be another person's profile. Exact means
    // that the text turned back into UTF-16 is the original: a "?" put in for
    // a missing character is not. (A UTF-8 code page refuses the no-best-fit
    // flag, and this test still holds there.)
    const std::string ansi = platform::wideToAnsi(wide);
    if (platform::ansiToWide(ansi) != wide) return {};
    return NORMALIZEPATHSEPARATORS(ansi);
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

// A last byte 0x5C may be the second byte of a double-byte character, which
// is no separator: adding one is needed, removing it would change the name.
std::string PATHADDSEPARATOR(const std::string& PATH) {
    if (ENDSWITHBACKSLASH(PATH)) return PATH;
    return PATH + DIRDELIMITER;
}

std::string PATHREMOVESEPARATOR(const std::string& PATH) {
    if (ENDSWITHBACKSLASH(PATH)) return PATH.substr(0, PATH.size() - 1);
    return PATH;
}

// Scripts and repackaging tools write paths with "/", which Windows' file
// functions take: one spelling for every comparison, split and join after.
std::string NORMALIZEPATHSEPARATORS(const std::string& PATH) {
    constexpr std::string_view separators = "\\/";
    std::string out;
    out.reserve(PATH.size());
    std::size_t i = 0;
    if (ISDELIMITERAT(PATH, 0, separators) && ISDELIMITERAT(PATH, 1, separators)) {
        out = "\\\\";
        i = 2;
    }
    bool afterSeparator = false;
    while (i < PATH.size()) {
        const std::size_t n = CHARSIZEAT(PATH, i);
        const bool separator = n == 1 && separators.find(PATH[i]) != std::string_view::npos;
        if (!separator) out.append(PATH, i, n);
        else if (!afterSeparator) out += DIRDELIMITER;
        afterSeparator = separator;
        i += n;
    }
    return out;
}

}  // namespace fonction
