#include "korvalend/family.h"

#include "fonction/strings.h"
#include "platform/text.h"

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

}  // namespace

bool BEGINSWITHWHOLENAME(const std::string& name, const std::string& whole) {
    if (!fonction::STARTSWITHASCIICASELESS(name, whole)) return false;
    // WHOLE is ASCII, so the byte after it begins a character.
    const char next = name.size() > whole.size() ? name[whole.size()] : ' ';
    return next == ' ' || next == '(' || (next >= '0' && next <= '9');
}

std::string FAMILYOF(const std::string& name) {
    for (const std::string* family : {&SFAMILY_LIBREOFFICE, &SFAMILY_COLLABORA, &SFAMILY_ZETAOFFICE})
        if (BEGINSWITHWHOLENAME(name, *family)) return *family;
    return {};
}

bool HASWORD(const std::string& upperRest, const std::string& word) {
    for (std::size_t at = upperRest.find(" " + word); at != std::string::npos;
         at = upperRest.find(" " + word, at + 1)) {
        const std::size_t end = at + 1 + word.size();
        if (end == upperRest.size() || upperRest[end] == ' ' || upperRest[end] == '(') return true;
    }
    return false;
}

TFamilyName FAMILYNAME(const std::string& displayName) {
    TFamilyName out;
    const std::string family = FAMILYOF(displayName);
    if (family.empty()) return out;
    // The family, a blank and a version: digits and dots, a digit first.
    std::size_t i = family.size();
    if (i + 1 >= displayName.size() || displayName[i] != ' ' || !isDigit(displayName[i + 1])) return out;
    for (++i; i < displayName.size() && (isDigit(displayName[i]) || displayName[i] == '.'); ++i) {
    }
    const std::string rest = displayName.substr(i);
    const std::string upperRest = platform::charUpperBuffA(rest);
    out.family = family;
    if (upperRest.starts_with(" HELP PACK (")) out.kind = TFamilyKind::HelpPack;
    else if (upperRest.starts_with(" LANGUAGE PACK (")) out.kind = TFamilyKind::LanguagePack;
    else if (HASWORD(upperRest, "SDK")) out.kind = TFamilyKind::Sdk;  // a kit for developers, not the suite
    else out.kind = TFamilyKind::Suite;  // with a tag ("(x64)") or named with more words, as the resolution takes it
    if (out.kind != TFamilyKind::Suite) out.suite = displayName.substr(0, i);
    return out;
}

bool ISSUITEPART(TFamilyKind kind) {
    return kind == TFamilyKind::HelpPack || kind == TFamilyKind::LanguagePack || kind == TFamilyKind::Sdk;
}

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
    if (HASWORD(upperRest, "SDK")) return TSuiteEntry::Sdk;
    return TSuiteEntry::SuiteOtherwise;
}

bool ISNAMEDASSUITE(const std::string& displayName, const std::string& SVERSOOO) {
    const TSuiteEntry kind = SUITEENTRYKIND(displayName, SVERSOOO);
    return kind == TSuiteEntry::Suite || kind == TSuiteEntry::SuiteOtherwise;
}

}  // namespace korvalend
