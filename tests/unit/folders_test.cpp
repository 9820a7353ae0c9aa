#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace std::string_literals;

#include "fonction/folders.h"
#include "platform/folders.h"
#include "platform/sim/machine.h"

using namespace fonction;

namespace {

TEST(Folders, SpecialFoldersResolveAndReleaseTheirItemList) {
    sim::Machine m;
    struct C {
        std::string (*get)();
        std::string path;
    };
    const std::vector<C> cases = {
        {GETCOMMONDESKTOPDIRECTORYFOLDER, "C:\\Users\\Public\\Desktop"},
        {GETSTARTUPFOLDER, "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
        {GETCOMMONPROGRAMSFOLDER, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    };
    for (const auto& c : cases) {
        const int before = m.files.idListsReleased;
        EXPECT_EQ(c.get(), c.path);
        EXPECT_EQ(m.files.idListsReleased, before + 1);
        EXPECT_TRUE(m.files.isDirectory(c.path));
    }
    EXPECT_EQ(m.files.idListsHandedOut, m.files.idListsReleased);
    EXPECT_EQ(m.files.badIdListReleases, 0);
}

TEST(Folders, StartupIsTheCurrentUsersNotAllUsers) {
    sim::Machine m;
    m.files.setSpecialFolder(platform::kCsidlStartup, "C:\\Users\\Alice\\Startup");
    m.files.addFile("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp\\LibreOffice.lnk");
    EXPECT_EQ(GETSTARTUPFOLDER(), "C:\\Users\\Alice\\Startup");
}

TEST(Folders, UnresolvableFolderGivesEmptyAndReleasesNothing) {
    sim::Machine m;
    for (int32_t csidl : {platform::kCsidlStartup, platform::kCsidlCommonPrograms,
                          platform::kCsidlCommonDesktopDirectory})
        m.files.makeUnresolvable(csidl);
    EXPECT_EQ(GETSTARTUPFOLDER(), "");
    EXPECT_EQ(GETCOMMONPROGRAMSFOLDER(), "");
    EXPECT_EQ(GETCOMMONDESKTOPDIRECTORYFOLDER(), "");
    EXPECT_EQ(GETSPECIALFOLDERLOCATION(12345), "");
    EXPECT_EQ(m.files.idListsHandedOut, 0);
    EXPECT_EQ(m.files.idListsReleased, 0);
    EXPECT_EQ(m.files.badIdListReleases, 0);
}

TEST(Folders, ListWithoutPathGivesEmptyButIsStillReleased) {
    sim::Machine m;
    m.files.makePathless(platform::kCsidlCommonPrograms);
    EXPECT_EQ(GETCOMMONPROGRAMSFOLDER(), "");
    EXPECT_EQ(m.files.idListsHandedOut, 1);
    EXPECT_EQ(m.files.idListsReleased, 1);
    EXPECT_EQ(PIDLTOPATH(nullptr), "");
}

TEST(Folders, SystemFolderComesBackWithoutTerminatorOrSeparator) {
    sim::Machine m;
    EXPECT_EQ(GETWINDOWSSYSTEMFOLDER(), "C:\\Windows\\system32");
    m.files.systemDirectory = "D:\\W\\System32";
    const std::string path = GETWINDOWSSYSTEMFOLDER();
    EXPECT_EQ(path, "D:\\W\\System32");
    EXPECT_EQ(path.find('\0'), std::string::npos);
    m.files.systemDirectoryFails = true;
    EXPECT_EQ(GETWINDOWSSYSTEMFOLDER(), "");
}

// The ANSI form of a special folder only when it names the same folder.
TEST(Folders, OnlyAnExactAnsiNameIsAFolder) {
    struct C {
        uint32_t codePage;
        std::u16string wide;
        std::string ansi;
    };
    const std::vector<C> cases = {
        {1252, u"C:\\Users\\Ren\u00E9", "C:\\Users\\Ren\xE9"},
        {1252, u"C:\\Users\\\u0141ukasz", ""},  // not "C:\\Users\\Lukasz"
        {1252, u"C:\\Users\\\U0001F600", ""},
        {932, u"C:\\Users\\\u8868\u793A", "C:\\Users\\\x95\x5C\x8E\xA6"},
        {932, u"C:\\Users\\Ren\u00E9", ""},
    };
    for (const auto& c : cases) {
        sim::Machine m;
        m.codePage = c.codePage;
        m.files.setSpecialFolder(platform::kCsidlStartup, c.wide);
        EXPECT_EQ(GETSTARTUPFOLDER(), c.ansi) << c.ansi;
        EXPECT_EQ(m.files.idListsHandedOut, m.files.idListsReleased);
    }
}

TEST(Paths, AddAndRemoveSeparator) {
    struct C {
        std::string in, added, removed;
        uint32_t codePage = 1252;
    };
    const std::vector<C> cases = {
        {"", "\\", ""},
        {"\\", "\\", ""},
        {"C:\\", "C:\\", "C:"},
        {"C:\\dir", "C:\\dir\\", "C:\\dir"},
        {"C:\\dir\\", "C:\\dir\\", "C:\\dir"},
        {"C:\\dir\\\\", "C:\\dir\\\\", "C:\\dir\\"},
        {"C:/dir/", "C:/dir/\\", "C:/dir/"},
        {"a\\\0"s, "a\\\0\\"s, "a\\\0"s},
        // In code page 932 a last byte 0x5C may end a character: no separator.
        {"C:\\\x95\x5C", "C:\\\x95\x5C\\", "C:\\\x95\x5C", 932},
        {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\", "C:\\\x95\x5C", 932},
        {"C:\\\x95\x5C", "C:\\\x95\x5C", "C:\\\x95"},  // the same bytes in code page 1252
    };
    for (const auto& c : cases) {
        sim::Machine m;
        m.codePage = c.codePage;
        EXPECT_EQ(PATHADDSEPARATOR(c.in), c.added) << c.in;
        EXPECT_EQ(PATHREMOVESEPARATOR(c.in), c.removed) << c.in;
    }
    for (const std::string p : {"\\", "C:\\", "C:\\x\\", "rel\\"}) EXPECT_EQ(PATHADDSEPARATOR(PATHREMOVESEPARATOR(p)), p);
}

// What the machine reports with "/" or doubled separators, as the program
// reads it; in code page 932 a second byte is part of its character, even "/".
TEST(Paths, SeparatorsBecomeSingleBackslashes) {
    const std::vector<std::tuple<std::string, std::string, uint32_t>> cases = {
        {"D:/Software/", "D:\\Software\\", 1252}, {"C:\\Program Files/LO//", "C:\\Program Files\\LO\\", 1252},
        {"//server//share/x", "\\\\server\\share\\x", 1252}, {"\\\\\\server", "\\\\\\server", 1252},
        {"D:/x/.", "D:\\x\\.", 1252}, {"C:/\x95\x5C/\x95/", "C:\\\x95\x5C\\\x95/", 932},
    };
    for (const auto& [in, out, codePage] : cases) {
        sim::Machine m;
        m.codePage = codePage;
        EXPECT_EQ(NORMALIZEPATHSEPARATORS(in), out) << in;
    }
    sim::Machine m;
    m.files.setSpecialFolder(platform::kCsidlStartup, "C:/Users//Alice/Startup");
    m.files.systemDirectory = "C:/Windows/system32";
    EXPECT_EQ(GETSTARTUPFOLDER() + "|" + GETWINDOWSSYSTEMFOLDER(), "C:\\Users\\Alice\\Startup|C:\\Windows\\system32");
}

}  // namespace
