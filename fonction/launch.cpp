#include "fonction/launch.h"

#include "platform/console.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/sync.h"
#include "platform/wintypes.h"

namespace fonction {
namespace {

// SHELLEXECUTEINFOA on 64-bit Windows.
constexpr int32_t kSeiSize = 112;
static_assert(sizeof(platform::ShellExecuteInfoA) == kSeiSize, "the shell's request record is 112 bytes");

// Keep the process handle, let DDE finish, expand %VARIABLES%, never show UI.
constexpr uint32_t kSeiMask = platform::kSeeMaskNoCloseProcess | platform::kSeeMaskFlagDdeWait |
                              platform::kSeeMaskDoEnvSubst | platform::kSeeMaskFlagNoUi;
static_assert(kSeiMask == 0x740);

constexpr uint32_t kWaitSliceMs = 10;

// Ownership a wait gave us, given back when it goes.
struct MutexOwnershipTraits : platform::NullIsEmpty {
    static void close(platform::Handle mutex) noexcept { (void)platform::releaseMutex(mutex); }
};
using MutexOwnership = platform::UniqueHandle<MutexOwnershipTraits>;

}  // namespace

void PUMPMESSAGES() {
    platform::Msg MSG;
    // No window filter: every message of the thread.
    while (platform::peekMessageA(MSG, nullptr, 0, 0, platform::kPmRemove) != 0) {
        (void)platform::translateMessage(MSG);
        (void)platform::dispatchMessageA(MSG);
    }
}

TLaunchOutcome SHELLEXECANDWAITFOR(const std::string& FILENAME, const std::string& PARAMETERS,
                                   const std::string& VERB, int32_t CMDSHOW, const std::string& DIRECTORY,
                                   uint64_t LIMITMS) {
    platform::ShellExecuteInfoA SEI;
    RESETMEMORY(SEI, kSeiSize);
    SEI.cbSize = kSeiSize;
    SEI.fMask = kSeiMask;
    SEI.lpFile = FILENAME.c_str();  // always a text, empty or not
    SEI.lpParameters = PCHARORNIL(PARAMETERS);
    SEI.lpVerb = PCHARORNIL(VERB);
    SEI.nShow = CMDSHOW;
    SEI.lpDirectory = PCHARORNIL(DIRECTORY);

    TLaunchOutcome outcome;
    if (platform::shellExecuteExA(SEI) == 0) {
        outcome.error = platform::getLastError();
        return outcome;
    }
    outcome.kind = TLaunchOutcome::Kind::Ended;
    // Owned from here on, so it is closed on every way out.
    platform::UniqueProcess process(SEI.hProcess);
    SEI.hProcess = nullptr;
    // Handed to an already running program: nothing of ours to wait for.
    if (!process) return outcome;

    const uint64_t start = platform::getTickCount64();
    const auto elapsed = [start] { return platform::getTickCount64() - start; };
    const bool limited = LIMITMS != kNoTimeLimit;
    // A program that never gets idle must not hold a limited wait here.
    const uint32_t idleLimit = !limited ? platform::kInfinite
                               : LIMITMS < platform::kInfinite ? static_cast<uint32_t>(LIMITMS)
                                                               : platform::kInfinite - 1;
    (void)platform::waitForInputIdle(process.get(), idleLimit);
    uint32_t waited;
    while ((waited = platform::waitForSingleObject(process.get(), kWaitSliceMs)) == platform::kWaitTimeout) {
        if (limited && elapsed() >= LIMITMS) {
            outcome.kind = TLaunchOutcome::Kind::StillRunning;
            outcome.waitedMs = elapsed();
            return outcome;
        }
        PUMPMESSAGES();
    }
    outcome.waitedMs = elapsed();
    // After a failed wait the code would read STILL_ACTIVE, which is no outcome.
    if (waited != platform::kWaitObject0 || !platform::getExitCodeProcess(process.get(), outcome.exitCode))
        outcome.exitCode = 0;
    return outcome;
}

std::optional<uint32_t> SHELLEXECANDWAITCODE(const std::string& FILENAME, const std::string& PARAMETERS,
                                             const std::string& VERB, int32_t CMDSHOW,
                                             const std::string& DIRECTORY) {
    const TLaunchOutcome outcome = SHELLEXECANDWAITFOR(FILENAME, PARAMETERS, VERB, CMDSHOW, DIRECTORY, kNoTimeLimit);
    if (outcome.kind == TLaunchOutcome::Kind::NotStarted) return std::nullopt;
    return outcome.exitCode;
}

bool SHELLEXECANDWAIT(const std::string& FILENAME, const std::string& PARAMETERS, const std::string& VERB,
                      int32_t CMDSHOW, const std::string& DIRECTORY) {
    return SHELLEXECANDWAITCODE(FILENAME, PARAMETERS, VERB, CMDSHOW, DIRECTORY).has_value();
}

TMutexWait WAITFORFREEMUTEX(const std::u16string& NAME, uint64_t& BUDGETMS) {
    platform::UniqueMutex mutex;
    const int32_t opened = platform::openMutexW(platform::kSynchronize, false, NAME, mutex);
    if (opened == platform::kErrorFileNotFound) return TMutexWait::Free;
    if (opened != platform::kErrorSuccess) return TMutexWait::Unknown;

    const uint64_t start = platform::getTickCount64();
    uint64_t waitedMs = 0;
    TMutexWait outcome = TMutexWait::Free;
    for (;;) {
        const uint32_t attempt = platform::waitForSingleObject(mutex.get(), 0);
        if (attempt == platform::kWaitObject0 || attempt == platform::kWaitAbandoned) {
            // Ours now: given back at once, since Msiexec.exe would find it
            // taken and refuse to run.
            const MutexOwnership owned(mutex.get());
            break;
        }
        if (attempt != platform::kWaitTimeout) {
            outcome = TMutexWait::Unknown;
            break;
        }
        waitedMs = platform::getTickCount64() - start;
        if (waitedMs >= BUDGETMS) {
            outcome = TMutexWait::OutOfTime;
            break;
        }
        outcome = TMutexWait::Released;
        PUMPMESSAGES();
        platform::sleepMs(kWaitSliceMs);
    }
    waitedMs = platform::getTickCount64() - start;
    BUDGETMS -= waitedMs < BUDGETMS ? waitedMs : BUDGETMS;
    return outcome;
}

}  // namespace fonction
