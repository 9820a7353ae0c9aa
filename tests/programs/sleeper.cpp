// Test child: sleeps the given number of milliseconds, then exits with the
// given code. "sleeper 1000 3" runs about a second and exits with 3. With a
// third argument it writes the steady clock, in nanoseconds, to that file as
// its last act, so a caller can time how soon it notices the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    const long ms = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    const int code = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 0;
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    if (argc > 3) {
        if (std::FILE* f = std::fopen(argv[3], "w")) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count();
            std::fprintf(f, "%lld\n", static_cast<long long>(ns));
            std::fclose(f);
        }
    }
    return code;
}
