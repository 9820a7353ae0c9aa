// What the program relies on from the Windows Installer's queries, checked on
// the simulated installer and, under Wine, on the real one: the answers that
// need no installed package, and where msi.dll comes from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/msi.h"
#include "platform/text.h"
#include "platform/wintypes.h"
#include "support/filelab.h"

namespace {

using platform::kInstallStateInvalidArg;
using platform::kInstallStateUnknown;

// A well-formed code that no package registers.
const std::u16string kNobody = u"{DEADBEEF-0000-4000-8000-00000000C0DE}";

std::string narrow(const std::u16string& s) { return platform::wideToAnsi(s); }

TEST(MsiContract, CodesThatNameNoProductAndTextsThatAreNoCode) {
    testsupport::FileLab lab;  // natively: a fresh simulated machine
    struct Case {
        std::u16string code;
        int32_t state;
        uint32_t info;  // MsiGetProductInfoW's and MsiSourceListGetInfoW's answer
    };
    const uint32_t unknown = platform::kErrorUnknownProduct;
    const uint32_t invalid = platform::kErrorInvalidParameter;
    const Case cases[] = {
        {kNobody, kInstallStateUnknown, unknown},
        {u"{deadbeef-0000-4000-8000-00000000c0de}", kInstallStateUnknown, unknown},
        {kNobody + u'\0' + u"more", kInstallStateUnknown, unknown},  // read up to the NUL
        {u"", kInstallStateInvalidArg, invalid},
        {u"{0DE}", kInstallStateInvalidArg, invalid},
        {kNobody.substr(1, 36), kInstallStateInvalidArg, invalid},  // no braces
        {kNobody + u" ", kInstallStateInvalidArg, invalid},
        {u"{" + kNobody, kInstallStateInvalidArg, invalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.code));
        EXPECT_EQ(platform::msiQueryProductStateW(c.code), c.state);
        for (const char16_t* property : {u"LocalPackage", u"InstallLocation"}) {
            std::u16string value = u"untouched";
            EXPECT_EQ(platform::msiGetProductInfoW(c.code, property, value), c.info);
            EXPECT_EQ(value, u"untouched");
        }
        for (const char16_t* property : {u"LastUsedSource", u"PackageName"}) {
            std::u16string value = u"untouched";
            EXPECT_EQ(platform::msiSourceListGetInfoW(c.code, property, value), c.info);
            EXPECT_EQ(value, u"untouched");
        }
    }
}

// Property names are compared letter case included; MsiGetProductInfoW looks
// at the name before the product, MsiSourceListGetInfoW after it.
TEST(MsiContract, AnUnknownPropertyOfAnUnknownProduct) {
    testsupport::FileLab lab;
    std::u16string value;
    for (const char16_t* property : {u"localpackage", u"NoSuchProperty", u""})
        EXPECT_EQ(platform::msiGetProductInfoW(kNobody, property, value),
                  static_cast<uint32_t>(platform::kErrorUnknownProperty));
    EXPECT_EQ(platform::msiSourceListGetInfoW(kNobody, u"NoSuchProperty", value),
              static_cast<uint32_t>(platform::kErrorUnknownProduct));
}

// Under Wine the build puts an msi.dll of its own beside this program, named
// in KORVALEND_PLANTED_MSI, whose state query answers 77; one run tells Wine
// to prefer it to its builtin (msi=n,b), as a search of the program's folder
// would. Natively there is no search order to get wrong.
TEST(MsiContract, AnMsiDllBesideTheProgramIsNeverLoaded) {
    testsupport::FileLab lab;
    if (const char* planted = std::getenv("KORVALEND_PLANTED_MSI")) {
        ASSERT_NE(platform::getFileAttributesA(planted), platform::kInvalidFileAttributes) << planted;
    }
    EXPECT_EQ(platform::msiQueryProductStateW(kNobody), kInstallStateUnknown);
    char system[260] = {};
    const uint32_t n = platform::getSystemDirectoryA(system, sizeof system);
    ASSERT_TRUE(n > 0 && n < sizeof system);
    const std::u16string loaded = platform::msiLibraryPath();
    EXPECT_TRUE(platform::equalOrdinalIgnoreCase(loaded, platform::ansiToWide(system) + u"\\msi.dll")) << narrow(loaded);
}

}  // namespace
