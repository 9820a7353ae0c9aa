// The registry accessor on the simulated machine: what only the simulator
// can show (handle counts, the platform's order, injected failures).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/machine.h"
#include "platform/tregistry.h"
#include "platform/wintypes.h"

namespace {

using platform::ERegistryException;
using platform::TRegistry;
using platform::TStrings;
using sim::Root;

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class RegistryTest : public ::testing::Test {
protected:
    sim::Machine m;
    sim::Registry& reg = m.registry;
};

TEST_F(RegistryTest, CreateDefaultsAndMask) {
    TRegistry all;
    EXPECT_EQ(all.access(), 0xF003Fu);
    EXPECT_EQ(all.rootKey(), platform::hkeyCurrentUser());
    EXPECT_FALSE(all.hasCurrentKey());
    TRegistry read(platform::kKeyRead);
    EXPECT_EQ(read.access(), 0x20019u);
    EXPECT_EQ(read.rootKey(), platform::hkeyCurrentUser());
    read.SETROOTKEY(platform::hkeyLocalMachine());
    EXPECT_EQ(read.rootKey(), platform::hkeyLocalMachine());
}

TEST_F(RegistryTest, DefaultRootIsTheCurrentUser) {
    reg.setString(Root::CurrentUser, "Software\\Mine", "v", "user");
    reg.setString(Root::LocalMachine, "Software\\Mine", "v", "machine");
    TRegistry r;
    ASSERT_TRUE(r.OPENKEYREADONLY("Software\\Mine"));
    EXPECT_EQ(r.READSTRING("v"), "user");
}

TEST_F(RegistryTest, UninstallEntryReachedByAbsolutePathWhileUninstallIsCurrent) {
    reg.setString(Root::LocalMachine, std::string(kUninstall) + "\\{GUID}", "DisplayName", "Suite");
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY(std::string("\\") + kUninstall));
    TStrings entries;
    r.GETKEYNAMES(entries);
    ASSERT_EQ(entries.count(), 1u);
    ASSERT_TRUE(r.OPENKEYREADONLY(std::string("\\") + kUninstall + "\\" + entries[0]));
    EXPECT_EQ(r.READSTRING("DisplayName"), "Suite");
}

TEST_F(RegistryTest, EveryHandleIsClosedOnEveryPath) {
    reg.setString(Root::LocalMachine, "Software\\A\\B", "s", "x");
    reg.setDword(Root::LocalMachine, "Software\\A", "d", 7);
    {
        TRegistry r(platform::kKeyRead);
        r.SETROOTKEY(platform::hkeyLocalMachine());
        ASSERT_TRUE(r.OPENKEYREADONLY("Software\\A"));
        EXPECT_EQ(reg.openHandles(), 1);
        ASSERT_TRUE(r.OPENKEYREADONLY("B"));  // replaces, and closes, the previous key
        EXPECT_EQ(reg.openHandles(), 1);
        EXPECT_FALSE(r.OPENKEYREADONLY("Missing"));
        EXPECT_TRUE(r.KEYEXISTS("\\Software\\A"));
        EXPECT_FALSE(r.KEYEXISTS("\\Software\\Missing"));
        EXPECT_EQ(reg.openHandles(), 1);
        ASSERT_TRUE(r.OPENKEYREADONLY("\\Software\\A"));
        EXPECT_THROW((void)r.READSTRING("d"), ERegistryException);
        EXPECT_EQ(reg.openHandles(), 1);
        r.CLOSEKEY();
        EXPECT_EQ(reg.openHandles(), 0);
        r.CLOSEKEY();  // twice is harmless
        ASSERT_TRUE(r.OPENKEYREADONLY("\\Software\\A"));
    }
    EXPECT_EQ(reg.openHandles(), 0);  // freeing the accessor closes its key
}

