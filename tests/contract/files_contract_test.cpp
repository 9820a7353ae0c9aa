// What the tree deletion and the file listing rely on from the file system,
// the shell's delete operation and the special folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fonction/deltree.h"
#include "fonction/folders.h"
#include "fonction/strings.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/wintypes.h"
#include "support/filelab.h"

using testsupport::FileLab;
using namespace fonction;

namespace {

constexpr uint32_t kRO = platform::kFileAttributeReadonly;
constexpr uint32_t kHidden = platform::kFileAttributeHidden;

bool exists(const std::string& path) { return platform::getFileAttributesA(path) != platform::kInvalidFileAttributes; }

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<std::string> enumerate(const std::string& pattern) {
    std::vector<std::string> names;
    platform::FindData data;
    const platform::UniqueFind find = platform::findFirstFileA(pattern, data);
    if (!find) return names;
    do names.push_back(data.name);
    while (platform::findNextFileA(find.get(), data));
    EXPECT_EQ(platform::getLastError(), platform::kErrorNoMoreFiles);
    return names;
}

TEST(FilesContract, EnumerationByMasks) {
    FileLab lab;
    ASSERT_TRUE(lab.addFile("b.log"));
    ASSERT_TRUE(lab.addFile("A.TMP"));
    ASSERT_TRUE(lab.addFile("c.txt"));
    ASSERT_TRUE(lab.addFile("noext"));
    ASSERT_TRUE(lab.addDirectory("sub.log"));
    const std::string dir = lab.root() + "\\";

    // "." and ".." come first in a folder that is not a drive root.
    const std::vector<std::string> all = enumerate(dir + "*");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], ".");
    EXPECT_EQ(all[1], "..");
    EXPECT_EQ(sorted(all), (std::vector<std::string>{".", "..", "A.TMP", "b.log", "c.txt", "noext", "sub.log"}));
    EXPECT_EQ(sorted(enumerate(dir + "*.log")), (std::vector<std::string>{"b.log", "sub.log"}));
    EXPECT_EQ(enumerate(dir + "a.tmp"), std::vector<std::string>{"A.TMP"});  // case ignored, stored name back

    platform::FindData data;
    EXPECT_FALSE(platform::findFirstFileA(dir + "*.none", data).valid());
    EXPECT_EQ(platform::getLastError(), platform::kErrorFileNotFound);
    EXPECT_FALSE(platform::findFirstFileA(dir + "missing\\*", data).valid());
    EXPECT_EQ(platform::getLastError(), platform::kErrorPathNotFound);

    platform::TStringList list;
    EXPECT_TRUE(BUILDFILELIST(dir + "*.tmp;*.log", 0x1FF, list, false));
    // The order is the file system's: sorted on NTFS, the host's under Wine.
    EXPECT_EQ(sorted(list.items()), (std::vector<std::string>{"A.TMP", "b.log", "sub.log"}));
    platform::TStringList files;
    EXPECT_TRUE(BUILDFILELIST(dir + "*.", 0x1FF & ~platform::kFileAttributeDirectory, files, true));
    EXPECT_EQ(files.items(), std::vector<std::string>{dir + "noext"});
}

TEST(FilesContract, AttributesResetAndRefusals) {
    FileLab lab;
    ASSERT_TRUE(lab.addFile("ro.txt", "x", kRO | kHidden));
    ASSERT_TRUE(lab.addDirectory("full"));
    ASSERT_TRUE(lab.addFile("full\\f.txt"));
    const std::string ro = lab.root() + "\\ro.txt";
    const std::string full = lab.root() + "\\full";

    const uint32_t attr = platform::getFileAttributesA(ro);
    EXPECT_EQ(attr & (kRO | kHidden | platform::kFileAttributeDirectory), kRO | kHidden);
    EXPECT_FALSE(platform::deleteFileA(ro));
    EXPECT_EQ(platform::getLastError(), platform::kErrorAccessDenied);

    EXPECT_TRUE(platform::setFileAttributesA(ro, platform::kFileAttributeNormal));
    EXPECT_EQ(platform::getFileAttributesA(ro) & (kRO | kHidden), 0u);
    EXPECT_TRUE(platform::deleteFileA(ro));
    EXPECT_FALSE(exists(ro));

    EXPECT_EQ(platform::getFileAttributesA(full) & platform::kFileAttributeDirectory, platform::kFileAttributeDirectory);
    EXPECT_FALSE(platform::removeDirectoryA(full));
    EXPECT_EQ(platform::getLastError(), platform::kErrorDirNotEmpty);
    EXPECT_FALSE(platform::deleteFileA(lab.root() + "\\missing.txt"));
    EXPECT_EQ(platform::getLastError(), platform::kErrorFileNotFound);
    EXPECT_EQ(platform::getFileAttributesA(lab.root() + "\\missing\\x"), platform::kInvalidFileAttributes);

    EXPECT_EQ(platform::readWholeFile(full + "\\f.txt"), std::string());
    EXPECT_FALSE(platform::readWholeFile(full + "\\none.txt").has_value());
}

