// The wildcard matcher on a large text with adversarial patterns. Each case
// is fitted against text length x pattern length: the fitted curve must stay
// linear in that product (the matcher retries only its latest star).
#include <benchmark/benchmark.h>

#include <string>

#include "fonction/strings.h"

namespace {

const std::string& text(std::size_t bytes) {
    static std::string all(std::size_t{1} << 20, 'a');
    static std::string cut;
    cut.assign(all, 0, bytes);
    return cut;
}

// "*aaa...ab": every position of the text starts a near miss that fails
// only at the last pattern byte.
std::string nearMiss(std::size_t m) {
    std::string p = "*";
    p.append(m - 2, 'a');
    return p + 'b';
}

// "*a*a*...*b": many stars; each one commits, only the last is retried.
std::string manyStars(std::size_t m) {
    std::string p;
    while (p.size() + 2 < m) p += "*a";
    return p + "*b";
}

// "*?a...ab": a "?" after the star, the matcher's documented weak spot.
std::string questionAfterStar(std::size_t m) {
    std::string p = "*?";
    p.append(m - 3, 'a');
    return p + 'b';
}

template <std::string (*Make)(std::size_t)>
void run(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto m = static_cast<std::size_t>(state.range(1));
    const std::string& s = text(n);
    const std::string p = Make(m);
    for (auto _ : state) benchmark::DoNotOptimize(fonction::STRMATCHES(p, s, 1));
    state.SetComplexityN(static_cast<int64_t>(n * m));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n));
}

void args(benchmark::internal::Benchmark* b) {
    for (int64_t n : {64 << 10, 256 << 10, 1 << 20})
        for (int64_t m : {4, 16, 64}) b->Args({n, m});
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

BENCHMARK(run<nearMiss>)->Name("STRMATCHES/nearMiss")->Apply(args);
BENCHMARK(run<manyStars>)->Name("STRMATCHES/manyStars")->Apply(args);
BENCHMARK(run<questionAfterStar>)->Name("STRMATCHES/questionAfterStar")->Apply(args);

}  // namespace
