#include <gtest/gtest.h>

#include <string>
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

TEST(Paths, AddAndRemoveSeparator) {
    struct C {
        std::string in, added, removed;
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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PATHADDSEPARATOR(c.in), c.added) << c.in;
        EXPECT_EQ(PATHREMOVESEPARATOR(c.in), c.removed) << c.in;
    }
    for (const std::string p : {"\\", "C:\\", "C:\\x\\", "rel\\"}) EXPECT_EQ(PATHADDSEPARATOR(PATHREMOVESEPARATOR(p)), p);
}

}  // namespace
