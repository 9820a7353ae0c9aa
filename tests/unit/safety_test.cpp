// What the removal refuses to delete.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "korvalend/family.h"
#include "korvalend/safety.h"
#include "platform/sim/machine.h"
#include "platform/wintypes.h"

using korvalend::ISPLAINFILENAME;
using korvalend::ISSAFEINSTALLFOLDER;
using korvalend::ProtectedFolders;

namespace {

const ProtectedFolders kMachine{
    {"C:\\Windows", "C:\\Windows\\system32", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData",
     "C:\\Users\\alice", "C:\\Users\\Public\\Desktop", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    {"C:\\Windows"},
    {"C:\\Users", "D:\\Users"},
    {"E:\\Profiles\\carol"}};

struct FolderCase {
    const char* name;
    std::string path;
    bool safe;
    uint32_t codePage = 1252;
};

class InstallFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(InstallFolder, IsRefusedUnlessItIsTheSuitesOwn) {
    sim::Machine m;
    m.codePage = GetParam().codePage;
    EXPECT_EQ(ISSAFEINSTALLFOLDER(GetParam().path, kMachine), GetParam().safe) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, InstallFolder,
    ::testing::Values(
        FolderCase{"usual", "c:\\program files\\libreoffice\\", true},
        FolderCase{"usualNoSeparator", "c:\\program files\\libreoffice", true},
        FolderCase{"x86", "c:\\program files (x86)\\libreoffice 7\\", true},
        FolderCase{"otherDrive", "d:\\apps\\libreoffice\\", true},
        FolderCase{"unc", "\\\\server\\share\\libreoffice\\", true},
        FolderCase{"perUser", "c:\\users\\alice\\appdata\\local\\programs\\libreoffice\\", true},
        FolderCase{"prefixIsNotAncestor", "c:\\program files libreoffice\\", true},
        FolderCase{"windowsPrefixIsNotAncestor", "c:\\windowsapps\\lo\\", true},
        FolderCase{"driveRoot", "c:\\", false},
        FolderCase{"bareDrive", "c:", false},
        FolderCase{"driveRelative", "c:libreoffice\\", false},
        FolderCase{"relative", "libreoffice\\", false},
        FolderCase{"rootedWithoutDrive", "\\libreoffice\\", false},
        FolderCase{"empty", "", false},
        FolderCase{"shareRoot", "\\\\server\\share\\", false},
        FolderCase{"shareWithoutName", "\\\\server\\", false},
        FolderCase{"devicePath", "\\\\?\\c:\\libreoffice\\", false},
        FolderCase{"dotDevicePath", "\\\\.\\c:\\libreoffice\\", false},
        FolderCase{"dotDot", "c:\\program files\\libreoffice\\..\\", false},
        FolderCase{"dotDotInside", "c:\\program files\\..\\windows\\temp\\", false},
        FolderCase{"dot", "c:\\program files\\.\\", false},
        FolderCase{"trailingDot", "c:\\program files\\libreoffice.\\", false},
        FolderCase{"trailingBlank", "c:\\program files \\", false},
        FolderCase{"doubleSeparator", "c:\\program files\\\\libreoffice\\", false},
        FolderCase{"programFiles", "c:\\program files\\", false},
        FolderCase{"programFilesUpper", "C:\\PROGRAM FILES", false},
        FolderCase{"windows", "c:\\windows\\", false},
        FolderCase{"system", "c:\\windows\\system32", false},
        FolderCase{"insideSystem", "c:\\windows\\system32\\libreoffice\\", false},
        FolderCase{"insideWindows", "c:\\windows\\temp\\", false},
        FolderCase{"otherUsersDocuments", "c:\\users\\bob\\documents\\", false},
        FolderCase{"otherUsersAppDataLocal", "c:\\users\\bob\\appdata\\local", false},
        FolderCase{"deepInAProfile", "c:\\users\\bob\\appdata\\local\\programs\\libreoffice\\", true},
        FolderCase{"profilesProgramsItself", "c:\\users\\bob\\appdata\\local\\programs\\", false},
        FolderCase{"deepInDocuments", "c:\\users\\bob\\documents\\tools\\lo\\", false},
        FolderCase{"otherUsersStartMenu",
                   "c:\\users\\bob\\appdata\\roaming\\microsoft\\windows\\start menu\\programs", false},
        FolderCase{"profilesOnOtherDrive", "d:\\users\\bob\\", false},
        FolderCase{"inProfileOnOtherDrive", "d:\\users\\bob\\tools\\lo\\", false},
        FolderCase{"listedProfile", "e:\\profiles\\carol\\tools\\", false},
        FolderCase{"listedProfilesPrograms", "e:\\profiles\\carol\\appdata\\local\\programs\\lo\\", true},
        FolderCase{"besideAListedProfile", "e:\\profiles\\dave\\lo\\", true},
        FolderCase{"administrativeShare", "\\\\host\\c$\\lo\\", false},
        // Code page 932: a second byte 0x5C or 0x7E is no separator and no "~".
        FolderCase{"doubleByteEndingIn5C", "c:\\program files\\\x95\x5C\\", true, 932},
        FolderCase{"doubleByteProfile", "c:\\users\\\x95\x5C\x8E\xA6\\appdata\\local\\programs\\lo\\", true, 932},
        FolderCase{"doubleByteEndingIn7E", "c:\\program files\\lo\x81\x7E\\", true, 932},
        FolderCase{"tildeInSingleByte", "c:\\program files\\lo\x81\x7E\\", false},
        FolderCase{"users", "c:\\users\\", false},
        FolderCase{"aProfile", "c:\\users\\bob\\", false},
        FolderCase{"currentProfile", "c:\\users\\alice", false},
        FolderCase{"publicProfile", "c:\\users\\public", false},
        FolderCase{"forwardSlashes", "c:/program files/", false},
        FolderCase{"wildcard", "c:\\program files\\libre*\\", false},
        FolderCase{"question", "c:\\program files\\libre?ffice\\", false},
        FolderCase{"nulByte", std::string("c:\\program files\\lo\0c:\\windows\\", 31), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstallFolder, NoProtectedFoldersKnownStillRefusesRoots) {
    EXPECT_FALSE(ISSAFEINSTALLFOLDER("c:\\", ProtectedFolders{}));
    EXPECT_TRUE(ISSAFEINSTALLFOLDER("c:\\lo\\", ProtectedFolders{{"", ""}, {""}, {"", "C:\\"}, {"", "C:\\"}}));
}

// The list as the program builds it: the shell's folders, the guesses, and
// the machine's profile list with entries that cannot be read.
TEST(InstallFolder, ProtectedFoldersBuiltFromTheMachine) {
    sim::Machine m;
    const std::string list = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    m.registry.setString(sim::Root::LocalMachine, list, "ProfilesDirectory", "%SystemDrive%\\Profiles",
                         platform::kRegExpandSz);
    m.registry.setString(sim::Root::LocalMachine, list + "\\S-1-5-21-1", "ProfileImagePath", "D:\\Users\\bob");
    m.registry.setString(sim::Root::LocalMachine, list + "\\S-1-5-21-1.bak", "ProfileImagePath", "F:\\Old\\bob");
    m.registry.setDword(sim::Root::LocalMachine, list + "\\S-1-5-21-2", "ProfileImagePath", 7);
    m.registry.addKey(sim::Root::LocalMachine, list + "\\S-1-5-21-3").openable = false;
    m.registry.setString(sim::Root::LocalMachine, list + "\\S-1-5-21-4", "ProfileImagePath", "G:/Users//eve");
    ProtectedFolders built;
    ASSERT_NO_THROW(built = korvalend::PROTECTEDFOLDERS());
    // Three levels below the guessed folder of profiles; the listed ones, expanded.
    for (const char* kept : {"c:\\users\\anyone\\documents\\lo", "c:\\profiles\\anyone\\lo", "d:\\users\\bob\\lo",
                             "d:\\users", "f:\\old\\bob\\lo", "g:\\users\\eve\\lo"})
        EXPECT_FALSE(ISSAFEINSTALLFOLDER(kept, built)) << kept;
    for (const char* taken : {"c:\\users\\anyone\\appdata\\local\\programs\\lo",
                              "d:\\users\\bob\\appdata\\local\\programs\\lo", "d:\\tools\\lo"})
        EXPECT_TRUE(ISSAFEINSTALLFOLDER(taken, built)) << taken;
    // A listing that fails part-way still leaves what it could read.
    m.registry.findKey(sim::Root::LocalMachine, list)->enumError = 1359;
    ASSERT_NO_THROW(built = korvalend::PROTECTEDFOLDERS());
    EXPECT_FALSE(ISSAFEINSTALLFOLDER("c:\\profiles\\anyone\\lo", built));
}

TEST(ProductKey, OnlyPlainFileNamesNameAShortcutOrFolder) {
    for (const char* ok : {"LibreOffice 7.6", "Collabora Office 23.05", "ZetaOffice", "CONSOLE", "COM10", "x.y"})
        EXPECT_TRUE(ISPLAINFILENAME(ok)) << ok;
    for (const std::string& bad :
         {std::string(), std::string("."), std::string(".."), std::string("a\\b"), std::string("..\\..\\x"),
          std::string("a/b"), std::string("c:x"), std::string("*"), std::string("Libre?"), std::string("a\"b"),
          std::string("a<b"), std::string("a>b"), std::string("a|b"), std::string("tab\there"),
          std::string("nul\0x", 5), std::string("ends."), std::string("ends "), std::string("CON"),
          std::string("con"), std::string("Nul.lnk"), std::string("COM1"), std::string("lpt9.txt"),
          std::string("AUX"), std::string("PRN"), std::string("COM\xB9"), std::string("lpt\xB2.lnk")})
        EXPECT_FALSE(ISPLAINFILENAME(bad)) << bad;
    // Code page 932: a second byte "\" or "|" is part of a character.
    sim::Machine m;
    m.codePage = 932;
    EXPECT_TRUE(ISPLAINFILENAME("LibreOffice \x95\x5C"));
    EXPECT_TRUE(ISPLAINFILENAME("LibreOffice \x83\x7C"));
    EXPECT_FALSE(ISPLAINFILENAME("LibreOffice \x95\x5C\\x"));
}

// A family is told by its whole name: "LibreOfficeDev" is another product.
TEST(ProductKey, AFamilyIsAWholeName) {
    const std::pair<const char*, const char*> cases[] = {
        {"LibreOffice 7.6", "LibreOffice"}, {"LibreOffice", "LibreOffice"}, {"libreoffice(x64)", "LibreOffice"},
        {"LibreOffice7", "LibreOffice"},    {"LibreOfficeDev 24.8", ""},    {"Collabora Office", "Collabora Office"},
        {"Collabora Office 24.04", "Collabora Office"}, {"Collabora 24.04", ""}, {"Collabora Offices", ""},
        {"ZetaOffice", "ZetaOffice"},
    };
    for (const auto& [name, family] : cases) EXPECT_EQ(korvalend::FAMILYOF(name), family) << name;
}

}  // namespace