TEST_F(RegistryTest, ChangingTheRootClosesTheCurrentKey) {
    reg.addKey(Root::LocalMachine, "Software\\A");
    reg.addKey(Root::CurrentUser, "Software\\A");
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY("Software"));
    r.SETROOTKEY(platform::hkeyLocalMachine());  // same root: the key stays
    EXPECT_TRUE(r.hasCurrentKey());
    r.SETROOTKEY(platform::hkeyCurrentUser());
    EXPECT_FALSE(r.hasCurrentKey());
    EXPECT_EQ(reg.openHandles(), 0);
    // Relative paths now start at the new root, not at the old key.
    EXPECT_FALSE(r.KEYEXISTS("A"));
    EXPECT_TRUE(r.KEYEXISTS("Software\\A"));
}

TEST_F(RegistryTest, OddPathsHaveDefinedOutcomes) {
    reg.addKey(Root::LocalMachine, "Software\\A\\B");
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    struct Case {
        std::string path;
        bool exists;
    };
    const std::vector<Case> cases = {
        {"Software\\A\\B\\", true},
        {"\\\\Software\\A", false},  // after the first "\", the platform rejects a leading one
        {"Software\\\\A\\\\\\B", true},     // empty components are skipped
        {std::string("Software\0A", 10), true},  // the path ends at its first NUL
        {std::string("Nothing\0Software", 16), false},
        {std::string(300, 'x'), false},
        {std::string(1 << 20, '\\'), false},
        {"SOFTWARE\\a\\b", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.KEYEXISTS(c.path), c.exists) << c.path.substr(0, 40);
        EXPECT_EQ(r.OPENKEYREADONLY(c.path), c.exists) << c.path.substr(0, 40);
        r.CLOSEKEY();
    }
    EXPECT_EQ(reg.openHandles(), 0);
}

TEST_F(RegistryTest, KeyReadableButNotWritableOpensWithEveryMask) {
    reg.setString(Root::LocalMachine, "Software\\Locked", "v", "text");
    reg.findKey(Root::LocalMachine, "Software\\Locked")->writable = false;
    for (uint32_t mask : {platform::kKeyRead, platform::kKeyAllAccess, 0u}) {
        TRegistry r(mask);
        r.SETROOTKEY(platform::hkeyLocalMachine());
        EXPECT_TRUE(r.KEYEXISTS("Software\\Locked")) << mask;
        ASSERT_TRUE(r.OPENKEYREADONLY("Software\\Locked")) << mask;
        EXPECT_EQ(r.READSTRING("v"), "text");
    }
}

TEST_F(RegistryTest, SubkeysFollowWindowsOrder) {
    for (const char* name : {"b", "_u", "Z", "a1", "\xE9t\xE9", "\xC9" "a", "A", "\xFF", "\x8A" "x", "0"})
        reg.addKey(Root::LocalMachine, std::string("Software\\L\\") + name);
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY("Software\\L"));
    TStrings list;
    r.GETKEYNAMES(list);
    // Upper-cased comparison: "_" (0x5F) after "Z", "\xC9" (U+00C9) before
    // "\x8A" (U+0160) before "\xFF" (upper case U+0178).
    const std::vector<std::string> expected = {"0",        "A",          "a1",         "b",       "Z", "_u",
                                               "\xC9" "a", "\xE9t\xE9", "\x8A" "x", "\xFF"};
    EXPECT_EQ(list.items(), expected);
}

TEST_F(RegistryTest, ValuesAreListedInCreationOrder) {
    reg.setString(Root::LocalMachine, "Software\\V", "zeta", "1");
    reg.setString(Root::LocalMachine, "Software\\V", "", "default");
    reg.setDword(Root::LocalMachine, "Software\\V", "Alpha", 1);
    reg.setString(Root::LocalMachine, "Software\\V", "ZETA", "2");  // same value, replaced in place
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY("Software\\V"));
    TStrings list;
    r.GETVALUENAMES(list);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"zeta", "", "Alpha"}));
    EXPECT_EQ(r.READSTRING("zeta"), "2");
}

