#include "platform/com.h"

#include <cstring>

#include "platform/win32/windows_support.h"

namespace platform {

static_assert(sizeof(Guid) == sizeof(CLSID));

int32_t clsidFromProgID(const char16_t* progId, Guid& clsid) {
    CLSID id{};
    const HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId), &id);
    if (SUCCEEDED(hr)) {
        clsid.data1 = id.Data1;
        clsid.data2 = id.Data2;
        clsid.data3 = id.Data3;
        std::memcpy(clsid.data4, id.Data4, sizeof clsid.data4);
    }
    return hr;
}

}  // namespace platform
