#include "platform/com.h"

#include "platform/registry.h"
#include "platform/sim/machine.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr int32_t kSOk = 0;
constexpr int32_t kCoEClassString = static_cast<int32_t>(0x800401F3u);

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
bool parseGuid(const std::u16string& text, Guid& g) {
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}') return false;
    uint8_t bytes[16];
    std::size_t pos = 1;
    for (int i = 0; i < 16; ++i) {
        if (text[pos] == u'-') ++pos;
        const int hi = hexDigit(text[pos]);
        const int lo = hexDigit(text[pos + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
        pos += 2;
    }
    g.data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    g.data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
    return true;
}

}  // namespace

// As CLSIDFromProgID: HKCR\<ProgID>\CLSID's default value names the class.
int32_t clsidFromProgID(const char16_t* progId, Guid& clsid) {
    auto& m = sim::current();
    const std::u16string id = progId ? std::u16string(progId) : std::u16string();
    m.progIdLookups.push_back(id);
    if (auto it = m.progIdResults.find(id); it != m.progIdResults.end()) return it->second;
    if (id.empty()) return kCoEClassString;
    UniqueKey key;
    if (regOpenKeyExW(hkeyClassesRoot(), id + u"\\CLSID", 0x20019, key) != 0) return kCoEClassString;
    uint32_t type = 0;
    std::string data;
    if (regQueryValueExW(key.get(), u"", type, data) != 0 || (type != 1 && type != 2)) return kCoEClassString;
    std::u16string text = registryUtf16(data);
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    Guid parsed;
    if (!parseGuid(text, parsed)) return kCoEClassString;
    clsid = parsed;
    return kSOk;
}

}  // namespace platform
