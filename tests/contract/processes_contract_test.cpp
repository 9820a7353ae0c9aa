// What the program relies on from the process snapshot and termination:
// image names in mixed case, every match terminated, the wanted name whole.
#include <gtest/gtest.h>

#include "fonction/processes.h"
#include "korvalend/process_lookup.h"
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

}  // namespace
