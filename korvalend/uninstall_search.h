// Searches over the Windows Uninstall key: a walk over the entries whose
// display value begins with given texts, the first such entry and what to do
// with it. The run walks the entries (WALKUNINSTALLENTRIES, UNINSTALLVALUE);
// it no longer calls the first-match searches RECH_PROG, RECUP_CLE,
// RECH_APPLICATION and SUPP_APPLICATION, kept for their interface.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "korvalend/suite.h"
#include "platform/machine_keys.h"

namespace platform {
class TRegistry;
}

namespace korvalend {

// The Uninstall key, as an absolute path of an accessor, and as the start of
// an entry's path below HKEY_LOCAL_MACHINE.
inline const std::string SUNINST_PATH = "\\" + platform::keys::kUninstall;
inline const std::string SUNINSTALL_KEY = platform::keys::kUninstall + "\\";

// One entry as a walk hands it over. `key` has the entry open while the visit
// lasts, and only then.
struct TUninstallEntry {
    std::string name;          // the entry's key name, as listed
    std::string text;          // the text of its SKEY value; "" when it is not text
    std::exception_ptr error;  // what reading that value raised (data that is not text), or null
    const platform::TRegistry* key = nullptr;
    TRegistryView view = TRegistryView::Native;  // the view the entry was listed in

    // The text of another value of the entry, every double quote removed; ""
    // when the entry has no such value (value names without regard to case).
    // Raises as READSTRING does for data that is not text.
    [[nodiscard]] std::string valueText(const std::string& valueName) const;
    // The Windows Installer no longer holds the product the entry stands for
    // (INSTALLERPRODUCTCODE): an orphan, no product to take or count.
    // Raises as valueText does for an UninstallString that is not text.
    [[nodiscard]] bool orphan() const;
    // orphan(), told to the observer once a run when true; an UninstallString
    // that is not text makes no orphan.
    [[nodiscard]] bool orphanTold() const;
};

// Whether the walk wants an entry, from the text of its SKEY value.
using UninstallWanted = std::function<bool(const std::string& text)>;
// True ends the walk.
using UninstallVisit = std::function<bool(const TUninstallEntry&)>;

// TEXT begins with PREFIX under the ANSI upper-casing (which folds letters
// outside ASCII too); a shorter text never does.
[[nodiscard]] bool DISPLAYBEGINSWITH(const std::string& TEXT, const std::string& PREFIX);

// Walks the entries in listing order and hands VISIT each one that has a value
// named SKEY exactly (letter case included) whose text WANTED accepts, or whose
// data is not text: the visitor decides whether that error matters. Entries
// that cannot be opened are passed over. Nothing is cached between calls.
// VIEW is the registry view walked; true from VISIT ends the walk.
void WALKUNINSTALLENTRIES(const std::string& SKEY, const UninstallWanted& WANTED, const UninstallVisit& VISIT,
                          TRegistryView VIEW = TRegistryView::Native);
// The same over the native view and then the 32-bit one; true from VISIT
// ends both.
void WALKUNINSTALLVIEWS(const std::string& SKEY, const UninstallWanted& WANTED, const UninstallVisit& VISIT);

// The text of VALUENAME of the Uninstall entry ENTRY in VIEW, every double
// quote removed; "" when the entry or the value is missing. Raises as
// READSTRING does for data that is not text.
[[nodiscard]] std::string UNINSTALLVALUE(TRegistryView VIEW, const std::string& ENTRY, const std::string& VALUENAME);

// What the first-match search returns of the matching entry.
enum class UninstallAnswer {
    ValueText,  // the SKEY2 value, double quotes removed
    EntryName,  // the entry's key name, when it has an SKEY2 value
};

// The first-match search: the first entry whose SKEY value begins with
// SCHAINE ends the search; empty when none does or it has no SKEY2 value. An
// entry read before it whose SKEY value is not text raises.
[[nodiscard]] std::string searchUninstallEntries(const std::string& SCHAINE, const std::string& SKEY,
                                                 const std::string& SKEY2, UninstallAnswer answer);

// The SKEY2 value of the first matching entry, every double quote removed.
[[nodiscard]] std::string RECH_PROG(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2);
// The key name of the first matching entry when it has an SKEY2 value.
[[nodiscard]] std::string RECUP_CLE(const std::string& SCHAINE, const std::string& SKEY, const std::string& SKEY2);
// Whether an entry's DisplayName begins with SNOM_APP.
[[nodiscard]] bool RECH_APPLICATION(const std::string& SNOM_APP);
// Runs the UninstallString of the first entry whose DisplayName begins with
// SNOM_APP, whole, with SPARAM as its arguments, and waits for it. False only
// when a command was found and could not be launched.
[[nodiscard]] bool SUPP_APPLICATION(const std::string& SNOM_APP, const std::string& SPARAM);

}  // namespace korvalend
