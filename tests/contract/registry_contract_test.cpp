// What the program relies on from the registry wrappers and the accessor,
// checked on the simulated machine and, under Wine, on the real registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"
#include "support/regwrite.h"

namespace {

using platform::ERegistryException;
using platform::TRegistry;
using platform::TStrings;

// Below HKEY_LOCAL_MACHINE.
const std::u16string kRoot = u"SOFTWARE\\korvalend-tests";
const std::string kRootAnsi = "\\SOFTWARE\\korvalend-tests";

std::vector<std::string> names(const TStrings& list) { return list.items(); }

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        (void)sandbox.deleteTree(kRoot);  // leftovers of an interrupted run
        ASSERT_TRUE(sandbox.createKey(kRoot));
    }
    std::u16string at(const std::u16string& sub) const { return kRoot + u"\\" + sub; }

    testsupport::RegistrySandbox sandbox;
};

// --- paths ----------------------------------------------------------------

TEST_F(RegistryContract, PathsAreAbsoluteRelativeToCurrentKeyOrToRoot) {
    ASSERT_TRUE(sandbox.setString(at(u"A\\B"), u"who", u"B"));
    ASSERT_TRUE(sandbox.setString(at(u"A\\C"), u"who", u"C"));
    ASSERT_TRUE(sandbox.setString(at(u"Other"), u"who", u"Other"));

    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    // No current key: relative paths start at the root.
    EXPECT_TRUE(reg.KEYEXISTS("SOFTWARE\\korvalend-tests\\A"));
    EXPECT_FALSE(reg.KEYEXISTS("A"));

    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\A"));
    struct Case {
        std::string path;
        bool exists;
    };
    const std::vector<Case> whileAIsCurrent = {
        {"B", true},
        {"B\\", true},  // a trailing backslash is passed on and ignored
        {"Other", false},
        {kRootAnsi + "\\Other", true},  // a leading backslash means from the root
        {kRootAnsi + "\\A\\B", true},
        {"\\A\\B", false},
        {"SOFTWARE\\korvalend-tests\\A", false},
        {"", true},   // the current key itself
        {"\\", true},  // the root itself
        {"Missing", false},
        {"B\\Missing", false},
        {"\\" + kRootAnsi, false},  // the platform refuses a leading "\" of its own
        {kRootAnsi + "\\\\A", true},      // empty components are skipped
        {std::string("B\0C", 3), true},  // the path ends at its first NUL: "B"
        {std::string(300, 'x'), false},
    };
    for (const auto& c : whileAIsCurrent) EXPECT_EQ(reg.KEYEXISTS(c.path), c.exists) << '"' << c.path << '"';

    // Relative to A, then absolute while B is current.
    ASSERT_TRUE(reg.OPENKEYREADONLY("B"));
    EXPECT_EQ(reg.READSTRING("who"), "B");
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\A\\C"));
    EXPECT_EQ(reg.READSTRING("who"), "C");
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\" + "Other"));
    EXPECT_EQ(reg.READSTRING("who"), "Other");
}

TEST_F(RegistryContract, FailedOpenKeepsTheCurrentKey) {
    ASSERT_TRUE(sandbox.setString(at(u"A"), u"who", u"A"));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\A"));
    EXPECT_FALSE(reg.OPENKEYREADONLY("NotThere"));
    EXPECT_FALSE(reg.OPENKEYREADONLY(kRootAnsi + "\\NotThere"));
    EXPECT_TRUE(reg.hasCurrentKey());
    EXPECT_EQ(reg.READSTRING("who"), "A");
}

TEST_F(RegistryContract, KeyExistsLeavesTheCurrentKeyAlone) {
    ASSERT_TRUE(sandbox.setString(at(u"A"), u"who", u"A"));
    ASSERT_TRUE(sandbox.createKey(at(u"A\\Sub")));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\A"));
    EXPECT_TRUE(reg.KEYEXISTS("Sub"));
    EXPECT_TRUE(reg.KEYEXISTS(kRootAnsi));
    EXPECT_EQ(reg.READSTRING("who"), "A");
}

TEST_F(RegistryContract, ClassesRootIsSeenThroughMachineClasses) {
    const std::u16string key = u"Software\\Classes\\korvalend-tests.Probe";
    (void)sandbox.deleteTree(key);
    ASSERT_TRUE(sandbox.setString(key, u"", u"seen"));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyClassesRoot());
    ASSERT_TRUE(reg.OPENKEYREADONLY("KORVALEND-TESTS.PROBE"));
    EXPECT_EQ(reg.READSTRING(""), "seen");
    reg.CLOSEKEY();
    EXPECT_TRUE(sandbox.deleteTree(key));
}

