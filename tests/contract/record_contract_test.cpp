// What the run's record relies on from the file system and its security: the
// default folder made with its access list and then accepted, a folder anyone
// may write in and a junction refused, appends of two writers kept, the old
// record renamed over its older copy. Wine builds access lists from the Unix
// mode, so the access-list rules are the simulator's tests; these three hold
// on both.
#include <gtest/gtest.h>

#include <string>

#include "korvalend/record.h"
#include "korvalend/paths.h"
#include "platform/files.h"
#include "platform/record.h"
#include "platform/text.h"
#include "platform/wintypes.h"
#include "support/filelab.h"

using korvalend::TREFUSAL;
using testsupport::FileLab;

namespace {

const std::string kBom = "\xEF\xBB\xBF";

TREFUSAL accept(const std::string& folder) {
    bool created = false;
    return korvalend::ACCEPTLOGFOLDER(folder, created);
}

TEST(RecordContract, TheDefaultFolderIsMadeWithAnAccessListItAccepts) {
    FileLab lab;  // the simulated machine, on that build
    const std::string folder = korvalend::PARSELOGOPTION({"/log"}).folder;
    const std::string parent = folder.substr(0, folder.rfind('\\'));
    // Windows and Wine have C:\Windows\Logs; the simulated machine gets one.
    if (platform::getFileAttributesA(parent) == platform::kInvalidFileAttributes) {
        ASSERT_TRUE(platform::createDirectoryWithSecurityW(platform::ansiToWide(parent),
                                                           u"O:SYD:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)"));
    }
    const bool existed = platform::getFileAttributesA(folder) != platform::kInvalidFileAttributes;
    bool created = false;
    EXPECT_EQ(korvalend::ACCEPTLOGFOLDER(folder, created), TREFUSAL::NONE) << folder;
    EXPECT_EQ(created, !existed);
    // What the run made, read back, passes the check.
    EXPECT_EQ(accept(folder), TREFUSAL::NONE);
    if (!existed) {
        EXPECT_TRUE(platform::removeDirectoryA(folder));
    }
}

TEST(RecordContract, AFolderAnyoneMayWriteInAndAJunctionAreRefused) {
    FileLab lab{FileLab::AtDriveRoot{}};
    ASSERT_TRUE(lab.addDirectory("tight"));
    ASSERT_TRUE(lab.addDirectory("open"));
    ASSERT_TRUE(lab.openToEveryone("open"));
    ASSERT_TRUE(lab.addJunction("link", lab.root() + "\\tight"));
    EXPECT_EQ(accept(lab.root() + "\\tight"), TREFUSAL::NONE);
    EXPECT_EQ(accept(lab.root() + "\\open"), TREFUSAL::OPENACCESS);
    EXPECT_EQ(accept(lab.root() + "\\link"), TREFUSAL::LINK);
    EXPECT_EQ(accept(lab.root() + "\\link\\below"), TREFUSAL::LINK);
}

TEST(RecordContract, TwoWritersAppendAndTheOldRecordIsRenamedOverItsCopy) {
    FileLab lab{FileLab::AtDriveRoot{}};
    const std::string folder = lab.root();
    const std::string record = folder + "\\korvalend.log";
    ASSERT_TRUE(lab.addFile("korvalend.log", std::string(korvalend::kLogRotateBytes + 1, 'x')));
    ASSERT_TRUE(lab.addFile("korvalend.lo_", "older"));
    {
        korvalend::TRunRecord first(folder);
        korvalend::TRunRecord second(folder);
        ASSERT_TRUE(first.opened());
        ASSERT_TRUE(second.opened());
        first.found("a", "1");
        second.found("b", "2");
        first.found("c", "3");
        // The record can be read while it is written.
        const std::string text = platform::readWholeFile(record).value_or("");
        ASSERT_TRUE(text.starts_with(kBom + "<![LOG[Found a: 1]LOG]!>")) << text;
        EXPECT_EQ(text.rfind(kBom), 0u);
        EXPECT_NE(text.find("\r\n<![LOG[Found b: 2]LOG]!>"), std::string::npos) << text;
        EXPECT_NE(text.find("\r\n<![LOG[Found c: 3]LOG]!>"), std::string::npos) << text;
    }
    EXPECT_EQ(platform::readWholeFile(folder + "\\korvalend.lo_").value_or("").size(), korvalend::kLogRotateBytes + 1);
}

}  // namespace
