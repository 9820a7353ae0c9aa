// What the removal refuses to delete.
#include <gtest/gtest.h>

#include <string>

#include "korvalend/safety.h"

using korvalend::ISPLAINFILENAME;
using korvalend::ISSAFEINSTALLFOLDER;
using korvalend::ProtectedFolders;

namespace {

const ProtectedFolders kMachine{
    {"C:\\Windows", "C:\\Windows\\system32", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData",
     "C:\\Users\\alice", "C:\\Users\\Public\\Desktop", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
    {{"C:\\Users", 3}, {"C:\\Windows", 0}}};

struct FolderCase {
    const char* name;
    std::string path;
    bool safe;
};

class InstallFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(InstallFolder, IsRefusedUnlessItIsTheSuitesOwn) {
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
    EXPECT_TRUE(ISSAFEINSTALLFOLDER("c:\\lo\\", ProtectedFolders{{"", ""}, {{"", 0}}}));
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
          std::string("AUX"), std::string("PRN")})
        EXPECT_FALSE(ISPLAINFILENAME(bad)) << bad;
}

}  // namespace
