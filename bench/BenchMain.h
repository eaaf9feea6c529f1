#pragma once
// The main of a benchmark: the program's start-up, then the benchmarks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "Startup.h"

// Evicts the caches (a write to every line of 128 MiB): a round that starts from cold
// caches, as the first command after loading a plant does, compares plant sizes by
// their work and not by whether the small plant happened to sit in the cache.
inline void EvictCaches() {
  static std::vector<char> junk(std::size_t(128) << 20);
  for (std::size_t i = 0; i < junk.size(); i += 64) junk[i] = static_cast<char>(junk[i] + 1);
  benchmark::ClobberMemory();
}

// The best of several timed rounds of `f`, in seconds: the round the other users of
// the machine disturbed least.
template <class F>
double Best(F&& f, int rounds) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(f());
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

// The best of `rounds` single runs of `f`, each from cold caches, in seconds; `reset`
// (untimed) puts back what a run changed.
template <class F, class R>
double BestCold(F&& f, int rounds, R&& reset) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    EvictCaches();
    best = std::min(best, Best(f, 1));
    reset();
  }
  return best;
}
template <class F>
double BestCold(F&& f, int rounds) {
  return BestCold(std::forward<F>(f), rounds, [] {});
}

#define MIRT_BENCHMARK_MAIN()                                              \
  int main(int argc, char** argv) {                                        \
    mirt::StartUp();                                                       \
    benchmark::Initialize(&argc, argv);                                    \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;      \
    benchmark::RunSpecifiedBenchmarks();                                   \
    benchmark::Shutdown();                                                 \
    return 0;                                                              \
  }
