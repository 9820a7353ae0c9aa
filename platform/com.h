// COM class registration lookup (ole32).
#pragma once

#include <cstdint>

namespace platform {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};

// CLSIDFromProgID on a NUL-terminated UTF-16 text; returns the HRESULT. Made
// without any COM initialisation.
[[nodiscard]] int32_t clsidFromProgID(const char16_t* progId, Guid& clsid);

}  // namespace platform