// A 64-bit program reaches the 32-bit programs' keys through the 32-bit view
// (KEY_WOW64_32KEY in the accessor's mask), or by the node's own path.
TEST_F(RegistryContract, TheThirtyTwoBitViewIsTheNodeBelowSoftware) {
    const std::u16string node = u"SOFTWARE\\WOW6432Node\\korvalend-tests";
    (void)sandbox.deleteTree(node);
    ASSERT_TRUE(sandbox.setString(at(u"Both"), u"view", u"64-bit"));
    ASSERT_TRUE(sandbox.setString(node + u"\\Both", u"view", u"32-bit"));
    ASSERT_TRUE(sandbox.createKey(node + u"\\Only32"));
    TRegistry native(platform::kKeyRead);
    TRegistry wow(platform::kKeyRead | platform::kKeyWow64_32Key);
    for (TRegistry* reg : {&native, &wow}) reg->SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(native.OPENKEYREADONLY(kRootAnsi + "\\Both"));
    EXPECT_EQ(native.READSTRING("view"), "64-bit");
    ASSERT_TRUE(wow.OPENKEYREADONLY(kRootAnsi + "\\Both"));
    EXPECT_EQ(wow.READSTRING("view"), "32-bit");
    EXPECT_TRUE(wow.KEYEXISTS(kRootAnsi + "\\Only32"));
    EXPECT_FALSE(native.KEYEXISTS(kRootAnsi + "\\Only32"));
    EXPECT_TRUE(native.KEYEXISTS("\\SOFTWARE\\WOW6432Node\\korvalend-tests\\Only32"));
    EXPECT_TRUE(wow.KEYEXISTS("\\SOFTWARE\\WOW6432Node\\korvalend-tests\\Only32"));
    EXPECT_TRUE(sandbox.deleteTree(node));
}

// --- access rights ----------------------------------------------------------

TEST_F(RegistryContract, ReadOnlyKeyCanBeProbedOpenedAndRead) {
    ASSERT_TRUE(sandbox.setString(at(u"RO"), u"v", u"text"));
    ASSERT_TRUE(sandbox.createKey(at(u"RO\\Sub")));
    ASSERT_TRUE(sandbox.denyWrite(at(u"RO")));
    // The restriction is real: a write is refused.
    EXPECT_FALSE(sandbox.setString(at(u"RO"), u"w", u"x"));

    for (uint32_t mask : {platform::kKeyRead, platform::kKeyAllAccess}) {
        TRegistry reg(mask);
        reg.SETROOTKEY(platform::hkeyLocalMachine());
        EXPECT_TRUE(reg.KEYEXISTS(kRootAnsi + "\\RO")) << mask;
        ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\RO")) << mask;
        EXPECT_EQ(reg.READSTRING("v"), "text");
        TStrings list;
        reg.GETKEYNAMES(list);
        EXPECT_EQ(names(list), std::vector<std::string>{"Sub"});
    }
}

TEST_F(RegistryContract, KeyThatCannotBeOpenedDoesNotExistForTheProgram) {
    ASSERT_TRUE(sandbox.setString(at(u"A"), u"who", u"A"));
    ASSERT_TRUE(sandbox.createKey(at(u"Closed")));
    ASSERT_TRUE(sandbox.denyAll(at(u"Closed")));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\A"));
    EXPECT_FALSE(reg.KEYEXISTS(kRootAnsi + "\\Closed"));
    EXPECT_FALSE(reg.OPENKEYREADONLY(kRootAnsi + "\\Closed"));
    EXPECT_EQ(reg.READSTRING("who"), "A");
}

// --- values ----------------------------------------------------------------

struct ValueCase {
    const char* label;
    std::u16string name;
    uint32_t type;
    std::string data;
    std::optional<std::string> text;  // nullopt: READSTRING raises
};

