// The account the process runs as (advapi32: its token's user).
#pragma once

#include <string>

namespace platform {

// "DOMAIN\name" (LookupAccountSidA) and the SID in its string form
// ("S-1-5-18" for the local system account); each empty when it cannot be read.
struct Account {
    std::string name;
    std::string sid;
};
[[nodiscard]] Account currentAccount();

inline const std::string kLocalSystemSid = "S-1-5-18";

}  // namespace platform
