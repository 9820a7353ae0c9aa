// Test child: sleeps the given number of milliseconds, then exits with the
// given code. "sleeper 1000 3" runs about a second and exits with 3.
#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    const long ms = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    const int code = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 0;
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return code;
}