std::vector<ValueCase> valueCases() {
    using testsupport::utf16Bytes;
    const std::string u = utf16Bytes(u"x");
    std::string big(1 << 20, '\0');  // 1 MiB: 524,287 "x" and the NUL
    for (std::size_t i = 0; i + 2 < big.size(); i += 2) big[i] = 'x';
    return {
        {"REG_SZ", u"sz", platform::kRegSz, utf16Bytes(std::u16string(u"hello\0", 6)), "hello"},
        {"default value", u"", platform::kRegSz, utf16Bytes(std::u16string(u"LibreOffice 7.6\0", 16)),
         "LibreOffice 7.6"},
        {"REG_EXPAND_SZ is not expanded", u"expand", platform::kRegExpandSz,
         utf16Bytes(std::u16string(u"%SystemRoot%\\x\0", 15)), "%SystemRoot%\\x"},
        {"no terminating NUL", u"unterminated", platform::kRegSz, utf16Bytes(u"abc"), "abc"},
        {"odd length", u"odd", platform::kRegSz, utf16Bytes(u"abc").substr(0, 5), "ab"},
        {"only one trailing NUL is dropped", u"twonuls", platform::kRegSz,
         utf16Bytes(std::u16string(u"a\0\0", 3)), std::string("a\0", 2)},
        {"embedded NUL", u"embedded", platform::kRegSz, utf16Bytes(std::u16string(u"a\0b\0", 4)),
         std::string("a\0b", 3)},
        {"just a NUL", u"nul", platform::kRegSz, utf16Bytes(std::u16string(u"\0", 1)), ""},
        {"empty REG_SZ", u"emptysz", platform::kRegSz, "", ""},
        {"empty REG_BINARY", u"emptybin", platform::kRegBinary, "", ""},
        {"empty REG_DWORD", u"emptydword", platform::kRegDword, "", ""},
        {"non-ASCII text", u"text", platform::kRegSz, utf16Bytes(std::u16string(u"Caf\u00E9 \u20AC \u03A9\0", 9)),
         "Caf\xE9 \x80 ?"},
        {"1 MiB", u"big", platform::kRegSz, big, std::string((1 << 19) - 1, 'x')},
        {"REG_DWORD with data", u"dword", platform::kRegDword, std::string("\x01\x00\x00\x00", 4), std::nullopt},
        {"REG_BINARY of one byte", u"bin", platform::kRegBinary, std::string("\x00", 1), std::nullopt},
        {"REG_MULTI_SZ", u"multi", platform::kRegMultiSz, utf16Bytes(std::u16string(u"a\0b\0\0", 5)),
         std::nullopt},
        {"REG_QWORD", u"qword", platform::kRegQword, std::string(8, '\x07'), std::nullopt},
        {"REG_NONE with data", u"none", platform::kRegNone, u, std::nullopt},
    };
}

std::string ansiOf(const std::u16string& ascii) { return std::string(ascii.begin(), ascii.end()); }

TEST_F(RegistryContract, ReadStringOfEveryTypeAndSize) {
    const auto cases = valueCases();
    for (const auto& c : cases) ASSERT_TRUE(sandbox.setValue(at(u"V"), c.name, c.type, c.data)) << c.label;
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\V"));
    for (const auto& c : cases) {
        const std::string name = ansiOf(c.name);
        EXPECT_TRUE(reg.VALUEEXISTS(name)) << c.label;
        if (c.text) {
            EXPECT_EQ(reg.READSTRING(name), *c.text) << c.label;
            continue;
        }
        try {
            (void)reg.READSTRING(name);
            ADD_FAILURE() << c.label << ": no exception";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.message(), "Invalid registry data type: \"" + name + "\"") << c.label;
            EXPECT_STREQ(e.className(), "ERegistryException");
        }
    }
}

TEST_F(RegistryContract, AbsentValuesReadAsEmpty) {
    ASSERT_TRUE(sandbox.setString(at(u"V"), u"Name", u"value"));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    // Without a current key there is nothing to read.
    EXPECT_EQ(reg.READSTRING("Name"), "");
    EXPECT_FALSE(reg.VALUEEXISTS("Name"));
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\V"));
    EXPECT_EQ(reg.READSTRING("NAME"), "value");  // names ignore case
    EXPECT_TRUE(reg.VALUEEXISTS("name"));
    EXPECT_EQ(reg.READSTRING("Nam"), "");
    EXPECT_FALSE(reg.VALUEEXISTS("Nam"));
    EXPECT_EQ(reg.READSTRING(""), "");  // no default value set
    EXPECT_FALSE(reg.VALUEEXISTS(""));
}

// --- listings ----------------------------------------------------------------

