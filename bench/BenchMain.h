#pragma once
// The main of a benchmark: the program's start-up, then the benchmarks.
#include <benchmark/benchmark.h>

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

#define MIRT_BENCHMARK_MAIN()                                              \
  int main(int argc, char** argv) {                                        \
    mirt::StartUp();                                                       \
    benchmark::Initialize(&argc, argv);                                    \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;      \
    benchmark::RunSpecifiedBenchmarks();                                   \
    benchmark::Shutdown();                                                 \
    return 0;                                                              \
  }
