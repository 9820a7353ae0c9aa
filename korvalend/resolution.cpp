#include "korvalend/resolution.h"

#include <algorithm>
#include <exception>

#include "fonction/folders.h"
#include "fonction/strings.h"
#include "korvalend/ini.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "korvalend/safety.h"
#include "korvalend/uninstall_search.h"
#include "korvalend/vendor_lookup.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {

std::string withoutTrailingBlanks(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

// As the installer recorded it, less trailing NULs, its separators made
// backslashes, ending with one.
std::string asFolder(std::string location) {
    while (!location.empty() && location.back() == '\0') location.pop_back();
    location = fonction::NORMALIZEPATHSEPARATORS(location);
    return location.empty() ? location : inFolder(location, "");
}

}  // namespace

const std::string& VENDORFAMILY(const std::string& vendorKey) {
    if (vendorKey == SPATH_LIBO_COLLABORA) return SFAMILY_COLLABORA;
    if (vendorKey == SPATH_LIBO_ZETA) return SFAMILY_ZETAOFFICE;
    return SFAMILY_LIBREOFFICE;
}

std::vector<std::string> INSTALLLOCATIONS(const std::string& VENDORKEY, TRegistryView VIEW) {
    std::vector<std::string> withBootstrap;
    std::string lastRecorded;
    const auto visit = [&](const std::string&, const std::string& value) {
        const std::string folder = platform::charLowerBuffA(asFolder(value));
        if (folder.empty()) return;
        lastRecorded = folder;
        if (!isFile(folder + SBOOTSTRAP_INI)) return;
        std::erase(withBootstrap, folder);  // each once, at its last listing
        withBootstrap.push_back(folder);
    };
    WALKVERSIONVALUES(VENDORKEY, SINSTALLLOCATION, SCLE_UPGRADE_CODE, visit, VIEW);
    if (withBootstrap.empty()) return lastRecorded.empty() ? std::vector<std::string>{} : std::vector{lastRecorded};
    return {withBootstrap.rbegin(), withBootstrap.rend()};
}

std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO, TRegistryView VIEW, std::string* DISPLAYNAME) {
    bool keySeen = false;
    bool suiteFound = false;
    std::string command;
    std::string name;
    bool otherwiseFound = false;
    std::string otherwise;
    std::string otherwiseName;
    std::exception_ptr otherwiseError;
    const auto beginsWithKey = [&](const std::string& text) { return DISPLAYBEGINSWITH(text, SVERSOOO); };
    WALKUNINSTALLENTRIES("DisplayName", beginsWithKey, [&](const TUninstallEntry& e) {
        if (e.error) {
            // A search for the first entry beginning with the key reads every
            // entry up to that one: a broken one there ends the run as it
            // always did. Past it, the entry is someone else's.
            if (!keySeen) std::rethrow_exception(e.error);
            return false;
        }
        keySeen = true;
        const TSuiteEntry kind = SUITEENTRYKIND(e.text, SVERSOOO);
        // An entry the Windows Installer no longer holds is as if not listed:
        // the next entry named as the suite is tried.
        if ((kind == TSuiteEntry::Suite || kind == TSuiteEntry::SuiteOtherwise) && e.orphanTold()) return false;
        if (kind == TSuiteEntry::Suite) {
            command = e.valueText("UninstallString");
            name = e.text;
            suiteFound = true;
            return true;
        }
        if (kind == TSuiteEntry::SuiteOtherwise && !otherwiseFound) {
            otherwiseFound = true;
            otherwiseName = e.text;
            try {
                otherwise = e.valueText("UninstallString");
            } catch (const platform::ERegistryException&) {
                otherwiseError = std::current_exception();  // matters only if no entry is the suite by name
            }
        }
        return false;
    }, VIEW);
    if (!suiteFound && otherwiseError) std::rethrow_exception(otherwiseError);
    if (DISPLAYNAME != nullptr) *DISPLAYNAME = suiteFound ? name : otherwiseName;
    return suiteFound ? command : otherwise;
}

std::string PRODUCTCODEOF(const std::string& command) {
    const std::string install = fonction::STRAFTER(SPRODUCTCODE_MARKER, command);
    return install.empty() ? fonction::STRAFTER(SPRODUCTCODE_REMOVAL_MARKER, command) : install;
}

