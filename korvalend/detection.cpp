#include "korvalend/detection.h"

#include "fonction/progid.h"
#include "platform/registry.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace korvalend {
namespace {
char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool startsWithAsciiCaseless(const std::string& a, const std::string& b) {
    const std::string head = a.substr(0, b.size());
    if (head.size() != b.size()) return false;
    for (std::size_t i = 0; i < head.size(); ++i)
        if (asciiUpper(head[i]) != asciiUpper(b[i])) return false;
    return true;
}

bool TESTLIBREOFFICE(const std::string& SLIBO) {
    platform::TRegistry REG(platform::kKeyRead);
    REG.SETROOTKEY(platform::hkeyClassesRoot());
    if (!REG.OPENKEYREADONLY(SAPPID_KEY)) return false;
    const std::string SVALPARDEFAUT = REG.READSTRING("");
    return startsWithAsciiCaseless(SVALPARDEFAUT, SLIBO);
}

bool ISLIBREOFFICEINSTALL() {
    if (!fonction::PROGIDEXISTS(SPROGID_SERVICEMANAGER)) return false;
    return TESTLIBREOFFICE("LibreOffice") || TESTLIBREOFFICE("Collabora") || TESTLIBREOFFICE("ZetaOffice");
}

}  // namespace korvalend
