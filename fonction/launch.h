// Launch a command through the shell and wait for it to end, keeping the
// calling thread's message queue served meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
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
// the thread's messages every 10 ms meanwhile. True when the shell accepted
// the command; the child's exit code is not looked at.
[[nodiscard]] bool SHELLEXECANDWAIT(const std::string& FILENAME, const std::string& PARAMETERS,
                                    const std::string& VERB, int32_t CMDSHOW, const std::string& DIRECTORY);

}  // namespace fonction