TEST(FilesContract, DirectTreeDeletion) {
    FileLab lab;
    ASSERT_TRUE(lab.addDirectory("tree"));
    ASSERT_TRUE(lab.addFile("tree\\a.txt", "a", kRO));
    ASSERT_TRUE(lab.addDirectory("tree\\sub"));
    ASSERT_TRUE(lab.addFile("tree\\sub\\b.txt", "b", kHidden));
    ASSERT_TRUE(lab.addDirectory("tree\\sub\\deeper"));
    ASSERT_TRUE(lab.addFile("tree\\sub\\deeper\\c.txt", "c"));
    ASSERT_TRUE(lab.addDirectory("tree\\rodir", kRO));
    ASSERT_TRUE(lab.addFile("keep.txt", "k"));
    EXPECT_TRUE(DELTREEEX(lab.root() + "\\tree\\", true, nullptr));
    EXPECT_FALSE(exists(lab.root() + "\\tree"));
    EXPECT_TRUE(exists(lab.root() + "\\keep.txt"));
}

TEST(FilesContract, ShellDeleteSendsFolderToRecycleBin) {
    FileLab lab;
    ASSERT_TRUE(lab.addDirectory("Suite"));
    ASSERT_TRUE(lab.addFile("Suite\\readme.txt", "hello"));
    ASSERT_TRUE(lab.addDirectory("Suite\\program"));
    ASSERT_TRUE(lab.addFile("Suite\\program\\soffice.bin", "bin"));
    ASSERT_TRUE(lab.addFile("Suite\\ro.txt", "ro", kRO));
    const std::string suite = lab.root() + "\\Suite";
    EXPECT_EQ(DELETEOPTIONSTOCARDINAL({DOSILENT, DOALLOWUNDO}), 0x654u);
    EXPECT_TRUE(DELETEDIRECTORY(suite, true));
    EXPECT_FALSE(exists(suite));
    EXPECT_TRUE(exists(lab.root()));
    // Where the bin can be looked into, it holds the contents and the folder.
    for (const std::string& item : {suite + "\\program", suite + "\\readme.txt", suite}) {
        const std::optional<bool> binned = lab.recycled(item);
        if (binned.has_value()) {
            EXPECT_TRUE(*binned) << item;
        }
    }
    const std::optional<bool> absent = lab.recycled(lab.root() + "\\never-there");
    if (absent.has_value()) {
        EXPECT_FALSE(*absent);
    }
}

TEST(FilesContract, ShellDeleteOfAnEmptyOrMissingFolder) {
    FileLab lab;
    ASSERT_TRUE(lab.addDirectory("Empty"));
    // A contents pass that matches nothing still succeeds, so the folder goes.
    EXPECT_TRUE(DELETEDIRECTORY(lab.root() + "\\Empty", true));
    EXPECT_FALSE(exists(lab.root() + "\\Empty"));
    // A folder that is not there fails, and its parent is left alone.
    EXPECT_FALSE(DELETEDIRECTORY(lab.root() + "\\Missing", true));
    EXPECT_TRUE(exists(lab.root()));
}

TEST(FoldersContract, SystemFolderSizeQueryAndPath) {
    FileLab lab;  // on the simulated build, the machine asked
    const uint32_t required = platform::getSystemDirectoryA(nullptr, 0);
    ASSERT_GT(required, 1u);
    std::string buffer(required, 'x');
    EXPECT_EQ(platform::getSystemDirectoryA(buffer.data(), required), required - 1);
    EXPECT_EQ(buffer[required - 1], '\0');
    const std::string system = GETWINDOWSSYSTEMFOLDER();
    EXPECT_EQ(system.size(), required - 1);
    EXPECT_NE(system.back(), '\\');
    EXPECT_GT(STRIPOS("\\system32", system), 0);
    EXPECT_TRUE(platform::getFileAttributesA(system) & platform::kFileAttributeDirectory);
}

TEST(FilesContract, TheSystemDriveIsFixedAndAnUnknownShareIsNot) {
    FileLab lab;
    const std::string system = GETWINDOWSSYSTEMFOLDER();
    ASSERT_GE(system.size(), 3u);
    EXPECT_EQ(platform::getDriveTypeA(system.substr(0, 3)), platform::kDriveFixed);
    EXPECT_NE(platform::getDriveTypeA("\\\\korvalend-no-such-host\\share\\"), platform::kDriveFixed);
}

TEST(FoldersContract, SpecialFoldersResolveToExistingFolders) {
    FileLab lab;
    for (const std::string& path : {GETCOMMONDESKTOPDIRECTORYFOLDER(), GETSTARTUPFOLDER(), GETCOMMONPROGRAMSFOLDER()}) {
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(path.find('\0'), std::string::npos);
        EXPECT_NE(path.back(), '\\');
        const uint32_t attr = platform::getFileAttributesA(path);
        EXPECT_NE(attr, platform::kInvalidFileAttributes) << path;
        EXPECT_TRUE(attr & platform::kFileAttributeDirectory) << path;
    }
    EXPECT_NE(GETSTARTUPFOLDER(), GETSPECIALFOLDERLOCATION(platform::kCsidlCommonStartup));
}

}  // namespace
