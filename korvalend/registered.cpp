#include "korvalend/registered.h"

#include <algorithm>

#include "korvalend/installer.h"
#include "korvalend/resolution.h"
#include "korvalend/uninstall_search.h"
#include "platform/environment.h"
#include "platform/machine_keys.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

const std::string SUSERDATA = "\\" + platform::keys::kInstallerUserData;
const std::string SPROFILELIST = "\\" + platform::keys::kProfileList;
// The local system account: its products are the machine's own, listed in
// the Uninstall key.
const std::string SLOCALSYSTEM = "S-1-5-18";

}  // namespace

std::vector<TRegisteredEntry> REGISTEREDFAMILY(const std::string& PRODUCTKEY, std::vector<TRegisteredEntry>* ORPHANS) {
    std::vector<TRegisteredEntry> out;
    // A product key of no family still names its suite's own entries.
    const auto ofTheKey = [&PRODUCTKEY](const std::string& text) {
        return !PRODUCTKEY.empty() && ISNAMEDASSUITE(text, PRODUCTKEY);
    };
    const auto wanted = [&](const std::string& text) {
        return FAMILYNAME(text).kind != TFamilyKind::None || ofTheKey(text);
    };
    WALKUNINSTALLVIEWS("DisplayName", wanted, [&](const TUninstallEntry& e) {
        if (e.error != nullptr) return false;
        TFamilyName what = FAMILYNAME(e.text);
        if (what.kind == TFamilyKind::None) what = TFamilyName{TFamilyKind::Suite, FAMILYOF(e.text), {}};
        const bool orphan = e.orphanTold();
        if (orphan && ORPHANS == nullptr) return false;
        (orphan ? *ORPHANS : out).push_back(TRegisteredEntry{e.view, e.name, e.text, what});
        return false;
    });
    return out;
}

bool ISSUITEOF(const TRegisteredEntry& entry, const std::string& PRODUCTKEY) {
    return entry.what.kind == TFamilyKind::Suite && ISNAMEDASSUITE(entry.displayName, PRODUCTKEY);
}

bool HASOWNSUITE(const TRegisteredEntry& PART, const std::vector<TRegisteredEntry>& REGISTERED) {
    return std::any_of(REGISTERED.begin(), REGISTERED.end(),
                       [&](const TRegisteredEntry& s) { return ISSUITEOF(s, PART.what.suite); });
}

namespace {

// A help pack, language pack or SDK named after the suite's product key.
bool ownPart(const TRegisteredEntry& part, const TSuiteFacts& suite) {
    const TSuiteEntry kind = SUITEENTRYKIND(part.displayName, suite.SVERSOOO);
    return kind == TSuiteEntry::HelpPack || kind == TSuiteEntry::LanguagePack || kind == TSuiteEntry::Sdk;
}

}  // namespace

bool ISOLDERPARTOF(const TRegisteredEntry& PART, const TSuiteFacts& SUITE,
                   const std::vector<TRegisteredEntry>& REGISTERED) {
    return PART.view == SUITE.view && !ownPart(PART, SUITE) && ISSUITEPART(PART.what.kind) &&
           !PART.what.family.empty() && PART.what.family == FAMILYOF(SUITE.SVERSOOO) && !HASOWNSUITE(PART, REGISTERED);
}

bool LIESINSUITEFOLDER(const TRegisteredEntry& PART, const TSuiteFacts& SUITE,
                       const std::vector<TRegisteredEntry>& REGISTERED) {
    return PART.view == SUITE.view && (ownPart(PART, SUITE) || ISOLDERPARTOF(PART, SUITE, REGISTERED));
}

std::vector<TPerUserInstall> PERUSERINSTALLS() {
    std::vector<TPerUserInstall> out;
    platform::TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    // Values of the wrong type say nothing of the product: passed over.
    const auto read = [&reg](const std::string& value) {
        try {
            return reg.READSTRING(value);
        } catch (const platform::ERegistryException&) {
            return std::string();
        }
    };
    platform::TStrings sids;
    if (!reg.OPENKEYREADONLY(SUSERDATA)) return out;
    reg.GETKEYNAMES(sids);
    for (const std::string& sid : sids) {
        if (sid == SLOCALSYSTEM) continue;
        const std::string products = SUSERDATA + "\\" + sid + "\\Products";
        platform::TStrings codes;
        if (!reg.OPENKEYREADONLY(products)) continue;
        reg.GETKEYNAMES(codes);
        for (const std::string& code : codes) {
            if (!reg.OPENKEYREADONLY(products + "\\" + code + "\\InstallProperties")) continue;
            TPerUserInstall install{sid, read("DisplayName"), read("InstallLocation"), {}, UNPACKEDPRODUCTCODE(code)};
            if (FAMILYNAME(install.displayName).kind == TFamilyKind::None) continue;
            if (reg.OPENKEYREADONLY(SPROFILELIST + "\\" + sid))
                install.profile = platform::expandEnvironmentStringsA(read("ProfileImagePath"));
            out.push_back(std::move(install));
        }
    }
    return out;
}

}  // namespace korvalend
