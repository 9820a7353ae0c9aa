// Special folders and the console as the preview sees them: the per-user
// folders are those of the account the run is planned for, and the console
// keeps its title.
#include "platform/backend.h"
#include "platform/console.h"
#include "platform/folders.h"
#include "platform/plan/binding.h"
#include "platform/text.h"

namespace platform {
namespace {

using plan::Recorder;

constexpr int32_t kEFail = static_cast<int32_t>(0x80004005u);

// Where each per-user folder the program asks for lies in a profile, as
// Windows lays a profile out; null for the others, which are the machine's.
const char* belowProfile(int32_t csidl) {
    switch (csidl) {
        case 0x28: return "";  // the profile itself
        case 0x1A: return "AppData\\Roaming";
        case 0x1C: return "AppData\\Local";
        case 0x05: return "Documents";
        case 0x10: return "Desktop";
        case 0x27: return "Pictures";
        case 0x0D: return "Music";
        case 0x0E: return "Videos";
        case 0x0B: return "AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
        case 0x02: return "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
        case 0x15: return "AppData\\Roaming\\Microsoft\\Windows\\Templates";
        case kCsidlStartup: return "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
        default: return nullptr;
    }
}

}  // namespace

int32_t shGetSpecialFolderLocation(Handle owner, int32_t folder, UniqueIdList& list) {
    Recorder& r = plan::current();
    const char* below = r.otherProfile ? belowProfile(folder) : nullptr;
    if (below == nullptr) {
        Handle found = nullptr;
        const int32_t hr = backend::shGetSpecialFolderLocation(owner, folder, found);
        if (hr >= 0) list.reset(found);
        return hr;
    }
    const std::string& profile = *r.otherProfile;
    if (profile.empty()) return kEFail;
    std::string path = profile;
    if (*below != '\0') {
        if (plan::lastSeparator(path) + 1 != path.size()) path += '\\';
        path += below;
    }
    const Handle token = plan::newToken();
    r.binding().folderLists[token] = ansiToWide(path);
    list.reset(token);
    return 0;
}

int32_t shGetPathFromIDListW(Handle list, std::u16string& path) {
    const Recorder& r = plan::current();
    const auto it = r.binding().folderLists.find(list);
    if (it == r.binding().folderLists.end()) return backend::shGetPathFromIDListW(list, path);
    if (it->second.size() >= kMaxPath) return 0;  // the shell's buffer holds MAX_PATH characters
    path = it->second;
    return 1;
}

void IdListTraits::close(Handle list) noexcept {
    Recorder& r = plan::current();
    if (r.binding().folderLists.erase(list) != 0) plan::dropToken(list);
    else backend::freeIdList(list);
}

// The probe's unique title would show in the administrator's console.
bool setConsoleTitleA(const char* title) {
    Recorder& r = plan::current();
    return r.performer == nullptr || r.performer->setConsoleTitleA(title);
}

void sleepMs(uint32_t milliseconds) {
    Recorder& r = plan::current();
    if (r.performer != nullptr) r.performer->sleepMs(milliseconds);
}

}  // namespace platform