TEST_F(RegistryTest, ListingFailureRaisesTheSystemMessage) {
    reg.addKey(Root::LocalMachine, "Software\\L\\a");
    reg.setString(Root::LocalMachine, "Software\\L", "v", "x");
    struct Case {
        int32_t code;
        bool raises;
        const char* message;
    };
    const std::vector<Case> cases = {
        {platform::kErrorAccessDenied, true, "Access is denied."},
        {1018, true, "Illegal operation attempted on a registry key that has been marked for deletion."},
        {platform::kErrorNoMoreItems, false, ""},  // the list just ends early
    };
    for (const auto& c : cases) {
        reg.findKey(Root::LocalMachine, "Software\\L")->enumError = c.code;
        TRegistry r(platform::kKeyRead);
        r.SETROOTKEY(platform::hkeyLocalMachine());
        ASSERT_TRUE(r.OPENKEYREADONLY("Software\\L"));
        for (bool values : {false, true}) {
            TStrings list;
            list.add("stale");
            try {
                if (values) r.GETVALUENAMES(list);
                else r.GETKEYNAMES(list);
                EXPECT_FALSE(c.raises) << c.code;
                EXPECT_EQ(list.count(), 0u);
            } catch (const ERegistryException& e) {
                EXPECT_TRUE(c.raises) << c.code;
                EXPECT_EQ(e.message(), c.message);
            }
        }
    }
    EXPECT_EQ(reg.openHandles(), 0);
}

TEST_F(RegistryTest, ReadStringOfOddData) {
    const std::string key = "Software\\V";
    struct Case {
        const char* name;
        uint32_t type;
        std::string data;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"one byte", platform::kRegSz, "A", ""},
        {"three bytes", platform::kRegSz, std::string("A\0B", 3), "A"},
        {"unterminated", platform::kRegExpandSz, std::string("h\0i\0", 4), "hi"},
        {"high half", platform::kRegSz, std::string("\xAC\x20\x00\x00", 4), "\x80"},
        {"unmappable", platform::kRegSz, std::string("\xA9\x03\x3D\xD8\x00\xDE", 6), "???"},
        {"empty none", platform::kRegNone, "", ""},
        {"empty qword", platform::kRegQword, "", ""},
    };
    for (const auto& c : cases) reg.setRaw(Root::LocalMachine, key, c.name, c.type, c.data);
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY(key));
    for (const auto& c : cases) EXPECT_EQ(r.READSTRING(c.name), c.text) << c.name;
}

TEST_F(RegistryTest, InvalidTypeMessageCarriesTheNameAsGiven) {
    reg.setDword(Root::LocalMachine, "Software\\V", "Version", 3);
    reg.setRaw(Root::LocalMachine, "Software\\V", "", platform::kRegBinary, std::string(1 << 20, '\x01'));
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY("Software\\V"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"VERSION", "Invalid registry data type: \"VERSION\""},
        {"", "Invalid registry data type: \"\""},
    };
    for (const auto& [name, message] : cases) {
        try {
            (void)r.READSTRING(name);
            ADD_FAILURE() << name;
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.message(), message);
        }
    }
}

TEST_F(RegistryTest, ValueNameEndsAtItsFirstNul) {
    reg.setString(Root::LocalMachine, "Software\\V", "", "default");
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    ASSERT_TRUE(r.OPENKEYREADONLY("Software\\V"));
    EXPECT_EQ(r.READSTRING(std::string("\0x", 2)), "default");
    EXPECT_TRUE(r.VALUEEXISTS(std::string("\0x", 2)));
}

TEST_F(RegistryTest, ProbesCountWhatTheyRead) {
    reg.setString(Root::LocalMachine, "Software\\V", "a", "1");
    TRegistry r(platform::kKeyRead);
    r.SETROOTKEY(platform::hkeyLocalMachine());
    EXPECT_EQ(r.READSTRING("a"), "");  // no current key: the platform is not asked
    EXPECT_EQ(reg.valueReads, 0);
    ASSERT_TRUE(r.OPENKEYREADONLY("Software\\V"));
    EXPECT_TRUE(r.KEYEXISTS("\\Software"));
    EXPECT_EQ(reg.keyOpens, 2);
    EXPECT_EQ(r.READSTRING("a"), "1");
    EXPECT_TRUE(r.VALUEEXISTS("a"));
    EXPECT_EQ(reg.valueReads, 2);
}

}  // namespace
