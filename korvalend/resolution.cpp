#include "korvalend/resolution.h"

#include <exception>

#include "fonction/folders.h"
#include "fonction/strings.h"
#include "korvalend/globals.h"
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

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isTagChar(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
}

// REST, what follows the key, is nothing but version digits and dots (after a
// blank, unless the key ends inside the version: "LibreOffice 7.6" + ".4.1"),
// then at most an architecture tag: " (x64)".
bool isVersionOnly(const std::string& rest, const std::string& key) {
    std::size_t i = 0;
    const bool keyEndsInVersion = !key.empty() && isDigit(key.back());
    if (!keyEndsInVersion && rest.size() >= 2 && rest[0] == ' ' && isDigit(rest[1])) i = 1;
    if (keyEndsInVersion || i == 1)
        while (i < rest.size() && (isDigit(rest[i]) || rest[i] == '.')) ++i;
    if (i == rest.size()) return true;
    if (rest.compare(i, 2, " (") != 0 || rest.back() != ')' || rest.size() - i < 4) return false;
    for (std::size_t t = i + 2; t + 1 < rest.size(); ++t)
        if (!isTagChar(rest[t])) return false;
    return true;
}

// The word follows in UPPERREST: after a blank, before a blank, "(" or the end.
bool hasWord(const std::string& upperRest, const std::string& word) {
    for (std::size_t at = upperRest.find(" " + word); at != std::string::npos;
         at = upperRest.find(" " + word, at + 1)) {
        const std::size_t end = at + 1 + word.size();
        if (end == upperRest.size() || upperRest[end] == ' ' || upperRest[end] == '(') return true;
    }
    return false;
}

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

TSuiteEntry SUITEENTRYKIND(const std::string& displayName, const std::string& SVERSOOO) {
    // "LibreOffice ExtensionManager" would be another program.
    for (const std::string* family : {&SEXTENSION_LIBREOFFICE, &SEXTENSION_COLLABORA})
        if (BEGINSWITHWHOLENAME(displayName, *family)) return TSuiteEntry::Extension;
    const std::string upper = platform::charUpperBuffA(displayName);
    if (!upper.starts_with(platform::charUpperBuffA(SVERSOOO))) return TSuiteEntry::Unrelated;
    const std::string rest = displayName.substr(SVERSOOO.size());
    // "LibreOfficeDev 24.8" is another product for the key "LibreOffice".
    if (!rest.empty() && rest[0] != ' ' && rest[0] != '.' && !isDigit(rest[0])) return TSuiteEntry::Unrelated;
    const std::string upperRest = upper.substr(SVERSOOO.size());
    if (upperRest.find(" HELP PACK (") != std::string::npos) return TSuiteEntry::HelpPack;
    if (upperRest.find(" LANGUAGE PACK (") != std::string::npos) return TSuiteEntry::LanguagePack;
    if (isVersionOnly(rest, SVERSOOO)) return TSuiteEntry::Suite;
    if (hasWord(upperRest, "SDK")) return TSuiteEntry::Sdk;
    return TSuiteEntry::SuiteOtherwise;
}

std::string FINDINSTALLLOCATION() {
    auto& observer = REMOVALOBSERVER();
    platform::TRegistry REG(platform::kKeyRead);
    REG.SETROOTKEY(platform::hkeyLocalMachine());
    for (const std::string& vendorKey : SVENDOR_KEYS) {
        if (!REG.KEYEXISTS(vendorKey)) continue;
        observer.found("vendor key", vendorKey);
        std::string withBootstrap;
        std::string lastRecorded;
        const auto visit = [&](const std::string&, const std::string& value) {
            const std::string folder = asFolder(value);
            if (folder.empty()) return;
            lastRecorded = folder;
            if (isFile(folder + SBOOTSTRAP_INI)) withBootstrap = folder;
        };
        WALKVERSIONVALUES(vendorKey, SINSTALLLOCATION, SCLE_UPGRADE_CODE, visit);
        const std::string location = platform::charLowerBuffA(withBootstrap.empty() ? lastRecorded : withBootstrap);
        if (location.empty())
            observer.skipped("removal", "no install location is recorded below " + vendorKey);
        else
            observer.found("install location", location);
        return location;
    }
    observer.skipped("removal", "no vendor key of the family exists");
    return {};
}

std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO) {
    bool keySeen = false;
    bool suiteFound = false;
    std::string command;
    bool otherwiseFound = false;
    std::string otherwise;
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
        if (kind == TSuiteEntry::Suite) {
            command = e.valueText("UninstallString");
            suiteFound = true;
            return true;
        }
        if (kind == TSuiteEntry::SuiteOtherwise && !otherwiseFound) {
            otherwiseFound = true;
            try {
                otherwise = e.valueText("UninstallString");
            } catch (const platform::ERegistryException&) {
                otherwiseError = std::current_exception();  // matters only if no entry is the suite by name
            }
        }
        return false;
    });
    if (suiteFound) return command;
    if (otherwiseError) std::rethrow_exception(otherwiseError);
    return otherwise;
}

void RESOLVESUITEFACTS() {
    auto& observer = REMOVALOBSERVER();
    SCHEMOPEN.clear();
    SVERSOOO.clear();
    SPRODUCTCODE.clear();
    SCHEMOPEN = FINDINSTALLLOCATION();
    if (SCHEMOPEN.empty()) return;
    // The location ends with a backslash. A quoted key ("LibreOffice 7.5 ")
    // keeps blanks that no entry's name carries after the key.
    const std::string bootstrap = SCHEMOPEN + SBOOTSTRAP_INI;
    SVERSOOO = withoutTrailingBlanks(INIREADSTRING(bootstrap, "Bootstrap", "ProductKey", ""));
    if (SVERSOOO.empty())
        observer.skipped("removal", bootstrap + " gives no product key");
    else
        observer.found("product key", SVERSOOO);
    SPRODUCTCODE = fonction::STRAFTER(SPRODUCTCODE_MARKER, SUITEUNINSTALLCOMMAND(SVERSOOO));
    if (SPRODUCTCODE.empty()) {
        if (!SVERSOOO.empty())
            observer.skipped("removal", "no Uninstall entry of the suite gives a product code after \"" +
                                            SPRODUCTCODE_MARKER + "\"");
    } else {
        observer.found("product code", SPRODUCTCODE);
    }
}

}  // namespace korvalend
