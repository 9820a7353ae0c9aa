// COM ProgID probe.
#pragma once

#include <string>

namespace fonction {

// True when the ProgID resolves to a class identifier. Makes no COM
// initialisation; an empty ProgID is passed as an empty text.
[[nodiscard]] bool PROGIDEXISTS(const std::u16string& PROGID);

}  // namespace fonction
