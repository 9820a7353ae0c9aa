// Why the run keeps a path, skips a step, or leaves a suite: typed values,
// each with one text. The observer hears the value; the preview, the check
// and a run's record print its text, so that the words shown are the ones the
// run acted on, and a record can tell a failure from a choice.
#pragma once

#include <cstdint>
#include <string>

#include "korvalend/safety.h"

namespace korvalend {

// A fact of a suite the run could not find.
enum class TMISSING {
    NONE,
    INSTALLLOCATION,  // "no install location"
    PRODUCTKEY,       // "no product key"
    PRODUCTCODE,      // "no product code"
    UNINSTALLENTRY,   // "no Uninstall entry for its product code"
};
[[nodiscard]] const char* MISSINGTEXT(TMISSING missing);

// A step not taken. SUBJECT and NUMBER fill the text where it names something.
enum class TSKIP {
    NONE,
    NOTHINGREGISTERED,    // no suite of the family is registered
    NOPROGID,             // the automation ProgID is not registered
    APPIDNOTFAMILY,       // the AppID names no suite of the family
    NOLOCATIONBELOW,      // no install location is recorded below SUBJECT (a vendor key)
    FACTMISSING,          // MISSING, then SUBJECT: where it was looked for
    SUITEDEALTWITH,       // the suite SUBJECT (a product code) is dealt with already
    SUITELIMIT,           // the run's limit of suites is reached: SUBJECT stays
    INSTALLERBUSY,        // the Windows Installer stayed busy through the run's wait
    MUTEXUNKNOWN,         // the installer's mutex cannot be opened or waited on
    NOCOMMAND,            // the extension has no uninstall command
    COMMANDRUN,           // its uninstall command has already run
    COMMANDNOTSTARTED,    // its uninstall command could not be started
    UNINSTALLERTIMEOUT,   // its uninstaller did not end within NUMBER minutes
    WAITSPENT,            // the run's NUMBER minutes of waiting are spent: no uninstaller is started
    INSTALLERNOTSTARTED,  // Msiexec.exe could not be started for a pack
    PACKSTAYS,            // a pack is still registered after its uninstaller (exit code NUMBER)
    NOSUITEENTRY,         // the suite's Uninstall entry SUBJECT is missing
    SUITEORPHANED,        // the installer no longer knows the suite's product SUBJECT (1605): nothing deleted
    SUITENOTSTARTED,      // the suite's uninstaller could not be started
    SUITESTAYS,           // the suite is still registered after its uninstaller (exit code NUMBER)
    KEYREFUSED,           // the product key cannot name it (REFUSAL says why)
    LIBREOFFICESTAYS,     // a LibreOffice stays installed
    SAMEPRODUCTKEY,       // another installed suite has the same product key
    COLLABORASTAYS,       // a Collabora Office stays installed
    FAMILYSTAYS,          // another suite of the family stays installed
    NOINSTALLERQUERIES,   // the Windows Installer cannot be asked (SUBJECT says why): entries go by their names
    PROCESSNOTOPENED,     // the process cannot be opened
    PROCESSNOTENDED,      // the process could not be ended
};

// Why a path is kept or a step skipped: a refusal of the path (TREFUSAL), a
// skipped step (TSKIP) or a missing fact (TMISSING), with what it names.
struct TReason {
    TReason(TREFUSAL refusal, std::string subject = {});  // NOLINT: a refusal is a reason
    TReason(TSKIP skip, std::string subject = {}, uint64_t number = 0);  // NOLINT
    TReason(TMISSING missing, std::string where);
    TReason(TSKIP skip, TREFUSAL refusal);  // KEYREFUSED: why the product key cannot name it

    TREFUSAL refusal = TREFUSAL::NONE;
    TSKIP skip = TSKIP::NONE;
    TMISSING missing = TMISSING::NONE;
    std::string subject;
    uint64_t number = 0;

    // The reason in words, as the preview prints it.
    [[nodiscard]] std::string text() const;
    // The run tried and could not (an uninstaller that could not start, did
    // not end or left its entry, a path that could not go, a process that
    // could not be ended), rather than chose not to.
    [[nodiscard]] bool failure() const;
};

}  // namespace korvalend
