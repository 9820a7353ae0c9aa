// What the program relies on from the process snapshot and termination:
// image names in mixed case, every match terminated, the wanted name whole;
// and for the suite's own soffice.bin, the image read through the handle that
// ends it and the identity of a file whatever spells its path.
#include <gtest/gtest.h>

#include <optional>

#include "fonction/processes.h"
#include "korvalend/process_lookup.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/text.h"
#include "support/proclab.h"

namespace {

using fonction::CLOSEPROCCESSUS;
using korvalend::PROCESSEXISTS;
using testsupport::ProcessLab;

// Image names no other process of the machine carries.
TEST(ProcessesContract, FoundWhateverTheCaseAndAllTerminated) {
    ProcessLab lab;
    ASSERT_FALSE(PROCESSEXISTS("soffice.bin")) << "a suite process already runs";
    EXPECT_EQ(CLOSEPROCCESSUS("soffice.bin"), 0);

    const uint32_t first = lab.startNamed("Soffice.Bin");
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(PROCESSEXISTS("soffice.bin"));
    EXPECT_TRUE(PROCESSEXISTS("SOFFICE.BIN"));
    // The wanted name is used whole: a folder in it matches no image name.
    EXPECT_FALSE(PROCESSEXISTS("C:\\x\\soffice.bin"));
    EXPECT_EQ(CLOSEPROCCESSUS("C:\\x\\soffice.bin"), 0);
    EXPECT_FALSE(lab.waitGone(first, 0));

    const uint32_t second = lab.startNamed("SOFFICE.BIN");
    ASSERT_NE(second, 0u);
    EXPECT_NE(CLOSEPROCCESSUS("soffice.bin"), 0);
    EXPECT_TRUE(lab.waitGone(first, 5000));
    EXPECT_TRUE(lab.waitGone(second, 5000));
    EXPECT_FALSE(PROCESSEXISTS("soffice.bin"));
    EXPECT_EQ(CLOSEPROCCESSUS("soffice.bin"), 0);
}

TEST(ProcessesContract, OtherImageNamesAreLeftAlone) {
    ProcessLab lab;
    const uint32_t other = lab.startNamed("soffice.exe");
    ASSERT_NE(other, 0u);
    EXPECT_FALSE(PROCESSEXISTS("soffice.bin"));
    EXPECT_EQ(CLOSEPROCCESSUS("soffice.bin"), 0);
    EXPECT_TRUE(PROCESSEXISTS("soffice.exe"));
    EXPECT_FALSE(lab.waitGone(other, 0));
}

TEST(ProcessesContract, OnlyTheSuitesOwnImageIsEnded) {
    ProcessLab lab;
    const std::string own = lab.placeImage("Suite Folder\\program\\soffice.bin");
    const std::string other = lab.placeImage("Other Suite\\program\\soffice.bin");
    const uint32_t suite = lab.startImage(own), stranger = lab.startImage(other);
    ASSERT_NE(suite, 0u);
    ASSERT_NE(stranger, 0u);
    const std::string folder = platform::charLowerBuffA(own.substr(0, own.size() - 19));  // less program\soffice.bin
    EXPECT_EQ(korvalend::CLOSESUITEPROCESSES(folder), 1);
    EXPECT_TRUE(lab.waitGone(suite, 5000));
    EXPECT_FALSE(lab.waitGone(stranger, 0));
}

std::optional<platform::FileIdentity> identityOf(const std::string& path) {
    const platform::UniqueFile file = platform::createFileForIdentityW(platform::ansiToWide(path));
    platform::FileIdentity id;
    if (!file || !platform::getFileIdentity(file.get(), id)) return std::nullopt;
    return id;
}

TEST(ProcessesContract, ImagePathsAndFileIdentities) {
    ProcessLab lab;
    const std::string image = lab.placeImage("Suite Folder\\program\\soffice.bin");
    const std::string copy = lab.placeImage("Suite Copy\\program\\soffice.bin");
    const std::string shortImage = lab.shortForm(image);
    ASSERT_FALSE(shortImage.empty());
    EXPECT_EQ(shortImage.find("Suite Folder"), std::string::npos) << shortImage;
    const uint32_t pid = lab.startImage(image);
    ASSERT_NE(pid, 0u);

    const platform::UniqueProcess process =
        platform::openProcess(platform::kProcessQueryLimitedInformation | platform::kProcessTerminate, false, pid);
    ASSERT_TRUE(process);
    std::u16string read;
    ASSERT_TRUE(platform::queryFullProcessImageNameW(process.get(), read));

    // One file, however its path is spelt (the image's own full path too); a
    // copy is another file.
    const std::optional<platform::FileIdentity> id = identityOf(image);
    ASSERT_TRUE(id);
    EXPECT_EQ(identityOf(platform::wideToAnsi(read)), id);
    EXPECT_EQ(identityOf(platform::charUpperBuffA(image)), id);
    EXPECT_EQ(identityOf(shortImage), id);
    EXPECT_NE(identityOf(copy), id);
    EXPECT_FALSE(identityOf(image + ".gone"));
    const std::optional<std::u16string> longer = platform::getLongPathNameW(platform::ansiToWide(shortImage));
    ASSERT_TRUE(longer);
    EXPECT_TRUE(platform::equalOrdinalIgnoreCase(*longer, platform::ansiToWide(image)));
    EXPECT_FALSE(platform::equalOrdinalIgnoreCase(*longer, platform::ansiToWide(copy)));
    EXPECT_FALSE(platform::getLongPathNameW(platform::ansiToWide(image + ".gone")));

    // The handle that read the image ends the process.
    EXPECT_NE(platform::terminateProcess(process.get(), 0), 0);
    EXPECT_TRUE(lab.waitGone(pid, 5000));
}

}  // namespace
