// Launch a command through the shell and wait for it to end, keeping the
// calling thread's message queue served meanwhile; wait until nobody owns a
// named mutex. The run launches with SHELLEXECANDWAITFOR, which tells how the
// launch ended; it no longer calls SHELLEXECANDWAIT or SHELLEXECANDWAITCODE,
// kept for their interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

namespace fonction {

// Zeroes the first SIZE bytes of P; nothing when SIZE <= 0. Never writes past
// the object itself, whatever SIZE says.
template <typename T>
void RESETMEMORY(T& P, int32_t SIZE) noexcept {
    static_assert(std::is_trivially_copyable_v<T>, "only plain records are zeroed bytewise");
    if (SIZE <= 0) return;
    const std::size_t n = static_cast<std::size_t>(SIZE) < sizeof(T) ? static_cast<std::size_t>(SIZE) : sizeof(T);
    std::memset(static_cast<void*>(&P), 0, n);
}

// The string's own text, or a null pointer for an empty string: what an
// optional text argument of the platform expects. Valid while S lives
// unchanged.
[[nodiscard]] inline const char* PCHARORNIL(const std::string& S) noexcept {
    return S.empty() ? nullptr : S.c_str();
}

// Runs FILENAME through the shell (environment variables expanded, no error
// dialog) and returns only once the started process has ended, dispatching
// the thread's messages every 10 ms meanwhile. Empty when the shell refused
// the command; otherwise the child's exit code, or 0 when none can be had
// (the shell handed the command to a program already running, or the wait
// failed).
[[nodiscard]] std::optional<uint32_t> SHELLEXECANDWAITCODE(const std::string& FILENAME,
                                                           const std::string& PARAMETERS, const std::string& VERB,
                                                           int32_t CMDSHOW, const std::string& DIRECTORY);
// How a launch with a time limit ended.
struct TLaunchOutcome {
    enum class Kind {
        NotStarted,  // the shell refused the command
        Ended,       // the started process ended (or there was nothing of ours to wait for)
        StillRunning,  // the time allowed ran out first: it is left running
    };
    Kind kind = Kind::NotStarted;
    uint32_t exitCode = 0;  // Ended: the child's code, 0 when none can be had
    uint64_t waitedMs = 0;  // what the wait took, the input-idle wait included
    int32_t error = 0;      // NotStarted: the shell's error code
};
inline constexpr uint64_t kNoTimeLimit = UINT64_MAX;
// SHELLEXECANDWAITCODE that stops waiting after LIMITMS (the input-idle wait
// included), messages served meanwhile as ever.
[[nodiscard]] TLaunchOutcome SHELLEXECANDWAITFOR(const std::string& FILENAME, const std::string& PARAMETERS,
                                                 const std::string& VERB, int32_t CMDSHOW,
                                                 const std::string& DIRECTORY, uint64_t LIMITMS);
// The same, telling only whether the shell accepted the command; the child's
// exit code is not looked at.
[[nodiscard]] bool SHELLEXECANDWAIT(const std::string& FILENAME, const std::string& PARAMETERS,
                                    const std::string& VERB, int32_t CMDSHOW, const std::string& DIRECTORY);

// Takes every pending message off the calling thread's queue and dispatches
// it: what a wait does between its slices.
void PUMPMESSAGES();

// How a wait for a named mutex ended.
enum class TMutexWait {
    Free,       // nobody owned it, or there is no such mutex
    Released,   // its owner released it (or ended) while we waited
    OutOfTime,  // still owned when the time allowed ran out
    Unknown,    // it could not be opened (access denied...) or waited on: not waited for
};

// Waits until nobody owns the mutex NAME: takes it with a zero time limit and
// releases it at once, so it is never held beyond the call; between attempts
// the thread's messages are served and the thread sleeps 10 ms. BUDGETMS is
// what the caller still allows and is reduced by the time this call waited.
[[nodiscard]] TMutexWait WAITFORFREEMUTEX(const std::u16string& NAME, uint64_t& BUDGETMS);

}  // namespace fonction
