// What the program relies on from named mutexes: "no such mutex" told apart,
// a zero wait that takes a free or abandoned mutex and times out on an owned
// one, and ownership given back only by its owner. Under Wine the names carry
// the Global\ prefix the installer's mutex is opened with.
#include <gtest/gtest.h>

#include "fonction/launch.h"
#include "platform/shell.h"
#include "platform/sync.h"
#include "platform/wintypes.h"
#include "support/proclab.h"

namespace {

using testsupport::ProcessLab;

const std::u16string kName = u"Global\\korvalend-contract-mutex";

uint32_t takeAtOnce(const std::u16string& name, platform::UniqueMutex& mutex) {
    EXPECT_EQ(platform::openMutexW(platform::kSynchronize, false, name, mutex), platform::kErrorSuccess);
    return platform::waitForSingleObject(mutex.get(), 0);
}

TEST(SyncContract, NoSuchMutexIsToldApartAndAFreeOneIsGivenBackOnce) {
    ProcessLab lab;
    platform::UniqueMutex mutex;
    EXPECT_EQ(platform::openMutexW(platform::kSynchronize, false, kName, mutex), platform::kErrorFileNotFound);
    EXPECT_FALSE(mutex);
    lab.createFreeMutex(kName);
    EXPECT_EQ(takeAtOnce(kName, mutex), platform::kWaitObject0);
    EXPECT_TRUE(platform::releaseMutex(mutex.get()));
    EXPECT_FALSE(platform::releaseMutex(mutex.get())) << "given back twice";
}

TEST(SyncContract, OwnedTimesOutUntilReleasedAbandonedIsTakenWithItsOwnResult) {
    ProcessLab lab;
    lab.holdMutex(kName, false);
    platform::UniqueMutex mutex;
    EXPECT_EQ(takeAtOnce(kName, mutex), platform::kWaitTimeout);
    EXPECT_FALSE(platform::releaseMutex(mutex.get())) << "only its owner gives it back";
    uint64_t budget = 50;
    EXPECT_EQ(fonction::WAITFORFREEMUTEX(kName, budget), fonction::TMutexWait::OutOfTime);
    lab.releaseHeldMutex();
    EXPECT_EQ(fonction::WAITFORFREEMUTEX(kName, budget), fonction::TMutexWait::Free);

    ProcessLab other;
    other.holdMutex(u"Global\\korvalend-contract-abandoned", true);
    platform::UniqueMutex abandoned;
    EXPECT_EQ(takeAtOnce(u"Global\\korvalend-contract-abandoned", abandoned), platform::kWaitAbandoned);
    EXPECT_TRUE(platform::releaseMutex(abandoned.get()));
}

}  // namespace
