// One suite of the family as a run resolves it: the registry view its facts
// were read in and the facts themselves. A run that removes several suites
// hands each one its own value down through resolution and removal; nothing
// of one suite is kept in program-wide strings.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvalend {

// The two registry views of 64-bit Windows: the native one, and the one
// 32-bit programs see (their keys below SOFTWARE\WOW6432Node).
enum class TRegistryView { Native, Wow32 };
// The order every walk takes them in.
inline constexpr std::array<TRegistryView, 2> kRegistryViews = {TRegistryView::Native, TRegistryView::Wow32};

// KEY_READ for the view: the native reads keep their mask, the 32-bit ones
// add KEY_WOW64_32KEY.
[[nodiscard]] uint32_t VIEWACCESS(TRegistryView view, uint32_t access);
// "64-bit" or "32-bit", as the preview names the view.
[[nodiscard]] const char* VIEWNAME(TRegistryView view);

struct TSuiteFacts {
    std::string vendorKey;                      // the vendor key its location is recorded under
    TRegistryView view = TRegistryView::Native;  // of that key and of the suite's Uninstall entry
    std::string SCHEMOPEN;                      // install location, lower case, ending with a backslash
    std::string SVERSOOO;                       // product key, from the suite's bootstrap.ini
    std::string SPRODUCTCODE;                   // Windows Installer product code, its Uninstall entry's name
    std::string displayName;                    // that entry's DisplayName
    // The version keys below the vendor key that record the location (paths
    // below HKEY_LOCAL_MACHINE, in VIEW): the suite's uninstaller takes them.
    std::vector<std::string> vendorRecords;
};

}  // namespace korvalend
