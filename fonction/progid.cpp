#include "fonction/progid.h"

#include "platform/com.h"

namespace fonction {

bool PROGIDEXISTS(const std::u16string& PROGID) {
    const std::u16string WIDEPROGID = PROGID;  // c_str() is an empty text, never null
    platform::Guid TMP;
    // Bit 31 clear is the platform's success test: S_FALSE and the like count.
    return platform::clsidFromProgID(WIDEPROGID.c_str(), TMP) >= 0;
}

}  // namespace fonction
