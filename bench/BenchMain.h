#pragma once
// The main of a benchmark: the program's start-up, then the benchmarks.
#include <benchmark/benchmark.h>

#include "Startup.h"

#define MIRT_BENCHMARK_MAIN()                                              \
  int main(int argc, char** argv) {                                        \
    mirt::StartUp();                                                       \
    benchmark::Initialize(&argc, argv);                                    \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;      \
    benchmark::RunSpecifiedBenchmarks();                                   \
    benchmark::Shutdown();                                                 \
    return 0;                                                              \
  }
