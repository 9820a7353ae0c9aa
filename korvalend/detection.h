// Whether a suite of the family is registered on the machine.
#pragma once

#include <string>

namespace korvalend {

inline const std::u16string SPROGID_SERVICEMANAGER = u"com.sun.star.ServiceManager.1";
inline const std::string SAPPID_KEY = "Appid\\{82154420-0FBF-11d4-8313-005004526AB4}";

// True when the AppID's default value begins with SLIBO, ASCII case aside.
[[nodiscard]] bool TESTLIBREOFFICE(const std::string& SLIBO);
// The automation ProgID resolves, and the AppID names one of the products.
[[nodiscard]] bool ISLIBREOFFICEINSTALL();

}  // namespace korvalend
