#include "korvalend/reasons.h"

#include <utility>

namespace korvalend {

const char* MISSINGTEXT(TMISSING missing) {
    switch (missing) {
        case TMISSING::NONE: return "";
        case TMISSING::INSTALLLOCATION: return "no install location";
        case TMISSING::PRODUCTKEY: return "no product key";
        case TMISSING::PRODUCTCODE: return "no product code";
        case TMISSING::UNINSTALLENTRY: return "no Uninstall entry for its product code";
    }
    return "";
}

TReason::TReason(TREFUSAL refusal, std::string subject) : refusal(refusal), subject(std::move(subject)) {}
TReason::TReason(TSKIP skip, std::string subject, uint64_t number)
    : skip(skip), subject(std::move(subject)), number(number) {}
TReason::TReason(TSKIP skip, TREFUSAL refusal) : refusal(refusal), skip(skip) {}
TReason::TReason(TMISSING missing, std::string where)
    : skip(TSKIP::FACTMISSING), missing(missing), subject(std::move(where)) {}

namespace {

std::string code(uint64_t n) { return std::to_string(static_cast<uint32_t>(n)); }

std::string skipText(const TReason& r) {
    const std::string& s = r.subject;
    switch (r.skip) {
        case TSKIP::NONE: return "";
        case TSKIP::NOTHINGREGISTERED: return "no suite of the family is registered";
        case TSKIP::NOPROGID: return "the ProgID com.sun.star.ServiceManager.1 is not registered";
        case TSKIP::APPIDNOTFAMILY: return "the AppID names no LibreOffice, Collabora or ZetaOffice suite";
        case TSKIP::NOLOCATIONBELOW: return "no install location is recorded below " + s;
        case TSKIP::FACTMISSING: return std::string(MISSINGTEXT(r.missing)) + ": " + s;
        case TSKIP::SUITEDEALTWITH: return "the suite " + s + " is dealt with already";
        case TSKIP::SUITELIMIT: return "one run removes " + std::to_string(r.number) + " suites at most: " + s + " stays";
        case TSKIP::INSTALLERBUSY:
            return "the Windows Installer stayed busy through the run's " + std::to_string(r.number) +
                   " minutes of waiting: Msiexec.exe is not started, nothing is deleted (exit code 1618, retry later)";
        case TSKIP::MUTEXUNKNOWN: return "Global\\_MSIExecute cannot be opened or waited on";
        case TSKIP::NOCOMMAND: return "it has no uninstall command";
        case TSKIP::COMMANDRUN: return "its uninstall command has already run";
        case TSKIP::COMMANDNOTSTARTED: return "its uninstall command could not be started";
        case TSKIP::UNINSTALLERTIMEOUT:
            return "its uninstaller did not end within " + std::to_string(r.number) +
                   " minutes: it is left running and the rest of the suite's removal is skipped";
        case TSKIP::WAITSPENT: return "the run's " + std::to_string(r.number) + " minutes of waiting are spent";
        case TSKIP::INSTALLERNOTSTARTED: return "Msiexec.exe could not be started";
        case TSKIP::PACKSTAYS: return "it is still registered after its uninstaller (exit code " + code(r.number) + ")";
        case TSKIP::NOSUITEENTRY: return "the suite's Uninstall entry " + s + " is missing";
        case TSKIP::SUITEORPHANED:
            return "the Windows Installer no longer holds the suite's product " + s + " (exit code 1605): nothing of it is deleted";
        case TSKIP::SUITENOTSTARTED: return "the suite's uninstaller could not be started (exit code 1603)";
        case TSKIP::SUITESTAYS:
            return "the suite is still registered after its uninstaller (exit code " + code(r.number) + ")";
        case TSKIP::KEYREFUSED: return std::string("the product key ") + REFUSALREASON(r.refusal);
        case TSKIP::LIBREOFFICESTAYS: return "a LibreOffice stays installed";
        case TSKIP::SAMEPRODUCTKEY: return "another installed suite has the same product key";
        case TSKIP::COLLABORASTAYS: return "a Collabora Office stays installed";
        case TSKIP::FAMILYSTAYS: return "another suite of the family stays installed";
        case TSKIP::NOINSTALLERQUERIES: return s + ": entries are taken by their names alone";
        case TSKIP::PROCESSNOTOPENED: return "it cannot be opened: it has ended, or may not be ended";
        case TSKIP::PROCESSNOTENDED: return "it could not be ended";
    }
    return "";
}

}  // namespace

std::string TReason::text() const {
    if (skip != TSKIP::NONE) return skipText(*this);
    switch (refusal) {
        case TREFUSAL::HELDBYPACK: return "holds " + subject + ", which is still registered";
        case TREFUSAL::HELDBYSUITE: return "is the install location of the suite of the " + subject + " view, which stays";
        case TREFUSAL::OTHERIMAGE: return "is another program's soffice.bin (" + subject + ")";
        default: return REFUSALREASON(refusal);
    }
}

bool TReason::failure() const {
    switch (skip) {
        case TSKIP::FACTMISSING:
        case TSKIP::INSTALLERBUSY:
        case TSKIP::COMMANDNOTSTARTED:
        case TSKIP::UNINSTALLERTIMEOUT:
        case TSKIP::WAITSPENT:
        case TSKIP::INSTALLERNOTSTARTED:
        case TSKIP::PACKSTAYS:
        case TSKIP::SUITENOTSTARTED:
        case TSKIP::SUITESTAYS:
        case TSKIP::PROCESSNOTENDED: return true;
        case TSKIP::NONE: break;
        default: return false;
    }
    return refusal == TREFUSAL::NOTRECYCLED || refusal == TREFUSAL::NOTDELETED;
}

}  // namespace korvalend