TEST_F(RegistryContract, SubkeysAreListedSortedWithoutRegardToCase) {
    // Windows compares upper-cased names and Wine lower-cased ones, so the
    // five characters between "Z" and "a" ("[", "]", "^", "_", "`") sort
    // differently on the two; the names here avoid them.
    for (const std::u16string name : {u"b", u"0x", u"Z", u"a1", u"\u00E9t\u00E9", u"\u00C9a", u"A", u"\u00FF"})
        ASSERT_TRUE(sandbox.createKey(at(u"L\\" + name)));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\L"));
    TStrings list;
    list.add("stale");
    reg.GETKEYNAMES(list);
    const std::vector<std::string> expected = {"0x", "A", "a1", "b", "Z", "\xC9" "a", "\xE9t\xE9", "\xFF"};
    EXPECT_EQ(names(list), expected);
    // Every listed name leads back to its key.
    for (const auto& n : list) EXPECT_TRUE(reg.KEYEXISTS(n)) << n;
}

TEST_F(RegistryContract, ValueNamesListEveryValueOnce) {
    ASSERT_TRUE(sandbox.setString(at(u"V"), u"zeta", u"1"));
    ASSERT_TRUE(sandbox.setString(at(u"V"), u"", u"2"));
    ASSERT_TRUE(sandbox.setValue(at(u"V"), u"Alpha", platform::kRegDword, std::string(4, '\0')));
    ASSERT_TRUE(sandbox.setString(at(u"V"), u"\u20ACuro", u"3"));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\V"));
    TStrings list;
    reg.GETVALUENAMES(list);
    // Windows lists values in creation order and Wine sorts them; nothing
    // depends on it, so only the content is checked.
    std::vector<std::string> got = names(list);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{"", "Alpha", "zeta", "\x80uro"}));
    EXPECT_EQ(reg.READSTRING("\x80uro"), "3");
}

TEST_F(RegistryContract, ListingsWithoutCurrentKeyAreEmpty) {
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    TStrings list;
    list.add("stale");
    reg.GETKEYNAMES(list);
    EXPECT_EQ(list.count(), 0u);
    list.add("stale");
    reg.GETVALUENAMES(list);
    EXPECT_EQ(list.count(), 0u);
}

TEST_F(RegistryContract, NonAsciiNamesPassThroughTheCodePage) {
    ASSERT_TRUE(sandbox.setString(at(u"Caf\u00E9\\\u0160koda"), u"\u00C9t\u00E9", u"summer"));
    ASSERT_TRUE(sandbox.createKey(at(u"Caf\u00E9\\\u03A9mega")));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    EXPECT_TRUE(reg.KEYEXISTS(kRootAnsi + "\\Caf\xE9"));
    EXPECT_TRUE(reg.KEYEXISTS(kRootAnsi + "\\CAF\xC9\\\x9A" "KODA"));  // case folded beyond ASCII
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\Caf\xE9"));
    TStrings list;
    reg.GETKEYNAMES(list);
    // A character the code page lacks arrives as "?", which names no key.
    EXPECT_EQ(names(list), (std::vector<std::string>{"\x8Akoda", "?mega"}));
    EXPECT_FALSE(reg.KEYEXISTS("?mega"));
    ASSERT_TRUE(reg.OPENKEYREADONLY("\x8Akoda"));
    reg.GETVALUENAMES(list);
    EXPECT_EQ(names(list), std::vector<std::string>{"\xC9t\xE9"});
    EXPECT_EQ(reg.READSTRING("\xC9t\xE9"), "summer");
    EXPECT_EQ(reg.READSTRING("\xE9T\xC9"), "summer");
}

// --- a key removed while the accessor holds it ---------------------------------

TEST_F(RegistryContract, KeyDeletedWhileOpen) {
    ASSERT_TRUE(sandbox.setString(at(u"Gone\\Sub"), u"v", u"x"));
    TRegistry reg(platform::kKeyRead);
    reg.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(reg.OPENKEYREADONLY(kRootAnsi + "\\Gone\\Sub"));
    ASSERT_TRUE(sandbox.deleteTree(at(u"Gone")));
    TStrings list;
    list.add("stale");
    reg.GETKEYNAMES(list);  // the count cannot be had: an empty list
    EXPECT_EQ(list.count(), 0u);
    EXPECT_FALSE(reg.VALUEEXISTS("v"));
    EXPECT_FALSE(reg.KEYEXISTS(kRootAnsi + "\\Gone"));
    try {
        (void)reg.READSTRING("v");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.message(), "Failed to get data for value \"v\"");
    }
    reg.CLOSEKEY();
    EXPECT_FALSE(reg.hasCurrentKey());
}

}  // namespace
