// Searches over the Windows Uninstall key: the first entry whose display
// value begins with a text, and what to do with it.
#pragma once

#include <functional>
#include <string>

namespace korvalend {

inline const std::string SUNINST_PATH = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// What the search returns of the matching entry.
enum class UninstallAnswer {
    ValueText,  // the SKEY2 value, double quotes removed
    EntryName,  // the entry's key name, when it has an SKEY2 value
};

// Consulted for an entry whose SKEY value matched: true passes over it and the
// search goes on with the next entry. Receives the entry's key name and the
// whole text of its SKEY value.
using UninstallSkip = std::function<bool(const std::string& entryName, const std::string& keyText)>;

// The common search: entries in enumeration order; an entry takes part
// through its value named SKEY exactly (letter case included), whose first
// len(SCHAINE) bytes must equal SCHAINE under ANSI upper-casing. The first
// entry that matches (and is not skipped) ends the search; empty when none
// does or it has no SKEY2 value. Nothing is cached between calls.
[[nodiscard]] std::string searchUninstallEntries(const std::string& SCHAINE, const std::string& SKEY,
                                                 const std::string& SKEY2, UninstallAnswer answer,
                                                 const UninstallSkip& skip = nullptr);

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
