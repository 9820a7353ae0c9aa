// After a positive detection: every suite the vendor keys record, one at a
// time (the suite walk), and for each where it is installed, its product key
// and its Windows Installer product code.
#pragma once

#include <array>
#include <optional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "korvalend/family.h"
#include "korvalend/outcome.h"
#include "korvalend/reasons.h"
#include "korvalend/suite.h"

namespace korvalend {

inline const std::string SPATH_LIBO_TDF = "\\SOFTWARE\\The Document Foundation\\LibreOffice\\";
inline const std::string SPATH_LIBO_MIMO = "\\SOFTWARE\\MimO\\LibreOffice\\";
inline const std::string SPATH_LIBO_COLLABORA = "SOFTWARE\\Collabora\\Collabora Office\\";
inline const std::string SPATH_LIBO_ZETA = "\\SOFTWARE\\allotropia software GmbH\\ZetaOffice\\";
// Looked up in this order, each in the native view and then in the 32-bit one.
inline const std::array<std::string, 4> SVENDOR_KEYS = {SPATH_LIBO_TDF, SPATH_LIBO_MIMO, SPATH_LIBO_COLLABORA,
                                                         SPATH_LIBO_ZETA};
// The family whose suites a vendor key records: the MimO build registers as
// LibreOffice.
[[nodiscard]] const std::string& VENDORFAMILY(const std::string& vendorKey);
inline const std::string SBOOTSTRAP_INI = "PROGRAM\\bootstrap.ini";
inline const std::string SPRODUCTCODE_MARKER = "MsiExec.exe /I";
// A package that cannot be modified records its removal instead.
inline const std::string SPRODUCTCODE_REMOVAL_MARKER = "MsiExec.exe /X";

// The install locations recorded below VENDORKEY in VIEW, the one the
// removal takes first first: the folders that hold program\bootstrap.ini,
// from the last version listed to the first (a version key left behind may be
// listed after the installed one), each once; when none does, the last
// location recorded at all. Lower-cased, trailing NULs dropped, a backslash
// added when it lacks one. Empty when the key records none or does not exist.
[[nodiscard]] std::vector<std::string> INSTALLLOCATIONS(const std::string& VENDORKEY, TRegistryView VIEW);

// The uninstall command of the suite's own Uninstall entry in VIEW: the first
// entry that is the suite (TSuiteEntry::Suite), failing that the first named
// otherwise. Help packs and other siblings begin with the same text and may be
// listed first. An entry whose DisplayName is not text ends the run only where
// a search for the first entry beginning with the key would have read it.
// DISPLAYNAME receives the entry's DisplayName.
[[nodiscard]] std::string SUITEUNINSTALLCOMMAND(const std::string& SVERSOOO, TRegistryView VIEW,
                                                std::string* DISPLAYNAME = nullptr);

// The product code of an uninstall command: what follows "MsiExec.exe /I" or,
// failing that, "MsiExec.exe /X" (letter case aside); "" for neither.
[[nodiscard]] std::string PRODUCTCODEOF(const std::string& command);

// The facts of the suite whose location VENDORKEY records in VIEW at
// LOCATION: its product key from its bootstrap.ini (trailing blanks dropped)
// and the product code of its own Uninstall entry in the same view, and the
// version keys that record the location. What cannot be found stays empty;
// MISSING names it, WHY says where it was looked for.
struct TResolution {
    TSuiteFacts facts;
    TMISSING missing = TMISSING::NONE;
    std::string why;
};
[[nodiscard]] TResolution RESOLVESUITEFACTS(const std::string& VENDORKEY, TRegistryView VIEW,
                                            const std::string& LOCATION);

// The version keys below VENDORKEY in VIEW whose upgrade-code subkey records
// LOCATION (spelled as INSTALLLOCATIONS spells it): what goes with the suite
// when its uninstaller runs. Paths below HKEY_LOCAL_MACHINE.
[[nodiscard]] std::vector<std::string> VENDORRECORDS(const std::string& VENDORKEY, TRegistryView VIEW,
                                                     const std::string& LOCATION);

// One run removes this many suites at most, so that nothing can make it loop.
constexpr int kSuiteLimit = 8;

// Every suite the vendor keys record, handed out one at a time: the vendor
// keys in their fixed order, each in the native view and then in the 32-bit
// one, and below each its locations in the order INSTALLLOCATIONS gives them,
// read afresh before each suite (the last removal changed the registry). A
// location without bootstrap.ini is a key left behind, tried only at the
// first look at its key. A suite (its product code) is taken once, a location
// tried once, and no more than kSuiteLimit suites are handed out. What cannot
// be resolved, and the limit reached, are told to the observer and kept in
// FACTS, which decide the exit code.
class TSuiteWalk {
public:
    explicit TSuiteWalk(TOutcomeFacts& facts) : facts_(facts) {}
    // The next suite to remove, or none when every one has been handed out.
    [[nodiscard]] std::optional<TSuiteFacts> next();
    // How many suites it has handed out.
    [[nodiscard]] int taken() const noexcept { return taken_; }

private:
    TOutcomeFacts& facts_;
    std::size_t vendor_ = 0;
    std::size_t view_ = 0;
    bool keyOpen_ = false;   // the current vendor key exists and was told
    bool firstLook_ = true;  // at the current vendor key
    bool done_ = false;
    int taken_ = 0;
    std::set<std::string> codes_;  // upper-cased product codes taken
    std::set<std::pair<TRegistryView, std::string>> tried_;
};

}  // namespace korvalend
