#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonction/strings.h"

using namespace std::string_literals;
using namespace fonction;

namespace {

struct MatchCase {
    std::string pattern;
    std::string text;
    int64_t index;
    bool expected;
};

TEST(StrMatches, Table) {
    const std::vector<MatchCase> cases = {
        {"*", "", 0, true},  // "*" looks at neither text nor index
        {"*", "abc", 99, true},
        {"a", "", 1, false},
        {"?", "", -5, false},  // empty text: false before the index is checked
        {"*.TXT", "README.TXT", 1, true},
        {"*.TXT", "README.TXT.BAK", 1, false},
        {"*.*", "README", 1, false},
        {"*.*", "README.", 1, true},
        {"b*", "abc", 2, true},
        {"b*", "abc", 1, false},
        {"c", "abc", 3, true},
        {"abc", "abc", 1, true},
        {"abc", "abcd", 1, false},  // anchored at the end
        {"abcd", "abc", 1, false},
        {"a?c", "abc", 1, true},
        {"a?c", "ac", 1, false},
        {"???", "abc", 1, true},
        {"*?a", "aaa", 1, false},  // only the latest star is retried
        {"*Office*.lnk", "LibreOffice Writer.lnk", 1, true},
        {"*office*", "LIBREOFFICE", 1, false},  // case is exact
        {"a*b*c", "aXbYbZc", 1, true},
        {"a*bc", "abXbc", 1, true},  // retry after a false start
        {"a*bc", "abXbd", 1, false},
        {"*a", "bbbba", 1, true},
        {"**a*", "xyz", 1, false},
        {"a*", "a", 1, true},
        {"a*?", "a", 1, false},
        // NUL ends the text and the pattern.
        {"abc", "abc\0def"s, 1, true},
        {"abc\0zzz"s, "abc", 1, true},
        {"abc*", "ab\0c"s, 1, false},
        {"*", "\0"s, 1, true},
        {"x\0"s, "x\0y"s, 1, true},
        {"\0"s, "\0"s, 1, true},   // both end at once
        {"\0"s, "a"s, 1, false},
        {"b", "a\0b"s, 3, true},  // a start past the NUL reads from there
        {"\xE9t\xE9", "\xE9t\xE9", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("pattern=" + c.pattern + " text=" + c.text + " index=" + std::to_string(c.index));
        EXPECT_EQ(STRMATCHES(c.pattern, c.text, c.index), c.expected);
    }
}

TEST(StrMatches, ErrorsCarryTheirMessages) {
    struct ErrorCase {
        std::string pattern, text;
        int64_t index;
        std::string message;
    };
    const std::vector<ErrorCase> cases = {
        {"", "", 1, "Search string cannot be blank"},
        {"", "abc", 0, "Search string cannot be blank"},  // blank wins over a bad index
        {"a", "abc", 0, "Argument out of range"},
        {"a", "abc", 4, "Argument out of range"},
        {"a", "abc", -1, "Argument out of range"},
        {"?", "abc", INT64_MIN, "Argument out of range"},
        {"**", "abc", INT64_MAX, "Argument out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern + "/" + c.text);
        try {
            (void)STRMATCHES(c.pattern, c.text, c.index);
            ADD_FAILURE() << "no exception";
        } catch (const EStringError& e) {
            EXPECT_EQ(e.message(), c.message);
            EXPECT_STREQ(e.what(), c.message.c_str());
            EXPECT_STREQ(e.className(), "EStringError");
            const platform::Exception& base = e;
            EXPECT_STREQ(base.className(), "EStringError");
        }
    }
}

TEST(StrMatches, ReplacedTextsAreUsedAndRestorable) {
    EXPECT_EQ(GETRESSTRING("fonction.rsblanksearchstring"), "Search string cannot be blank");
    EXPECT_EQ(GETRESSTRING("fonction.rsargumentoutofrange"), "Argument out of range");
    EXPECT_EQ(GETRESSTRING("fonction.unknown"), "");
    EXPECT_FALSE(SETRESSTRING("fonction.unknown", "x"));
    ASSERT_TRUE(SETRESSTRING("fonction.rsargumentoutofrange", "Argument hors limites"));
    try {
        (void)STRMATCHES("a", "abc", 9);
        ADD_FAILURE();
    } catch (const EStringError& e) {
        EXPECT_EQ(e.message(), "Argument hors limites");
    }
    RESETRESSTRINGS();
    EXPECT_EQ(LOADRESSTRING(RSARGUMENTOUTOFRANGE), "Argument out of range");
}

// The upper section against the platform, byte for byte, is a contract test
// (it runs on both builds); here only what the other sections hold.
TEST(CaseMap, OnlyTheUpperSectionIsFilled) {
    EXPECT_EQ(ANSICASEMAP.size(), 768u);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(ANSICASEMAP[static_cast<std::size_t>(b)], 0) << b;
        EXPECT_EQ(ANSICASEMAP[static_cast<std::size_t>(512 + b)], 0) << b;
    }
    EXPECT_EQ(ANSICASEMAP[256 + 'a'], 'A');
    EXPECT_EQ(ANSICASEMAP[256 + 0xE9], 0xC9);  // é -> É in code page 1252
}

TEST(StrUpper, KeepsLengthNulsAndNonLetters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"abc", "ABC"},
        {"a\0b"s, "A\0B"s},
        {"0123456789!?*.\\", "0123456789!?*.\\"},
        {"\xE9t\xE9 \xFF", "\xC9T\xC9 \x9F"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(STRUPPER(in), out);
        std::string inPlace = in;
        STRUPPERINPLACE(inPlace);
        EXPECT_EQ(inPlace, out);
    }
}

TEST(StrCase, LeavesTheSharedOriginalAndRefusesOffsetsOutsideTheMap) {
    const std::string original = "mixed Case";
    std::string copy = original;
    STRCASE(copy, ANSIUPOFFSET);
    EXPECT_EQ(copy, "MIXED CASE");
    EXPECT_EQ(original, "mixed Case");
    for (int64_t offset : {int64_t{-1}, int64_t{513}, INT64_MAX}) {
        std::string s = "abc";
        STRCASE(s, offset);
        EXPECT_EQ(s, "abc") << offset;
    }
}

TEST(StrIPos, Table) {
    struct C {
        std::string sub, s;
        int64_t pos;
    };
    const std::vector<C> cases = {
        {"", "abc", 0},     {"abc", "", 0},        {"abcd", "abc", 0},    {"ABC", "xxabc", 3},
        {"b", "abcb", 2},   {"x", "abc", 0},       {"\0"s, "a\0b"s, 2},   {"B\0C"s, "ab\0c"s, 2},
        {"\xC9", "\xE9", 1}, {"abc", "abc", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(STRIPOS(c.sub, c.s), c.pos) << c.sub << "|" << c.s;
}

TEST(StrFind, Table) {
    struct C {
        std::string sub, s;
        int64_t index, pos;
    };
    const std::vector<C> cases = {
        {"", "abc", 1, 0},          {"a", "", 1, 0},
        {"e", "abcde", 3, 5},       {"E", "abcde", 5, 5},
        {"a", "abca", 2, 4},        {"a", "abc", 4, 0},  // past the end
        {"a", "abc", 99, 0},        {"ab", "xab", 1, 2},
        {"a", "abc", 0, 1},         {"c", "abc", -7, 3},  // below 1: the whole text
    };
    for (const auto& c : cases) EXPECT_EQ(STRFIND(c.sub, c.s, c.index), c.pos) << c.sub << "|" << c.s << "|" << c.index;
}

TEST(StrRestOfAndAfter, Table) {
    EXPECT_EQ(STRRESTOF("abc", 1), "abc");
    EXPECT_EQ(STRRESTOF("abc", -3), "abc");
    EXPECT_EQ(STRRESTOF("abc", 3), "c");
    EXPECT_EQ(STRRESTOF("abc", 4), "");
    EXPECT_EQ(STRRESTOF("", 1), "");

    struct C {
        std::string sub, s, after;
    };
    const std::vector<C> cases = {
        {"MsiExec.exe /I", "MsiExec.exe /I{1234-ABCD}", "{1234-ABCD}"},
        {"MsiExec.exe /I", "msiexec.EXE /i{1234}", "{1234}"},
        {"MsiExec.exe /I", "MsiExec.exe /X{1234}", ""},
        {" ", "setup.exe /uninstall /S", "/uninstall /S"},
        {" ", "setup.exe", ""},
        {" ", "setup.exe ", ""},
        {"", "abc", ""},
        {"a", "", ""},
        {"b", "a\0b\0c"s, "\0c"s},
    };
    for (const auto& c : cases) EXPECT_EQ(STRAFTER(c.sub, c.s), c.after) << c.sub << "|" << c.s;
}

TEST(StrResetLength, Table) {
    std::string buffer(260, '\0');
    buffer.replace(0, 10, "C:\\Windows");
    STRRESETLENGTH(buffer);
    EXPECT_EQ(buffer, "C:\\Windows");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""}, {"abc", "abc"}, {"\0abc"s, ""}, {"ab\0c\0"s, "ab"}};
    for (auto [in, out] : cases) {
        STRRESETLENGTH(in);
        EXPECT_EQ(in, out);
    }
}

TEST(StrToken, ConsumesOneTokenAndItsSeparator) {
    std::string s = "a;b;;c";
    EXPECT_EQ(STRTOKEN(s, ';'), "a");
    EXPECT_EQ(s, "b;;c");
    EXPECT_EQ(STRTOKEN(s, ';'), "b");
    EXPECT_EQ(STRTOKEN(s, ';'), "");
    EXPECT_EQ(STRTOKEN(s, ';'), "c");
    EXPECT_EQ(s, "");
    EXPECT_EQ(STRTOKEN(s, ';'), "");
    std::string withNul = "a\0b"s;
    EXPECT_EQ(STRTOKEN(withNul, '\0'), "a");
    EXPECT_EQ(withNul, "b");
}

TEST(StrTokenToStrings, Table) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"a;;b", {"a", "", "b"}}, {"a;", {"a"}},        {";a", {"", "a"}},
        {"", {}},                 {";", {""}},          {"*.tmp;*.log", {"*.tmp", "*.log"}},
        {"a\0;b"s, {"a\0"s, "b"}},
    };
    for (const auto& [in, items] : cases) {
        platform::TStringList list;
        list.add("old");  // the list is cleared first
        STRTOKENTOSTRINGS(in, ';', &list);
        EXPECT_EQ(list.items(), items) << in;
        EXPECT_EQ(list.updateDepth(), 0);
    }
    STRTOKENTOSTRINGS("a;b", ';', nullptr);  // an absent list is ignored

    const std::string callers = "x;y";
    platform::TStringList list;
    STRTOKENTOSTRINGS(callers, ';', &list);
    EXPECT_EQ(callers, "x;y");
}

}  // namespace
