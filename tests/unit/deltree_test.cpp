#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fonction/deltree.h"
#include "platform/shell.h"
#include "platform/sim/machine.h"
#include "platform/wintypes.h"

using namespace std::string_literals;
using namespace fonction;

namespace {

constexpr uint32_t kRO = platform::kFileAttributeReadonly;
constexpr uint32_t kHidden = platform::kFileAttributeHidden;
constexpr uint32_t kSystem = platform::kFileAttributeSystem;
constexpr uint32_t kArchive = platform::kFileAttributeArchive;

// A small install folder: files at two levels, one empty folder.
void seedSuite(sim::FileSystem& fs, const std::string& root = "C:\\Suite") {
    fs.addFile(root + "\\readme.txt", "hello");
    fs.addFile(root + "\\program\\soffice.bin", "binary");
    fs.addFile(root + "\\program\\bootstrap.ini", "[Bootstrap]");
    fs.addDirectory(root + "\\share\\empty");
}

TEST(DeleteOptions, ToShellFlags) {
    struct C {
        TSHDELETEOPTIONS options;
        uint32_t flags;
    };
    const std::vector<C> cases = {
        {{}, 0},
        {{DOSILENT}, 0x614},
        {{DOALLOWUNDO}, 0x40},
        {{DOFILESONLY}, 0x80},
        {{DOSILENT, DOALLOWUNDO}, 0x654},
        {{DOSILENT, DOALLOWUNDO, DOFILESONLY}, 0x6D4},
        {{DOSILENT, DOSILENT}, 0x614},
    };
    for (const auto& c : cases) EXPECT_EQ(DELETEOPTIONSTOCARDINAL(c.options), c.flags) << c.options.bits();
}

TEST(ShellRoute, DeleteDirectorySendsContentsThenFolderToRecycleBinSilently) {
    sim::Machine m;
    seedSuite(m.files);
    m.files.addFile("C:\\Suite\\locked.ro", "ro", kRO | kHidden);  // the shell takes these too
    EXPECT_TRUE(DELETEDIRECTORY("C:\\Suite\\", true));
    EXPECT_FALSE(m.files.exists("C:\\Suite"));
    ASSERT_EQ(m.files.fileOps.size(), 2u);
    EXPECT_EQ(m.files.fileOps[0].sources, std::vector<std::string>{"C:\\Suite\\*.*"});
    EXPECT_EQ(m.files.fileOps[1].sources, std::vector<std::string>{"C:\\Suite"});
    for (const auto& op : m.files.fileOps) {
        EXPECT_EQ(op.func, platform::kFoDelete);
        EXPECT_EQ(op.flags, 0x654);
        EXPECT_EQ(op.owner, 0u);
    }
    const sim::RecycledItem* program = m.files.recycled("C:\\Suite\\program");
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->node->children.size(), 2u);
    const sim::RecycledItem* readme = m.files.recycled("C:\\Suite\\readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->node->content, "hello");
    EXPECT_NE(m.files.recycled("C:\\Suite"), nullptr);
}

TEST(ShellRoute, FilesOnlyIsIgnoredSoSubfoldersGoToo) {
    sim::Machine m;
    seedSuite(m.files);
    EXPECT_TRUE(SHDELETEFOLDER(nullptr, "C:\\Suite", {DOSILENT, DOFILESONLY}));
    EXPECT_FALSE(m.files.exists("C:\\Suite"));
    for (const auto& op : m.files.fileOps) EXPECT_EQ(op.flags, 0x614);
    EXPECT_TRUE(m.files.recycleBin.empty());  // no undo asked: deleted for good
}

TEST(ShellRoute, FailuresLeaveTheFolderAndSkipTheSecondPass) {
    struct C {
        const char* name;
        void (*seed)(sim::FileSystem&);
        std::string folder;
        std::size_t passes;
    };
    const std::vector<C> cases = {
        {"empty path", [](sim::FileSystem& fs) { seedSuite(fs); }, "", 0},
        {"locked file", [](sim::FileSystem& fs) {
             seedSuite(fs);
             fs.addFile("C:\\Suite\\program\\in-use.dll").refuseDelete = true;
         }, "C:\\Suite", 1},
        {"missing folder", [](sim::FileSystem& fs) { seedSuite(fs); }, "C:\\Nowhere", 1},
        // The shell would read the text after the NUL as a second path.
        {"embedded NUL", [](sim::FileSystem& fs) { seedSuite(fs); }, "C:\\Suite\0C:\\Windows"s, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Machine m;
        c.seed(m.files);
        EXPECT_FALSE(DELETEDIRECTORY(c.folder, true));
        EXPECT_EQ(m.files.fileOps.size(), c.passes);
        EXPECT_TRUE(m.files.exists("C:\\Windows\\system32"));
        if (c.passes == 0 || std::string(c.name) == "locked file") {
            EXPECT_TRUE(m.files.exists("C:\\Suite\\program\\soffice.bin"));
        }
    }
}

TEST(ShellRoute, EmptyFolderGoesInTheSecondPass) {
    sim::Machine m;
    m.files.addDirectory("C:\\Suite");
    EXPECT_TRUE(DELETEDIRECTORY("C:\\Suite", true));
    EXPECT_FALSE(m.files.exists("C:\\Suite"));
    ASSERT_EQ(m.files.fileOps.size(), 2u);
    EXPECT_EQ(m.files.fileOps[0].result, 0);
    ASSERT_EQ(m.files.recycleBin.size(), 1u);
    EXPECT_EQ(m.files.recycleBin[0].originalPath, "C:\\Suite");
}

TEST(ShellRoute, RecycleItemSendsOnePathInOneCall) {
    for (const std::string path : {"C:\\Suite\\readme.txt", "C:\\Suite\\share\\empty", "C:\\Suite\\program",
                                   "C:\\Suite\\*.txt", "C:\\Suite\\readme.tx?", ""}) {
        sim::Machine m;
        seedSuite(m.files);
        const bool onePath = !path.empty() && path.find_first_of("*?") == std::string::npos;
        EXPECT_EQ(RECYCLEITEM(path), onePath) << path;  // never a wildcard
        ASSERT_EQ(m.files.fileOps.size(), onePath ? 1u : 0u) << path;
        EXPECT_EQ(m.files.recycled(path) != nullptr, onePath) << path;
        for (const auto& op : m.files.fileOps) EXPECT_EQ(op.flags, 0x654);
    }
}

TEST(DirectRoute, DeletesReadOnlyHiddenAndSystemEntriesWithOrWithoutTrailingBackslash) {
    for (const std::string path : {"C:\\Suite", "C:\\Suite\\"}) {
        sim::Machine m;
        seedSuite(m.files);
        m.files.addFile("C:\\Suite\\ro.txt", "", kRO);
        m.files.addFile("C:\\Suite\\sys.dat", "", kHidden | kSystem);
        m.files.addDirectory("C:\\Suite\\rodir", kRO).attributes = kRO;
        m.files.addFile("C:\\Suite\\rodir\\inner.txt", "", kRO | kArchive);
        EXPECT_TRUE(DELETEDIRECTORY(path, false)) << path;
        EXPECT_FALSE(m.files.exists("C:\\Suite")) << path;
        EXPECT_TRUE(m.files.fileOps.empty());
        EXPECT_TRUE(m.files.recycleBin.empty());
        EXPECT_EQ(m.files.openFinds(), 0);
    }
}

TEST(DirectRoute, RefusesWhatItCannotOrMustNotTouch) {
    struct C {
        const char* name;
        std::string path;
    };
    const std::vector<C> cases = {
        {"empty", ""},
        {"missing", "C:\\Nowhere"},
        {"a file, not a folder", "C:\\Suite\\readme.txt"},
        {"embedded NUL", "C:\\Suite\0x"s},
        {"drive root", "C:\\"},
        {"drive-relative root", "C:"},
        {"root of the current drive", "\\"},
        {"root with doubled separator", "C:\\\\"},
        {"root reached through ..", "C:\\Suite\\.."},
        {"current folder", "."},
        {"share root", "\\\\server\\share"},
        {"share root with separator", "\\\\server\\share\\"},
        {"share root reached through ..", "\\\\server\\share\\data\\.."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Machine m;
        seedSuite(m.files);
        m.files.addFile("\\\\server\\share\\data\\report.doc", "theirs");
        EXPECT_FALSE(DELTREE(c.path));
        EXPECT_EQ(m.files.read("C:\\Suite\\readme.txt"), "hello");
        EXPECT_TRUE(m.files.exists("C:\\Suite\\program\\soffice.bin"));
        EXPECT_TRUE(m.files.exists("\\\\server\\share\\data\\report.doc"));
    }
}

TEST(DirectRoute, LockedFileKeepsItselfAndItsAncestors) {
    // Entries enumerate sorted: a.txt, locked\ (b.dll, lock.dat, z.txt), z.txt
    auto seed = [](sim::FileSystem& fs) {
        fs.addFile("C:\\T\\a.txt");
        fs.addFile("C:\\T\\locked\\b.dll");
        fs.addFile("C:\\T\\locked\\lock.dat").refuseDelete = true;
        fs.addFile("C:\\T\\locked\\z.txt");
        fs.addFile("C:\\T\\z.txt");
    };
    {
        sim::Machine m;
        seed(m.files);
        EXPECT_FALSE(DELTREEEX("C:\\T", false, nullptr));
        EXPECT_EQ(m.files.list("C:\\T"), std::vector<std::string>{"locked"});
        EXPECT_EQ(m.files.list("C:\\T\\locked"), std::vector<std::string>{"lock.dat"});
    }
    {
        sim::Machine m;
        seed(m.files);
        EXPECT_FALSE(DELTREEEX("C:\\T", true, nullptr));
        // Stops at the failure in locked\ and, seeing it fail, in T too.
        EXPECT_EQ(m.files.list("C:\\T"), (std::vector<std::string>{"locked", "z.txt"}));
        EXPECT_EQ(m.files.list("C:\\T\\locked"), (std::vector<std::string>{"lock.dat", "z.txt"}));
        EXPECT_EQ(m.files.openFinds(), 0);
    }
}

TEST(DirectRoute, DirectoryThatRefusesRemovalFailsTheWalk) {
    sim::Machine m;
    m.files.addFile("C:\\T\\busy\\f.txt");
    m.files.find("C:\\T\\busy")->refuseRemove = true;
    m.files.addFile("C:\\T\\other.txt");
    EXPECT_FALSE(DELTREE("C:\\T"));
    EXPECT_EQ(m.files.list("C:\\T"), std::vector<std::string>{"busy"});
    EXPECT_TRUE(m.files.list("C:\\T\\busy").empty());
}

std::vector<std::pair<std::string, uint32_t>> g_seen;
bool declineKeep(const std::string& name, uint32_t attr) {
    g_seen.emplace_back(name, attr);
    return name.find("keep") == std::string::npos;
}
bool throwOnSecond(const std::string&, uint32_t) {
    if (++g_seen.emplace_back("", 0).second >= 1 && g_seen.size() == 2) throw std::runtime_error("stop");
    return true;
}

TEST(DirectRoute, CallbackSeesFilesOnlyAndMayDecline) {
    sim::Machine m;
    m.files.addFile("C:\\T\\a.txt", "", kArchive | kHidden);
    m.files.addFile("C:\\T\\sub\\keep.me");
    m.files.addFile("C:\\T\\sub\\x.txt", "", kRO);
    m.files.addFile("C:\\T\\z.txt");
    g_seen.clear();
    EXPECT_FALSE(DELTREEEX("C:\\T", false, declineKeep));
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"C:\\T\\a.txt", kArchive | kHidden},
        {"C:\\T\\sub\\keep.me", kArchive},
        {"C:\\T\\sub\\x.txt", kRO},
        {"C:\\T\\z.txt", kArchive},
    };
    EXPECT_EQ(g_seen, expected);
    EXPECT_EQ(m.files.list("C:\\T"), std::vector<std::string>{"sub"});
    EXPECT_EQ(m.files.list("C:\\T\\sub"), std::vector<std::string>{"keep.me"});
}

TEST(DirectRoute, ExceptionFromCallbackPassesWithEnumerationsClosed) {
    sim::Machine m;
    m.files.addFile("C:\\T\\a\\1.txt");
    m.files.addFile("C:\\T\\a\\2.txt");
    g_seen.clear();
    EXPECT_THROW((void)DELTREEEX("C:\\T", false, throwOnSecond), std::runtime_error);
    EXPECT_EQ(m.files.openFinds(), 0);
    EXPECT_EQ(m.files.list("C:\\T\\a"), std::vector<std::string>{"2.txt"});
}

TEST(DirectRoute, JunctionIsRemovedAsALinkAndItsTargetSurvives) {
    sim::Machine m;
    m.files.addFile("C:\\Users\\Public\\Documents\\precious.odt", "data");
    m.files.addFile("C:\\Suite\\a.txt");
    m.files.addJunction("C:\\Suite\\docs", "C:\\Users\\Public\\Documents");
    ASSERT_EQ(m.files.list("C:\\Suite\\docs"), std::vector<std::string>{"precious.odt"});
    g_seen.clear();
    EXPECT_TRUE(DELTREEEX("C:\\Suite", true, declineKeep));
    EXPECT_FALSE(m.files.exists("C:\\Suite"));
    EXPECT_EQ(m.files.read("C:\\Users\\Public\\Documents\\precious.odt"), "data");
    EXPECT_EQ(g_seen.size(), 1u);  // a.txt only: nothing behind the link was offered

    // Handed the link itself, only the link goes.
    m.files.addJunction("C:\\Link", "C:\\Users\\Public\\Documents");
    EXPECT_TRUE(DELTREE("C:\\Link\\"));
    EXPECT_FALSE(m.files.exists("C:\\Link"));
    EXPECT_EQ(m.files.read("C:\\Users\\Public\\Documents\\precious.odt"), "data");
}

TEST(FileNameMatch, Table) {
    struct C {
        std::string name, mask;
        bool caseSensitive, expected;
    };
    const std::vector<C> cases = {
        {"anything", "", true, true},
        {"anything", "*", true, true},
        {"noext", "*.*", true, true},
        {"noext", "*.", false, true},
        {"has.ext", "*.", false, false},
        {"readme.txt", "*.TXT", false, true},
        {"readme.txt", "*.TXT", true, false},
        {"README.TXT", "*.txt", false, true},
        {"\xE9t\xE9.log", "\xC9T\xC9.*", false, true},
        {"", "?", false, true},  // an empty name becomes "."
        {"a.tmp", "*.tmp", false, true},
        {"a.tmpx", "*.tmp", false, false},
        {"file", "fil?", false, false},  // "file." has one more byte
        {"file", "fil?.", false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ISFILENAMEMATCH(c.name, c.mask, c.caseSensitive), c.expected) << c.name << " / " << c.mask;
}

TEST(FileList, MasksAttributesPrefixAndOrder) {
    sim::Machine m;
    m.files.addFile("C:\\Tmp\\b.log");
    m.files.addFile("C:\\Tmp\\A.TMP");
    m.files.addFile("C:\\Tmp\\c.txt");
    m.files.addFile("C:\\Tmp\\d.tmp", "", kArchive | kHidden);
    m.files.addDirectory("C:\\Tmp\\e.log");
    m.files.addFile("C:\\Tmp\\x.tmp.log");

    struct C {
        std::string path;
        uint32_t attr;
        bool include;
        bool result;
        std::vector<std::string> items;
    };
    const std::vector<C> cases = {
        {"C:\\Tmp\\*.tmp;*.log", 0x1FF, false, true, {"A.TMP", "b.log", "d.tmp", "e.log", "x.tmp.log"}},
        {"C:\\Tmp\\*.tmp;*.log;*.*", 0x1FF, true, true,
         {"C:\\Tmp\\A.TMP", "C:\\Tmp\\b.log", "C:\\Tmp\\c.txt", "C:\\Tmp\\d.tmp", "C:\\Tmp\\e.log", "C:\\Tmp\\x.tmp.log"}},
        {"c:\\tmp\\*.TMP", kRO | kArchive, false, true, {"A.TMP"}},  // d.tmp is hidden
        {"C:\\Tmp\\*.log", 0x1FF & ~platform::kFileAttributeDirectory, false, true, {"b.log", "x.tmp.log"}},
        // No mask, or none that can be cut off: such a listing says nothing of the folder.
        {"C:\\Tmp\\", 0x1FF, false, false, {}},
        {"C:/Tmp/*", 0x1FF, false, false, {}},
        {"C:\\Tmp\\*.tmp;", 0x1FF, false, true, {"A.TMP", "d.tmp"}},
        {"C:\\Nowhere\\*.*", 0x1FF, false, false, {}},
        {"C:\\Tmp\\Empty\\*", 0x1FF, false, true, {}},  // "." and ".." are read, never listed
    };
    m.files.addDirectory("C:\\Tmp\\Empty");
    m.files.addDirectory("C:\\Tmp\\Empty");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        platform::TStringList list;
        list.add("kept");
        const bool result = BUILDFILELIST(c.path, c.attr, list, c.include);
        EXPECT_EQ(result, c.result);
        std::vector<std::string> expected = {"kept"};
        expected.insert(expected.end(), c.items.begin(), c.items.end());
        if (c.path == "C:\\Tmp\\*.tmp;*.log;*.*") expected.insert(expected.begin() + 6, "C:\\Tmp\\Empty");
        EXPECT_EQ(list.items(), expected);
        EXPECT_EQ(list.updateDepth(), 0);
        EXPECT_EQ(m.files.openFinds(), 0);
    }
}

TEST(FileList, RootRelativeAndJunctionFolders) {
    sim::Machine m;
    m.codePage = 932;
    m.files.addFile("D:\\one.txt");
    m.files.addFile("D:\\\x95\x5C");  // its second byte is 0x5C
    m.files.addFile("C:\\Work\\two.txt");
    m.files.addJunction("C:\\Via", "C:\\Work");
    m.files.currentDirectory = "C:\\Work";
    struct C {
        std::string path;
        std::vector<std::string> items;
    };
    const std::vector<C> cases = {
        {"D:\\*.txt", {"D:\\one.txt"}},
        {"*.txt", {"two.txt"}},  // no folder part: the current folder
        {"C:\\Via\\*.*", {"C:\\Via\\two.txt"}},
        {"D:\\\x95\x5C*", {"D:\\\x95\x5C"}},  // a mask whose 0x5C is no separator
    };
    for (const auto& c : cases) {
        platform::TStringList list;
        EXPECT_TRUE(BUILDFILELIST(c.path, 0x1FF, list, true)) << c.path;
        EXPECT_EQ(list.items(), c.items) << c.path;
    }
}

}  // namespace
