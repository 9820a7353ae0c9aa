// Asks the Windows Installer about product codes through the platform's own
// wrappers, as the program asks it, and prints its answers:
//   msi_query.exe CODE...
//     <code> state <state, or "none" when msi.dll could not be loaded>
//     <code> LocalPackage <return code> <value>      (MsiGetProductInfoW)
//     <code> LastUsedSource <return code> <value>    (MsiSourceListGetInfoW)
//     <code> PackageName <return code> <value>
//     library <the msi.dll loaded>
//     time first_us <the first query, msi.dll's loading included> later_us <mean of the other state queries>
//   msi_query.exe --repeat N CODE...   asks each code's state N times more, for the timing line
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/msi.h"
#include "tests/e2e/winprog.h"

namespace {

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::string narrow(const std::u16string& s) {
    return e2e::toUtf8(std::wstring(s.begin(), s.end()));
}

void show(const std::string& code, const char* property, uint32_t rc, const std::u16string& value) {
    std::printf("%s %s %lu %s\n", code.c_str(), property, static_cast<unsigned long>(rc),
                rc == 0 ? narrow(value).c_str() : "");
}

}  // namespace

int main(int argc, char** argv) {
    int repeat = 0;
    std::vector<std::string> codes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc) repeat = std::atoi(argv[++i]);
        else codes.push_back(arg);
    }
    double firstUs = -1;
    double laterUs = 0;
    int later = 0;
    for (const std::string& code : codes) {
        const double start = e2e::nowMs();
        const std::optional<int32_t> state = platform::msiQueryProductStateW(widen(code));
        const double took = (e2e::nowMs() - start) * 1000.0;
        if (firstUs < 0) firstUs = took;
        else laterUs += took, ++later;
        if (state) std::printf("%s state %ld\n", code.c_str(), static_cast<long>(*state));
        else std::printf("%s state none\n", code.c_str());
        std::u16string value;
        uint32_t rc = platform::msiGetProductInfoW(widen(code), u"LocalPackage", value);
        show(code, "LocalPackage", rc, value);
        rc = platform::msiSourceListGetInfoW(widen(code), u"LastUsedSource", value);
        show(code, "LastUsedSource", rc, value);
        rc = platform::msiSourceListGetInfoW(widen(code), u"PackageName", value);
        show(code, "PackageName", rc, value);
        for (int n = 0; n < repeat; ++n) {
            const double again = e2e::nowMs();
            (void)platform::msiQueryProductStateW(widen(code));
            laterUs += (e2e::nowMs() - again) * 1000.0;
            ++later;
        }
    }
    std::printf("library %s\n", narrow(platform::msiLibraryPath()).c_str());
    std::printf("time first_us %.1f later_us %.1f\n", firstUs, later > 0 ? laterUs / later : 0.0);
    return 0;
}
