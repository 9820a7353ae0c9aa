// The bootstrap.ini reading rules.
#include <gtest/gtest.h>

#include <string>

#include "korvalend/ini.h"
#include "platform/sim/machine.h"

using korvalend::DECODEINITEXT;
using korvalend::INIVALUE;

namespace {

template <std::size_t N>
std::string bytes(const char (&s)[N]) {
    return std::string(s, N - 1);
}

std::string productKey(const std::string& text) { return INIVALUE(text, "Bootstrap", "ProductKey", "<none>"); }

struct IniCase {
    const char* name;
    std::string text;
    std::string expected;
};

class IniLookup : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniLookup, FindsTheFirstKeyOfTheFirstSection) { EXPECT_EQ(productKey(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Rules, IniLookup,
    ::testing::Values(
        IniCase{"plain", "[Bootstrap]\r\nProductKey=LibreOffice 7.6\r\n", "LibreOffice 7.6"},
        IniCase{"caseAndBlanks", "[bootstrap]\n  productkey  =  LibreOffice 7.6  \n", "LibreOffice 7.6"},
        IniCase{"doubleQuotes", "[Bootstrap]\nProductKey=\"LibreOffice 7.6\"\n", "LibreOffice 7.6"},
        IniCase{"singleQuotes", "[Bootstrap]\nProductKey='Collabora Office'\n", "Collabora Office"},
        IniCase{"loneQuoteStays", "[Bootstrap]\nProductKey=\"\n", "\""},
        IniCase{"mismatchedQuotesStay", "[Bootstrap]\nProductKey=\"x'\n", "\"x'"},
        IniCase{"onlyOnePairRemoved", "[Bootstrap]\nProductKey=\"\"x\"\"\n", "\"x\""},
        IniCase{"emptyQuotedValue", "[Bootstrap]\nProductKey=\"\"\n", ""},
        IniCase{"emptyValue", "[Bootstrap]\nProductKey=\n", ""},
        IniCase{"secondKeyIgnored", "[Bootstrap]\nProductKey=first\nProductKey=second\n", "first"},
        IniCase{"secondSectionIgnored", "[Bootstrap]\nOther=1\n[Version]\nx=1\n[Bootstrap]\nProductKey=late\n",
                "<none>"},
        IniCase{"keyBeforeAnySection", "ProductKey=early\n[Bootstrap]\n", "<none>"},
        IniCase{"keyInOtherSection", "[Version]\nProductKey=v\n[Bootstrap]\nProductKey=b\n", "b"},
        IniCase{"commentSkipped", "[Bootstrap]\n;ProductKey=commented\nProductKey=real\n", "real"},
        IniCase{"hashIsNoComment", "[Bootstrap]\n#ProductKey=x\nProductKey=real\n", "real"},
        IniCase{"firstEqualsSplits", "[Bootstrap]\nProductKey=a=b\n", "a=b"},
        IniCase{"lineWithoutEquals", "[Bootstrap]\nProductKey\nProductKey=v\n", "v"},
        IniCase{"sectionNameNotStripped", "[ Bootstrap ]\nProductKey=v\n", "<none>"},
        IniCase{"sectionLineStripped", "  \t[Bootstrap]\t \nProductKey=v\n", "v"},
        IniCase{"controlBytesStripped", bytes("[Bootstrap]\n\x01ProductKey=v\x1f\x00\n"), "v"},
        IniCase{"loneCarriageReturns", "[Bootstrap]\rProductKey=v\r", "v"},
        IniCase{"noFinalNewline", "[Bootstrap]\nProductKey=v", "v"},
        IniCase{"empty", "", "<none>"},
        IniCase{"nulInsideValueKept", bytes("[Bootstrap]\nProductKey=a\0b\n"), bytes("a\0b")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniDecode, ByteOrderMarksSelectTheEncoding) {
    const std::string ansi = "[Bootstrap]\r\nProductKey=Libre\xE9\r\n";  // é in code page 1252
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (unsigned char c : ansi) {
        const char16_t u = c == 0xE9 ? u'\u00E9' : c;
        le += static_cast<char>(u & 0xFF), le += static_cast<char>(u >> 8);
        be += static_cast<char>(u >> 8), be += static_cast<char>(u & 0xFF);
    }
    const std::string utf8 = "\xEF\xBB\xBF[Bootstrap]\r\nProductKey=Libre\xC3\xA9\r\n";
    for (const std::string& bytes : {ansi, le, be, utf8}) EXPECT_EQ(productKey(DECODEINITEXT(bytes)), "Libre\xE9");
}

TEST(IniDecode, BadBodiesHaveDefinedResults) {
    EXPECT_EQ(DECODEINITEXT("\xFF\xFE"), "");                  // a lone mark
    EXPECT_EQ(DECODEINITEXT(std::string("\xFF\xFE" "A\0B", 5)), "A");     // odd-length body: last byte is no character
    EXPECT_EQ(DECODEINITEXT("\xEF\xBB\xBF\xC3"), "?");         // truncated UTF-8 sequence
    EXPECT_EQ(DECODEINITEXT("\xEF\xBB\xBF\xE2\x82\xAC"), "\x80");  // the euro sign is byte 0x80
    EXPECT_EQ(DECODEINITEXT("\xEF\xBB\xBF\xF0\x9F\x98\x80"), "??");  // outside the code page: one "?" per unit
    EXPECT_EQ(DECODEINITEXT("\xEF\xBB\xBF\xC0\xAF"), "?");     // overlong form
    // UTF-16 LE is tested before UTF-8 and big-endian: "FF FE" wins.
    EXPECT_EQ(DECODEINITEXT(std::string("\xFF\xFE\x41\x00", 4)), "A");
}

}  // namespace
