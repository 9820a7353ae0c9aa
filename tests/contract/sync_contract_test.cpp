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

TEST(SyncContract, NoSuchMutexIsToldApartAndLeavesTheOwnerEmpty) {
    ProcessLab lab;
    platform::UniqueMutex mutex;
    EXPECT_EQ(platform::openMutexW(platform::kSynchronize, false, u"Global\\korvalend-no-such-mutex", mutex),
              platform::kErrorFileNotFound);
    EXPECT_FALSE(mutex);
    uint64_t budget = 1000;
    EXPECT_EQ(fonction::WAITFORFREEMUTEX(u"Global\\korvalend-no-such-mutex", budget), fonction::TMutexWait::Free);
}

TEST(SyncContract, AFreeMutexIsTakenAndGivenBackOnce) {
    ProcessLab lab;
    lab.createFreeMutex(kName);
    platform::UniqueMutex mutex;
    EXPECT_EQ(takeAtOnce(kName, mutex), platform::kWaitObject0);
    EXPECT_TRUE(platform::releaseMutex(mutex.get()));
    EXPECT_FALSE(platform::releaseMutex(mutex.get())) << "given back twice";
    uint64_t budget = 1000;
    EXPECT_EQ(fonction::WAITFORFREEMUTEX(kName, budget), fonction::TMutexWait::Free);
}

TEST(SyncContract, AnOwnedMutexTimesOutUntilItsOwnerReleasesIt) {
    ProcessLab lab;
    lab.holdMutex(kName, false);
    platform::UniqueMutex mutex;
    EXPECT_EQ(takeAtOnce(kName, mutex), platform::kWaitTimeout);
    EXPECT_FALSE(platform::releaseMutex(mutex.get())) << "only its owner gives it back";
    uint64_t budget = 50;
    EXPECT_EQ(fonction::WAITFORFREEMUTEX(kName, budget), fonction::TMutexWait::OutOfTime);
    EXPECT_EQ(budget, 0u);
    lab.releaseHeldMutex();
    EXPECT_EQ(platform::waitForSingleObject(mutex.get(), 0), platform::kWaitObject0);
    EXPECT_TRUE(platform::releaseMutex(mutex.get()));
}

TEST(SyncContract, AnAbandonedMutexIsTakenWithItsOwnResult) {
    ProcessLab lab;
    lab.holdMutex(kName, true);
    platform::UniqueMutex mutex;
    EXPECT_EQ(takeAtOnce(kName, mutex), platform::kWaitAbandoned);
    EXPECT_TRUE(platform::releaseMutex(mutex.get()));
}

}  // namespace
