// Registry values and paths of any shape through the accessor and the
// detection: no crash, no leaked handle, and the outcome the rules define.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "korvalend/detection.h"
#include "korvalend/program.h"
#include "platform/sim/machine.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace {

// Splits the input at the first two 0xFF bytes: path, name, data.
void split(const uint8_t* data, std::size_t size, std::string& path, std::string& name, std::string& bytes) {
    std::string* parts[] = {&path, &name, &bytes};
    int part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && part < 2) {
            ++part;
            continue;
        }
        parts[part]->push_back(static_cast<char>(data[i]));
    }
}

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const uint32_t type = data[0] % 12;
    std::string path, name, bytes;
    split(data + 1, size - 1, path, name, bytes);

    sim::Machine m;
    m.registry.addKey(sim::Root::LocalMachine, "Software\\Fixed\\Sub");
    m.registry.setRaw(sim::Root::LocalMachine, "Software\\Fixed", name, type, bytes);
    {
        platform::TRegistry reg(platform::kKeyRead);
        reg.SETROOTKEY(platform::hkeyLocalMachine());
        (void)reg.KEYEXISTS(path);
        if (reg.OPENKEYREADONLY(path)) {
            platform::TStrings list;
            reg.GETKEYNAMES(list);
            reg.GETVALUENAMES(list);
        }
        check(reg.OPENKEYREADONLY("\\Software\\Fixed"));
        const bool text = type == platform::kRegSz || type == platform::kRegExpandSz;
        try {
            const std::string s = reg.READSTRING(name);
            check(text || bytes.empty() || name.find('\0') != std::string::npos);
            if (name.find('\0') == std::string::npos) check(s.size() <= bytes.size() / 2);
        } catch (const platform::ERegistryException&) {
            check(!text && !bytes.empty());
        }
    }
    check(m.registry.openHandles() == 0);

    // The same bytes as the AppID's default value, through the whole run.
    m.registerProgId("com.sun.star.ServiceManager.1", "{00000000-0000-0000-0000-000000000001}");
    m.registry.setRaw(sim::Root::LocalMachine, "Software\\Classes\\AppID\\{82154420-0FBF-11d4-8313-005004526AB4}", "",
                      type, bytes);
    const int code = korvalend::RUNPROCESS({path});
    check(code == 0 || code == 217);
    check((code == 217) == (m.messageBoxes.size() == 1));
    check(m.registry.openHandles() == 0);
    return 0;
}
