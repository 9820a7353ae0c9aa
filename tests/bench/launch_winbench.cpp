// How soon SHELLEXECANDWAIT returns after its child has ended: 50 runs of a
// child that sleeps briefly and stamps the steady clock as its last act.
// The delay includes the child's own process exit.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fonction/launch.h"

namespace {

std::string folderOf(const char* argv0) {
    std::string s = argv0;
    const auto cut = s.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : s.substr(0, cut);
}

long long steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int, char** argv) {
    const std::string folder = folderOf(argv[0]);
    const std::string sleeper = folder + "\\sleeper.exe";
    const std::string stamp = folder + "\\launch_winbench.stamp";
    constexpr int kRuns = 50;
    std::vector<double> delaysMs;
    for (int i = 0; i < kRuns; ++i) {
        std::remove(stamp.c_str());
        // A child that lasts a varying fraction of the 10 ms slice.
        const std::string params = std::to_string(50 + (i * 7) % 23) + " 0 \"" + stamp + "\"";
        if (!fonction::SHELLEXECANDWAIT(sleeper, params, "", 0, "")) {
            std::printf("launch failed: %s\n", sleeper.c_str());
            return 1;
        }
        const long long returned = steadyNs();
        std::ifstream in(stamp);
        long long ended = 0;
        if (!(in >> ended)) {
            std::printf("no stamp from the child\n");
            return 1;
        }
        delaysMs.push_back(static_cast<double>(returned - ended) / 1e6);
    }
    std::remove(stamp.c_str());
    std::sort(delaysMs.begin(), delaysMs.end());
    const double median = (delaysMs[kRuns / 2 - 1] + delaysMs[kRuns / 2]) / 2;
    std::printf("launch_winbench: %d runs, delay from child end to return: min %.2f ms, median %.2f ms, "
                "p90 %.2f ms, worst %.2f ms (aim: median <= 15 ms)\n",
                kRuns, delaysMs.front(), median, delaysMs[kRuns * 9 / 10], delaysMs.back());
    return 0;
}