TResolution RESOLVESUITEFACTS(const std::string& VENDORKEY, TRegistryView VIEW, const std::string& LOCATION) {
    auto& observer = REMOVALOBSERVER();
    TResolution out;
    out.facts.vendorKey = VENDORKEY;
    out.facts.view = VIEW;
    out.facts.SCHEMOPEN = LOCATION;
    if (LOCATION.empty()) {
        out.missing = TMISSING::INSTALLLOCATION;
        out.why = "none is recorded below " + VENDORKEY;
        return out;
    }
    observer.found("install location", LOCATION);
    // The location ends with a backslash. A quoted key ("LibreOffice 7.5 ")
    // keeps blanks that no entry's name carries after the key.
    const std::string bootstrap = LOCATION + SBOOTSTRAP_INI;
    out.facts.SVERSOOO = withoutTrailingBlanks(INIREADSTRING(bootstrap, "Bootstrap", "ProductKey", ""));
    if (out.facts.SVERSOOO.empty()) {
        out.missing = TMISSING::PRODUCTKEY;
        out.why = bootstrap + " gives none";
    } else {
        observer.found("product key", out.facts.SVERSOOO);
    }
    out.facts.SPRODUCTCODE =
        PRODUCTCODEOF(SUITEUNINSTALLCOMMAND(out.facts.SVERSOOO, VIEW, &out.facts.displayName));
    if (out.facts.SPRODUCTCODE.empty()) {
        if (!out.facts.SVERSOOO.empty()) {
            out.missing = TMISSING::PRODUCTCODE;
            out.why = std::string("no Uninstall entry of the suite in the ") + VIEWNAME(VIEW) +
                      " view gives one after \"" + SPRODUCTCODE_MARKER + "\" or \"" + SPRODUCTCODE_REMOVAL_MARKER + "\"";
        }
    } else {
        observer.found("product code", out.facts.SPRODUCTCODE);
    }
    out.facts.vendorRecords = VENDORRECORDS(VENDORKEY, VIEW, LOCATION);
    return out;
}

std::vector<std::string> VENDORRECORDS(const std::string& VENDORKEY, TRegistryView VIEW, const std::string& LOCATION) {
    std::vector<std::string> out;
    const auto visit = [&](const std::string& version, const std::string& value) {
        const std::string key = VENDORKEY + version;
        if (platform::charLowerBuffA(asFolder(value)) == LOCATION && std::find(out.begin(), out.end(), key) == out.end())
            out.push_back(key);
    };
    WALKVERSIONVALUES(VENDORKEY, SINSTALLLOCATION, SCLE_UPGRADE_CODE, visit, VIEW);
    for (std::string& key : out)
        if (key.front() == '\\') key.erase(0, 1);  // below HKEY_LOCAL_MACHINE, as the third vendor key is written
    return out;
}

namespace {

bool vendorKeyExists(const std::string& vendorKey, TRegistryView view) {
    platform::TRegistry REG(VIEWACCESS(view, platform::kKeyRead));
    REG.SETROOTKEY(platform::hkeyLocalMachine());
    return REG.KEYEXISTS(vendorKey);
}

// How the preview names a key of a view: the native view's as they are.
std::string inView(const std::string& text, TRegistryView view) {
    return view == TRegistryView::Native ? text : text + " (" + VIEWNAME(view) + " view)";
}

}  // namespace

std::optional<TSuiteFacts> TSuiteWalk::next() {
    auto& observer = REMOVALOBSERVER();
    while (!done_ && vendor_ < SVENDOR_KEYS.size()) {
        const std::string& vendorKey = SVENDOR_KEYS[vendor_];
        const TRegistryView view = kRegistryViews[view_];
        const auto nextKey = [this] {
            keyOpen_ = false;
            firstLook_ = true;
            if (++view_ == kRegistryViews.size()) view_ = 0, ++vendor_;
        };
        if (!keyOpen_) {
            if (!vendorKeyExists(vendorKey, view)) {
                nextKey();
                continue;
            }
            observer.found("vendor key", inView(vendorKey, view));
            keyOpen_ = true;
        }
        const std::vector<std::string> locations = INSTALLLOCATIONS(vendorKey, view);
        const bool firstLook = firstLook_;
        firstLook_ = false;
        if (firstLook && locations.empty()) {
            facts_.cases.push_back(TSuiteCase{view, {}, {}, {}, kExitUnresolvedFacts, MISSINGTEXT(TMISSING::INSTALLLOCATION)});
            observer.skipped("removal", TReason(TSKIP::NOLOCATIONBELOW, inView(vendorKey, view)));
        }
        const auto at = std::find_if(locations.begin(), locations.end(), [&](const std::string& location) {
            return !tried_.contains({view, location}) && (firstLook || isFile(location + SBOOTSTRAP_INI));
        });
        if (at == locations.end()) {
            nextKey();
            continue;
        }
        tried_.insert({view, *at});
        TResolution resolved = RESOLVESUITEFACTS(vendorKey, view, *at);
        if (resolved.missing != TMISSING::NONE) {
            facts_.cases.push_back(TSuiteCase{view, {}, resolved.facts.displayName, resolved.facts.SVERSOOO,
                                              kExitUnresolvedFacts, MISSINGTEXT(resolved.missing)});
            observer.skipped("removal", TReason(resolved.missing, resolved.why));
            continue;
        }
        TSuiteFacts& suite = resolved.facts;
        if (!codes_.insert(fonction::STRUPPER(suite.SPRODUCTCODE)).second) {
            observer.skipped("removal", TReason(TSKIP::SUITEDEALTWITH, suite.SPRODUCTCODE));
            continue;
        }
        if (taken_ == kSuiteLimit) {
            facts_.cases.push_back(TSuiteCase{view, suite.SPRODUCTCODE, suite.displayName, suite.SVERSOOO,
                                              kExitTooManySuites, "more suites than one run removes"});
            observer.skipped("removal", TReason(TSKIP::SUITELIMIT, suite.displayName, kSuiteLimit));
            done_ = true;
            break;
        }
        ++taken_;
        return std::move(suite);
    }
    return std::nullopt;
}

}  // namespace korvalend
