// The library's case map and case-insensitive matching against the
// platform's own ANSI upper-casing.
#include <gtest/gtest.h>

#include <string>

#include "fonction/deltree.h"
#include "fonction/strings.h"
#include "platform/text.h"

using namespace fonction;

namespace {

TEST(StringsContract, CaseMapUpperSectionIsThePlatformsUpperCase) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(ANSICASEMAP[static_cast<std::size_t>(ANSIUPOFFSET + b)],
                  static_cast<unsigned char>(platform::charUpperBuffA(one)[0]))
            << "byte " << b;
    }
}

TEST(StringsContract, CaseInsensitiveSearchesAgreeWithThePlatform) {
    // Accented letters of code page 1252 fold like ASCII ones.
    EXPECT_EQ(STRIPOS("\xC9T\xC9", "r\xE9sum\xE9 \xE9t\xE9"), 8);
    EXPECT_EQ(STRAFTER("MSIEXEC.EXE /I", "MsiExec.exe /I{ABC}"), "{ABC}");
    EXPECT_TRUE(ISFILENAMEMATCH("\xE9t\xE9.lnk", "\xC9T\xC9.LNK", false));
    EXPECT_FALSE(ISFILENAMEMATCH("\xE9t\xE9.lnk", "\xC9T\xC9.LNK", true));
    EXPECT_TRUE(ISFILENAMEMATCH("LibreOffice Writer.lnk", "*office*.LNK", false));
}

}  // namespace
