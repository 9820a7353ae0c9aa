// The simulated Windows Installer's registration: the products it holds for
// the machine, what its queries answer about them, and whether its library
// loads at all. The scripted installer (scripted.h) registers a product when
// a test installs one and forgets it when it uninstalls it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

struct InstalledProduct {
    int32_t state = 5;  // INSTALLSTATE_DEFAULT; 1 advertised, 2 another user's
    bool perMachine = true;  // its source list is the machine's (else a user's)
    bool wow32 = false;      // its Uninstall entry went to the 32-bit view (an x86 package)
    std::string localPackage;    // the cached package, "C:\Windows\Installer\<name>.msi"
    std::string lastUsedSource;  // the folder it was installed from, "C:\Packages\"
    std::string packageName;     // the package's file name in that folder
    // Other MsiGetProductInfoW properties ("InstallLocation"...); one the call
    // knows that is not listed here reads as empty.
    std::map<std::string, std::string> info;
};

class Installer {
public:
    // Registers a product, replacing one of the same code; codes compare
    // without regard to letter case.
    InstalledProduct& add(const std::string& productCode, InstalledProduct product = {});
    bool forget(const std::string& productCode);
    [[nodiscard]] InstalledProduct* find(const std::string& productCode);

    // The installer's own idea of a product code: 38 characters, "{" 8-4-4-4-12
    // hexadecimal digits "}".
    [[nodiscard]] static bool isProductCode(const std::string& code);
    // The package the installer falls back to: LastUsedSource joined with
    // PackageName; "" without either.
    [[nodiscard]] static std::string sourcePackage(const InstalledProduct& product);

    // msi.dll loads from the system folder; false: every query fails as if
    // the library were missing.
    bool libraryLoads = true;
    // Non-zero: answered by every MsiGetProductInfoW and MsiSourceListGetInfoW
    // call instead (ERROR_ACCESS_DENIED, ERROR_BAD_CONFIGURATION). The state
    // query has no error to answer and is not affected.
    uint32_t error = 0;

    // Every query made, in order: "state <code>", "info <code> <property>",
    // "source <code> <property>", the texts as asked (ANSI).
    std::vector<std::string> queries;
    // The state queries made for a code, letter case aside.
    [[nodiscard]] int stateQueries(const std::string& productCode) const;

private:
    std::map<std::string, InstalledProduct> products_;  // key: upper-cased code
};

}  // namespace sim
