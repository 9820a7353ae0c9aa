// Whose per-user folders the plan reads: the preview's own account's, or the
// local system account's, which deployment tools run korvalend.exe as, read
// from the profile the machine lists for it.
#include "fonction/folders.h"
#include "korvalend/safety.h"
#include "platform/account.h"
#include "platform/environment.h"
#include "platform/machine_keys.h"
#include "platform/registry.h"
#include "platform/tregistry.h"
#include "platform/text.h"
#include "platform/wintypes.h"
#include "preview/report.h"

namespace korvalend {
namespace {

constexpr int32_t kCsidlProfile = 0x28;

// ProfileList's ProfileImagePath for S-1-5-18, variables expanded; "" when it
// cannot be read, does not fit the ANSI code page or is no full path (a
// relative one would be read from the current folder).
std::string systemProfile() {
    const std::string list = "\\" + platform::keys::kProfileList + "\\" + platform::kLocalSystemSid;
    platform::TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    if (!reg.OPENKEYREADONLY(list)) return {};
    std::u16string wide;
    try {
        wide = reg.READSTRINGW("ProfileImagePath");
    } catch (const platform::ERegistryException&) {
        return {};
    }
    wide = wide.substr(0, wide.find(u'\0'));
    const std::string ansi = platform::wideToAnsi(wide);
    if (platform::ansiToWide(ansi) != wide) return {};
    const std::string profile = platform::expandEnvironmentStringsA(ansi);
    if (profile.find('%') != std::string::npos || SPLITFOLDERPATH(profile).root.empty()) return {};
    return profile;
}

}  // namespace

TPlanAccount PLANACCOUNT(bool forSystem) {
    const platform::Account own = platform::currentAccount();
    if (forSystem && own.sid != platform::kLocalSystemSid)
        return TPlanAccount{"SYSTEM", platform::kLocalSystemSid, systemProfile(), true};
    return TPlanAccount{own.name, own.sid, fonction::GETSPECIALFOLDERLOCATION(kCsidlProfile), false};
}

}  // namespace korvalend
